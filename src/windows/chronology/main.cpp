#include "chronology/main.h"

#include "chronology/pictures.h"
#include "chronology/spacerunbreaks.h"
#include "platform/accessibility.h"
#include "platform/conversions.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/picturecache.h"

#include <array>

namespace vorn {

using chronology::Output;
using chronology::RowLabel;
using chronology::Year;

namespace {

constexpr float kShortHeight = 2150;
constexpr float kTallHeight = 7600;
constexpr float kClientWidth = 7680;
constexpr float kClientHeight = 7215;
constexpr float kRowsTop = 2040; // the patriarch row, the first of the answers
constexpr Year kEarliestYear = -4004;
constexpr Year kLatestYear = 90;

const QString kSansSerif = QStringLiteral("MS Sans Serif");
const QString kSerif = QStringLiteral("MS Serif");
const QString kComic = QStringLiteral("Comic Sans MS");

constexpr double kRowLabelPoints = 15.75;
constexpr double kRestoredRowLabelPoints = 16;
constexpr double kBoxPoints = 12;

constexpr ColourValue kPaper = rgb(236, 219, 178);
constexpr ColourValue kInk = rgb(72, 40, 16);
constexpr ColourValue kTitleInk = rgb(112, 28, 12);
constexpr ColourValue kBoxPaper = rgb(255, 251, 238);

// Text1_Change empties the boxes in this order.
constexpr std::array kClearingOrder{
    Output::PatriarchName,   // Text2
    Output::IsraelName,      // Text3
    Output::JudahName,       // Text4
    Output::Commentary,      // Text5
    Output::JudgePeriod,     // Text6
    Output::JudahPeriod,     // Text7
    Output::IsraelPeriod,    // Text8
    Output::JudgeName,       // Text9
    Output::PatriarchPeriod, // Text10
};

} // namespace

// One of the one-line answer boxes: the box, the output it shows and its control.
struct Main::OutputBox {
    ControlDecl decl;
    Output output;
    TextBox* Main::*control;
    bool centred; // the period boxes centre their text
};

const Main::OutputBox Main::kOutputBoxes[] = {
    {{"Text2", nullptr, {2400, 2040, 2655, 375}}, Output::PatriarchName, &Main::Text2, false},
    {{"Text10", nullptr, {5400, 2040, 2175, 375}, "Période du patriarche"},
     Output::PatriarchPeriod,
     &Main::Text10,
     true},
    {{"Text9", nullptr, {2400, 2760, 2655, 375}}, Output::JudgeName, &Main::Text9, false},
    {{"Text6", nullptr, {5400, 2760, 2175, 375}, "Période du juge"},
     Output::JudgePeriod,
     &Main::Text6,
     true},
    {{"Text3", nullptr, {2400, 3480, 2655, 375}}, Output::IsraelName, &Main::Text3, false},
    {{"Text8", nullptr, {5400, 3480, 2175, 375}, "Période du roi d'Israël"},
     Output::IsraelPeriod,
     &Main::Text8,
     true},
    {{"Text4", nullptr, {2400, 4200, 2655, 375}}, Output::JudahName, &Main::Text4, false},
    {{"Text7", nullptr, {5400, 4200, 2175, 375}, "Période du roi de Juda"},
     Output::JudahPeriod,
     &Main::Text7,
     true},
};

// One row label and its control. Text1_Change puts the captions of the restored ones back,
// in this order, at 16 points.
struct Main::RowLabelDecl {
    ControlDecl decl;
    Label* Main::*control;
    bool restored;
};

const Main::RowLabelDecl Main::kRowLabels[] = {
    {{"Label7", "           Juge", {120, 2760, 2175, 495}}, &Main::Label7, true},
    {{"Label3", "Roi d'Israël", {120, 3480, 2175, 375}}, &Main::Label3, true},
    {{"Label4", "Roi de Juda", {120, 4200, 2175, 375}}, &Main::Label4, true},
    {{"Label5", "  Patriarche", {120, 2040, 2175, 375}}, &Main::Label5, true},
    {{"Label6", "Commentaire", {360, 4920, 1935, 375}}, &Main::Label6, false},
};

Main::Main()
    : Form(QStringLiteral("Main"), QStringLiteral("Autrefois..."),
           QSizeF(kClientWidth, kClientHeight)) {
    setBackColor(kPaper);
    // The parchment at its own size in the window's top-left corner, the rest in its colour.
    setBackgroundPicture(pictures::parchment, BackgroundMode::TopLeft, pictures::kParchmentSize);

    Label1 = new Label(client(),
                       {"Label1", "Depuis Abraham jusqu'à Jésus Christ.", {1200, 120, 5415, 495}});
    Label1->setFontFace(kSansSerif, 13.5, true);
    Label1->setForeColor(kTitleInk);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Label2 = new Label(client(), {"Label2", "Entrer une date (ex: -1225)", {360, 960, 2775, 375}});
    Label2->setFontFace(kSansSerif, 9.75, true);

    // The entry box, like the answer boxes below, is made in its final font: every control
    // of the client area names its own, so the area's font shows nowhere else.
    client()->setFont(makeFont(kSansSerif, 9.75, true));
    Text1 = new TextBox(client(), {"Text1", nullptr, {3480, 870, 1095, 375}});
    Text1->setFontFace(kSansSerif, 9.75, true);

    Command1 = new CommandButton(client(), {"Command1", "OK", {5520, 870, 735, 375}});
    Command2 = new CommandButton(client(), {"Command2", "Annuler", {6360, 870, 975, 375}});
    for (CommandButton* button : {Command1, Command2})
        button->setFontFace(kSansSerif, 8.25, true);
    setDefaultButton(Command1);

    // The answer rows, from the patriarch row down, stay hidden until the first accepted year
    // makes the window tall, whatever the height of the window's frame. Their container keeps
    // the client's coordinates for them but exists only below the entry row, so that it never
    // lies over the entry row's controls.
    m_rows = new QWidget(client());
    m_rows->setGeometry(TwipsRect{0, 0, kClientWidth, kClientHeight}.toPixels());
    m_rows->setMask(TwipsRect{0, kRowsTop, kClientWidth, kClientHeight - kRowsTop}.toPixels());
    m_rows->hide();
    // The answer boxes lay out their text as they are made: made in their final font, they
    // load no font for a face they never show. The signature keeps the dialog font.
    m_rows->setFont(makeFont(kSerif, kBoxPoints));

    for (const RowLabelDecl& row : kRowLabels) {
        Label* label = new Label(m_rows, row.decl);
        label->setFontFace(kComic, kRowLabelPoints);
        label->setWordWrap(false);
        this->*row.control = label;
    }

    for (const OutputBox& row : kOutputBoxes) {
        TextBox* box = new TextBox(m_rows, row.decl);
        box->setFontFace(kSerif, kBoxPoints);
        box->setReadOnly(true);
        box->setBackColor(kBoxPaper);
        if (row.centred)
            box->setAlignment(Qt::AlignCenter);
        this->*row.control = box;
    }

    Text5 = new SpaceRunBox(m_rows, {"Text5", nullptr, {2400, 4920, 5175, 2175}});
    Text5->setFontFace(kSerif, kBoxPoints);
    Text5->setBackColor(kBoxPaper);

    Image1 =
        new Image(m_rows, {"Image1", nullptr, {120, 5490, 2175, 1150}, "Caravane dans le désert"},
                  pictures::desertScene);

    Label8 = new Label(m_rows, {"Label8", "Projet VornUtil", {120, 6840, 1335, 255}});
    Label8->setFont(dialogFont());
    Label8->setWordWrap(false);

    for (Label* label : {Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8}) {
        label->setTransparent(true);
        if (label != Label1)
            label->setForeColor(kInk);
    }

    // The prompt and each row label name the box beside them; a row label's new caption
    // renames its box. The period boxes have names of their own.
    Label2->setBuddy(Text1);
    for (auto [label, box] : std::initializer_list<std::pair<Label*, QWidget*>>{
             {Label5, Text2}, {Label7, Text9}, {Label3, Text3}, {Label4, Text4}, {Label6, Text5}})
        label->setBuddy(box);

    // Tab order: the entry row first, then the answers row by row.
    orderTabs({Text1, Command1, Command2, Text2, Text10, Text9, Text6, Text3, Text8, Text4, Text7,
               Text5});
    Text1->setFocus();

    connect(Text1, &TextBox::Change, this, handler(&Main::Text1_Change));
    connect(Command1, &CommandButton::Click, this, handler(&Main::Command1_Click));
    connect(Command2, &CommandButton::Click, this, handler(&Main::Command2_Click));
}

void Main::preparePictures(qreal ratio) {
    PictureCache::instance().prepare(
        wholePictureKey(pictures::parchment, pictures::kParchmentSize, ratio));
}

void Main::Form_Load() {
    setHeight(kShortHeight);
}

void Main::Text1_Change() {
    for (Output output : kClearingOrder)
        setOutput(output, QString());
    for (const RowLabelDecl& row : kRowLabels) {
        if (!row.restored)
            continue;
        Label* label = this->*row.control;
        label->setText(declText(row.decl.caption));
        label->setFontSize(kRestoredRowLabelPoints);
    }
}

void Main::Command1_Click() {
    const QString text = Text1->text();
    if (text.isEmpty()) {
        remindRange();
        return;
    }
    const Year year = toInteger(text);
    if (year < kEarliestYear || year > kLatestYear) {
        remindRange();
        return;
    }
    setHeight(kTallHeight);
    m_rows->show();
    israel(year);
    juda(year);
    patriarches(year);
    juges(year);
    commentaires(year);
    announce(this, answerSentence());
}

// The answers in a few words, for a screen reader: each row that names someone in office, with
// the period; where none does, what each row says. The same clause is said once.
QString Main::answerSentence() const {
    struct Row {
        const Label* label;
        const TextBox* name;
        const TextBox* period;
    };
    const Row rows[] = {{Label5, Text2, Text10},
                        {Label7, Text9, Text6},
                        {Label3, Text3, Text8},
                        {Label4, Text4, Text7}};
    QStringList inOffice;
    QStringList named;
    for (const Row& row : rows) {
        const QString name = row.name->text().trimmed();
        if (name.isEmpty())
            continue;
        const QString clause = QStringLiteral("%1 : %2").arg(row.label->text().trimmed(), name);
        if (!row.period->text().isEmpty())
            inOffice.append(QStringLiteral("%1, %2").arg(clause, row.period->text()));
        named.append(clause);
    }
    QStringList clauses = inOffice.isEmpty() ? named : inOffice;
    clauses.removeDuplicates();
    return clauses.join(QStringLiteral(" ; ")) + QLatin1Char('.');
}

void Main::Command2_Click() {
    Forms::instance().unload(this);
}

void Main::israel(Year year) {
    apply(chronology::israel(year));
}

void Main::juda(Year year) {
    apply(chronology::juda(year));
}

void Main::patriarches(Year year) {
    apply(chronology::patriarches(year));
}

void Main::juges(Year year) {
    apply(chronology::juges(year));
}

void Main::commentaires(Year year) {
    apply(chronology::commentaires(year));
}

void Main::apply(const chronology::Writes& writes) {
    for (std::size_t i = 0; i < chronology::kOutputCount; ++i) {
        if (const auto& text = writes.texts[i])
            setOutput(static_cast<Output>(i), *text);
    }
    Label* const rowLabels[chronology::kRowLabelCount] = {Label3, Label4};
    static_assert(static_cast<int>(RowLabel::Israel) == 0 &&
                  static_cast<int>(RowLabel::Judah) == 1);
    for (std::size_t i = 0; i < chronology::kRowLabelCount; ++i) {
        if (const auto& change = writes.labels[i]) {
            rowLabels[i]->setText(change->caption);
            rowLabels[i]->setFontSize(change->points);
        }
    }
}

void Main::setOutput(Output output, const QString& text) {
    if (output == Output::Commentary) {
        Text5->setText(text);
        return;
    }
    for (const OutputBox& row : kOutputBoxes) {
        if (row.output == output) {
            (this->*row.control)->setText(text);
            return;
        }
    }
}

void Main::remindRange() {
    msgBox(this, QStringLiteral("La Bible prend en compte les dates allant de -4004 à 90 !"),
           {Buttons::Ok, MessageIcon::Warning}, QStringLiteral("Rappel"));
}

} // namespace vorn
