#pragma once

#include "platform/controls.h"

#include <QSyntaxHighlighter>

class QMimeData;
class QTextDocument;

namespace vorn {

// Ends the displayed line after every run of two or more spaces in a document, so that a text
// laid out with runs of spaces shows each piece on a line of its own whatever the font. Only
// the layout changes: the document's text keeps every space. The last space of each run is
// laid out wider than any line, which leaves the next piece no room on the same line; a
// trailing space is not drawn, so nothing of it shows.
class SpaceRunBreaks : public QSyntaxHighlighter {
    Q_OBJECT

public:
    explicit SpaceRunBreaks(QTextDocument* document);

    // The part [from, to) of a document's plain `text` as the lines it shows: a line break where
    // a run of spaces ends a line and the part reaches the next line's start, no space at the
    // start or the end of a line.
    static QString shownText(const QString& text, qsizetype from, qsizetype to);

protected:
    void highlightBlock(const QString& text) override;
};

// A read-only multi-line box laid out by SpaceRunBreaks. What leaves it, copied, dragged or
// selected for a middle click, reads as the lines it shows rather than as runs of spaces.
class SpaceRunBox : public TextArea {
    Q_OBJECT

public:
    SpaceRunBox(QWidget* parent, const ControlDecl& decl);

protected:
    QMimeData* createMimeDataFromSelection() const override;
};

} // namespace vorn
