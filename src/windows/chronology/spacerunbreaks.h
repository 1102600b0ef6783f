#pragma once

#include <QSyntaxHighlighter>

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

protected:
    void highlightBlock(const QString& text) override;
};

} // namespace vorn
