#pragma once

#include "chronology/tables.h"
#include "platform/controls.h"
#include "platform/form.h"

namespace vorn {

// The chronology query window: the user types a year from -4004 to 90 and presses "OK"; the
// rows then show the patriarch, the judge, the rulers of Israel and of Judah and a commentary.
// The window opens short, showing the entry row only, and grows on the first accepted year.
class Main : public Form {
    Q_OBJECT

public:
    Main();

    // Readies the window's background in the picture cache ahead of its first opening, at
    // `ratio` device pixels to each of its own: built in at scale 1, drawn now at any other.
    static void preparePictures(qreal ratio);

    void Text1_Change();
    void Command1_Click();
    void Command2_Click();

    // The lookups, each applied to this window's boxes and row labels.
    void israel(chronology::Year year);
    void juda(chronology::Year year);
    void patriarches(chronology::Year year);
    void juges(chronology::Year year);
    void commentaires(chronology::Year year);

protected:
    void Form_Load() override;

private:
    struct OutputBox;
    struct RowLabelDecl;
    static const OutputBox kOutputBoxes[];
    static const RowLabelDecl kRowLabels[];

    void apply(const chronology::Writes& writes);
    void setOutput(chronology::Output output, const QString& text);
    void remindRange();
    QString answerSentence() const;

    QWidget* m_rows; // everything from the patriarch row down
    Label* Label1;
    Label* Label2;
    TextBox* Text1;
    CommandButton* Command1;
    CommandButton* Command2;
    Label* Label5;
    TextBox* Text2;
    TextBox* Text10;
    Label* Label7;
    TextBox* Text9;
    TextBox* Text6;
    Label* Label3;
    TextBox* Text3;
    TextBox* Text8;
    Label* Label4;
    TextBox* Text4;
    TextBox* Text7;
    Label* Label6;
    TextArea* Text5;
    Label* Label8;
    Image* Image1;
};

} // namespace vorn
