#include "colour/color.h"

#include "colour/colourmath.h"
#include "colour/pictures.h"
#include "platform/conversions.h"

#include <QEventLoop>
#include <QTimer>

namespace vorn {

namespace {

// A label naming what sits below or beside it; it turns white while the icon moves.
struct CaptionLabel {
    const char* name;
    const char* caption;
    TwipsRect geometry;
};

constexpr std::array kCaptions{
    CaptionLabel{"Label3", "Rouge", {360, 120, 735, 255}},
    CaptionLabel{"Label4", "Vert", {1168, 120, 495, 255}},
    CaptionLabel{"Label5", "Bleu", {1920, 120, 375, 255}},
    CaptionLabel{"Label2", "Valeur Hexadécimale", {575, 2475, 1695, 255}},
};

// One component box and the one way its handler differs from the others.
struct ComponentBox {
    const char* name;
    const char* accessibleName;
    TwipsRect geometry;
    // The red box pushes the history before its range test, so also for a value it refuses.
    bool historyBeforeRangeTest;
};

constexpr std::array kBoxes{
    ComponentBox{"Text2", "Rouge", {360, 360, 495, 345}, true},  // Red
    ComponentBox{"Text1", "Vert", {1080, 360, 495, 345}, false}, // Green
    ComponentBox{"Text3", "Bleu", {1800, 360, 495, 345}, false}, // Blue
};
// The focus visits green, red, blue; textInit resets the boxes in that order too.
constexpr std::array kFocusOrder{Color::Green, Color::Red, Color::Blue};
// The order in which the three texts are converted, which decides which error is reported
// when more than one box holds something that is not a number.
constexpr std::array kConversionOrder{Color::Blue, Color::Green, Color::Red};

// One history swatch: a bordered label showing a former colour.
struct SwatchLabel {
    const char* name;
    const char* accessibleName;
    ColourValue initial;
    TwipsRect geometry;
};

constexpr std::array kSwatches{
    SwatchLabel{"Label6", "Couleur récente", kWhite, {3240, 240, 735, 615}},
    SwatchLabel{"Label7", "Couleur précédente", kTitleBarText, {3240, 1320, 735, 615}},
    SwatchLabel{"Label8", "Couleur la plus ancienne", kTitleBarText, {3240, 2400, 735, 615}},
};

const QString kInitialComponent = QStringLiteral("255");

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
    for (std::size_t i = 0; i < kCaptions.size(); ++i) {
        const CaptionLabel& entry = kCaptions[i];
        m_captions[i] = new Label(client(), QString::fromLatin1(entry.name),
                                  QString::fromUtf8(entry.caption), entry.geometry);
        m_captions[i]->setTransparent(true);
    }

    for (Component component : kFocusOrder) {
        const ComponentBox& entry = kBoxes[component];
        auto* box = new TextBox(client(), QString::fromLatin1(entry.name), kInitialComponent,
                                entry.geometry);
        box->setAlignment(Qt::AlignCenter);
        box->setFontFace(QStringLiteral("MS Sans Serif"), 9.75, true);
        box->setAccessibleName(QString::fromUtf8(entry.accessibleName));
        connect(box, &TextBox::LostFocus, this,
                handler([this, component] { Text_LostFocus(component); }));
        m_components[component] = box;
    }

    Label1 = new Label(client(), QStringLiteral("Label1"), QString(), {360, 960, 1935, 1335});
    Label1->setAccessibleName(QStringLiteral("Aperçu"));
    Label1->setBackColor(kWhite);

    Text4 = new TextBox(client(), QStringLiteral("Text4"), QString(), {600, 2760, 1455, 375});
    Text4->setReadOnly(true);
    Text4->setAccessibleName(QStringLiteral("Valeur Hexadécimale"));
    Text4->setFontFace(QStringLiteral("MS Sans Serif"), 12, true);

    for (std::size_t i = 0; i < kSwatches.size(); ++i) {
        const SwatchLabel& entry = kSwatches[i];
        Label* swatch =
            new Label(client(), QString::fromLatin1(entry.name), QString(), entry.geometry);
        swatch->setClickable(QString::fromUtf8(entry.accessibleName));
        swatch->setBorder(true);
        swatch->setBackColor(entry.initial);
        swatch->setCursor(Qt::PointingHandCursor);
        const auto which = static_cast<Swatch>(i);
        connect(swatch, &Label::Click, this, handler([this, which] { Label_Click(which); }));
        m_swatches[i] = swatch;
    }

    Image1 =
        new Image(client(), QStringLiteral("Image1"), pictures::paletteIcon, {2520, 120, 585, 480});
    Image1->setClickable(QStringLiteral("Animation"));
    connect(Image1, &Image::Click, this, handler(&Color::Image1_Click));

    // The boxes were made in focus order and Text4 after them; the swatches and the icon,
    // which act as buttons, follow. The first box has the focus when the window opens.
    m_components[kFocusOrder.front()]->setFocus();
}

void Color::Form_Load() {
    Text_LostFocus(Green);
}

void Color::Text_LostFocus(Component component) {
    const bool historyFirst = kBoxes[component].historyBeforeRangeTest;
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
    for (Component component : kFocusOrder)
        m_components[component]->setText(kInitialComponent);
}

// A system colour is shown as the colour it currently stands for, so its notation is that
// colour's.
void Color::showHexa(ColourValue colour) {
    Hexa = webHexDigits(resolved(colour));
    Text4->setText(QLatin1Char('#') + Hexa);
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
