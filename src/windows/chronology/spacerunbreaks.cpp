#include "chronology/spacerunbreaks.h"

#include <QMimeData>
#include <QRegularExpression>
#include <QTextCharFormat>

#include <algorithm>

namespace vorn {

namespace {

// Wider than any line of any box on any screen.
constexpr qreal kBreakingWidth = 1 << 16;

// Two spaces or more in a row.
const QRegularExpression& spaceRun() {
    static const QRegularExpression run(QStringLiteral(" {2,}"));
    return run;
}

} // namespace

SpaceRunBreaks::SpaceRunBreaks(QTextDocument* document)
    : QSyntaxHighlighter(document) {}

void SpaceRunBreaks::highlightBlock(const QString& text) {
    QTextCharFormat breaking;
    breaking.setFontWordSpacing(kBreakingWidth);
    for (auto it = spaceRun().globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedEnd() < text.size())
            setFormat(static_cast<int>(match.capturedEnd() - 1), 1, breaking);
    }
}

QString SpaceRunBreaks::shownText(const QString& text, qsizetype from, qsizetype to) {
    QString shown;
    qsizetype at = from; // where the text not yet taken starts
    for (auto it = spaceRun().globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const qsizetype start = match.capturedStart();
        const qsizetype end = match.capturedEnd();
        if (end <= from)
            continue;
        if (start >= to)
            break;
        if (start > at)
            shown += text.sliced(at, start - at);
        // The run ends a line only where its paragraph goes on after it; a part that reaches the
        // next line's start takes that line's break, as it would a real one.
        if (end <= to && end < text.size() && text.at(end) != QLatin1Char('\n'))
            shown += QLatin1Char('\n');
        at = std::min(end, to);
    }
    if (to > at)
        shown += text.sliced(at, to - at);
    return shown;
}

SpaceRunBox::SpaceRunBox(QWidget* parent, const ControlDecl& decl)
    : TextArea(parent, decl) {
    setReadOnly(true);
    // Read-only, it still has a caret that the arrow keys move from line to line, as the
    // one-line boxes do: a screen reader reads the line where the caret stands.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    new SpaceRunBreaks(document());
}

QMimeData* SpaceRunBox::createMimeDataFromSelection() const {
    const QTextCursor selection = textCursor();
    auto* data = new QMimeData;
    data->setText(SpaceRunBreaks::shownText(toPlainText(), selection.selectionStart(),
                                            selection.selectionEnd()));
    return data;
}

} // namespace vorn
