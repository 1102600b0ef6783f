#include "chronology/spacerunbreaks.h"

#include <QRegularExpression>
#include <QTextCharFormat>

namespace vorn {

namespace {

// Wider than any line of any box on any screen.
constexpr qreal kBreakingWidth = 1 << 16;

} // namespace

SpaceRunBreaks::SpaceRunBreaks(QTextDocument* document)
    : QSyntaxHighlighter(document) {}

void SpaceRunBreaks::highlightBlock(const QString& text) {
    static const QRegularExpression run(QStringLiteral(" {2,}"));
    QTextCharFormat breaking;
    breaking.setFontWordSpacing(kBreakingWidth);
    for (auto it = run.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedEnd() < text.size())
            setFormat(static_cast<int>(match.capturedEnd() - 1), 1, breaking);
    }
}

} // namespace vorn
