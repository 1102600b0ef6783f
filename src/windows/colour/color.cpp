#include "colour/color.h"

#include "colour/colourmath.h"
#include "colour/pictures.h"
#include "platform/accessibility.h"
#include "platform/conversions.h"

#include <QEventLoop>
#include <QTimer>

namespace vorn {

namespace {

// The labels naming the box below each, for the eye and for assistive tools; they turn white
// while the icon moves.
constexpr std::array<ControlDecl, 4> kCaptions{{
    {"Label3", "Rouge", {360, 120, 735, 255}},
    {"Label4", "Vert", {1168, 120, 495, 255}},
    {"Label5", "Bleu", {1920, 120, 375, 255}},
    {"Label2", "Valeur Hexadécimale", {575, 2475, 1695, 255}},
}};

constexpr const char* kInitialComponent = "255";

// The component boxes in focus order, which is also the order textInit resets them in, each
// with the component it holds.
constexpr std::array<ControlRow<Color::Component>, 3> kBoxes{{
    {{"Text1", kInitialComponent, {1080, 360, 495, 345}}, Color::Green},
    {{"Text2", kInitialComponent, {360, 360, 495, 345}}, Color::Red},
    {{"Text3", kInitialComponent, {1800, 360, 495, 345}}, Color::Blue},
}};
// The red box pushes the history before its range test, so also for a value it refuses; the
// others push it after.
constexpr Color::Component kHistoryFirst = Color::Red;
// The order in which the three texts are converted, which decides which error is reported
// when more than one box holds something that is not a number.
constexpr std::array kConversionOrder{Color::Blue, Color::Green, Color::Red};

// The history swatches, by Swatch: bordered labels showing former colours, each with the
// colour it starts with.
constexpr std::array<ControlRow<ColourValue>, 3> kSwatches{{
    {{"Label6", nullptr, {3240, 240, 735, 615}, "Couleur récente"}, kWhite},
    {{"Label7", nullptr, {3240, 1320, 735, 615}, "Couleur précédente"}, kTitleBarText},
    {{"Label8", nullptr, {3240, 2400, 735, 615}, "Couleur la plus ancienne"}, kTitleBarText},
}};

// The icon's course, in twips: it goes down until this far above the window's bottom edge,
// then back up until it is no lower than the top limit, one step at a time.
constexpr float kBottomMargin = 1000.0f;
constexpr float kStep = 20.0f;
constexpr float kTopLimit = 150.0f;
// The pause before each step, so the animation takes the same time on every machine.
constexpr int kStepIntervalMs = 10;

} // namespace

Color::Color()
    : Form(QStringLiteral("Color"), QStringLiteral("VaviziDaz"), QSizeF(4110, 3195),
           Border::SizableNoMaximize) {
    // The captions use the classic dialog face; the boxes set their own.
    setFont(makeFont(QStringLiteral("MS Sans Serif"), 8));
    m_captions = makeControls<Label>(client(), kCaptions, [](Label* caption, const ControlDecl&) {
        caption->setTransparent(true);
    });

    makeControls<TextBox>(client(), kBoxes, [this](TextBox* box, const auto& row) {
        box->setAlignment(Qt::AlignCenter);
        box->setFontFace(QStringLiteral("MS Sans Serif"), 9.75, true);
        const Component component = row.extra;
        connect(box, &TextBox::LostFocus, this,
                handler([this, component] { Text_LostFocus(component); }));
        m_components[component] = box;
    });

    Label1 = new Label(client(), {"Label1", nullptr, {360, 960, 1935, 1335}, "Aperçu"});
    Label1->setBackColor(kWhite);

    Text4 = new TextBox(client(), {"Text4", nullptr, {600, 2760, 1455, 375}});
    Text4->setReadOnly(true);
    Text4->setFontFace(QStringLiteral("MS Sans Serif"), 12, true);

    // The captions in the order of kCaptions, each with the box it names.
    const std::array<QWidget*, kCaptions.size()> named{m_components[Red], m_components[Green],
                                                       m_components[Blue], Text4};
    for (std::size_t i = 0; i < named.size(); ++i)
        m_captions[i]->setBuddy(named[i]);

    m_swatches = makeControls<Label>(client(), kSwatches, [](Label* swatch, const auto& row) {
        swatch->setClickable(declText(row.decl.description));
        swatch->setBorder(true);
        swatch->setBackColor(row.extra);
    });
    for (Swatch which : {Newest, Middle, Oldest})
        connect(m_swatches[which], &Label::Click, this,
                handler([this, which] { Label_Click(which); }));

    Image1 = new Image(client(), {"Image1", nullptr, {2520, 120, 585, 480}}, pictures::paletteIcon);
    Image1->setClickable(QStringLiteral("Animation"));
    connect(Image1, &Image::Click, this, handler(&Color::Image1_Click));

    // The boxes were made in focus order and Text4 after them; the swatches and the icon,
    // which act as buttons, follow. The first box has the focus when the window opens.
    m_components[kBoxes.front().extra]->setFocus();
}

void Color::Form_Load() {
    Text_LostFocus(Green);
}

void Color::Text_LostFocus(Component component) {
    const bool historyFirst = component == kHistoryFirst;
    const QString text = m_components[component]->text();
    if (text.isEmpty())
        return;
    if (historyFirst)
        labelInit();
    if (!inComponentRange(toDouble(text)))
        return;
    if (!historyFirst)
        labelInit();
    std::array<int, 3> values{};
    for (Component c : kConversionOrder)
        values[c] = toInteger(m_components[c]->text());
    Label1->setBackColor(componentColour(values[Red], values[Green], values[Blue]));
    showHexa(Label1->BackColor());
}

void Color::Label_Click(Swatch swatch) {
    coul = m_swatches[swatch]->BackColor();
    labelInit();
    textInit();
    Label1->setBackColor(coul);
    showHexa(coul);
}

void Color::labelInit() {
    for (std::size_t i = m_swatches.size() - 1; i > 0; --i)
        m_swatches[i]->setBackColor(m_swatches[i - 1]->BackColor());
    m_swatches[Newest]->setBackColor(Label1->BackColor());
}

void Color::textInit() {
    for (const auto& row : kBoxes)
        m_components[row.extra]->setText(QString::fromLatin1(kInitialComponent));
}

// A system colour is shown as the colour it currently stands for, so its notation is that
// colour's.
void Color::showHexa(ColourValue colour) {
    Hexa = webHexDigits(resolved(colour));
    const QString notation = QLatin1Char('#') + Hexa;
    if (notation == Text4->text())
        return;
    Text4->setText(notation);
    announce(this, notation);
}

void Color::setCaptionColour(ColourValue colour) {
    for (Label* caption : m_captions)
        caption->setForeColor(colour);
}

void Color::Image1_Click() {
    setCaptionColour(kWhite);
    const ColourValue former = BackColor();
    setBackColor(kBlack);
    while (Image1->Top() < Height() - kBottomMargin) {
        if (!animationStep(kStep))
            return;
    }
    while (Image1->Top() > kTopLimit) {
        if (!animationStep(-kStep))
            return;
    }
    setBackColor(former);
    setCaptionColour(kBlack);
}

// One step of the animation: hands control to the event loop until the step is due (any
// handler may run meanwhile, this one included), then moves the icon. Returns false, and
// leaves everything as it is, when the window was unloaded or the program is ending.
bool Color::animationStep(float delta) {
    QEventLoop pause;
    QTimer::singleShot(kStepIntervalMs, &pause, &QEventLoop::quit);
    if (pause.exec() != 0 || isUnloaded())
        return false;
    Image1->setTop(Image1->Top() + delta);
    return true;
}

} // namespace vorn
