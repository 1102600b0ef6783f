#include "clock/horloge.h"

#include "clock/hands.h"
#include "clock/pictures.h"
#include "platform/accessibility.h"
#include "platform/conversions.h"
#include "platform/forms.h"
#include "platform/services.h"

#include <QTimer>

#include <array>
#include <cstdint>

namespace vorn {

namespace {

constexpr int kLineWidth = 3; // pixels, for ticks and hands alike

// Milliseconds after a whole second at which the refresh runs, so that the second it reads
// is the new one even if the timer fires a little early.
constexpr int kAfterSecondMs = 5;

// The lines of the dial, each with its colour: the ticks just outside the rim at 12, 3, 6 and
// 9 o'clock, then the minute and hour hands, their ends as laid out.
constexpr std::array<ControlRow<ColourValue, LineDecl>, 6> kLines{{
    {{"Line5", nullptr, {2040, 1200, 2040, 1080}}, kTitleBarText},
    {{"Line3", nullptr, {2760, 1920, 2880, 1920}}, kTitleBarText},
    {{"Line6", nullptr, {2040, 2760, 2040, 2640}}, kTitleBarText},
    {{"Line4", nullptr, {1200, 1920, 1320, 1920}}, kTitleBarText},
    {{"Line1", nullptr, {2040, 1920, 2040, 1320}}, rgb(255, 0, 0)},
    {{"Line2", nullptr, {2040, 1920, 2520, 1920}}, rgb(0, 255, 0)},
}};

// The time as the clock's label shows it, after a space.
QString timeLabel(const QDateTime& time) {
    return QLatin1Char(' ') + timeText(time.time());
}

} // namespace

Horloge::Horloge()
    : Form(QStringLiteral("Horloge"), QStringLiteral("Horloge"), QSizeF(4185, 3210))
    , m_refresh(new QTimer(this)) {
    setBackgroundPicture(pictures::landscape, BackgroundMode::TopLeft, QSizeF(320, 240));

    // The dial and its lines show what the time label says; assistive tools read the label.
    setDecorative(
        new Shape(client(), {"Shape1", nullptr, {1320, 1080, 1455, 1695}}, Shape::Kind::Circle));

    const auto lines = makeControls<Line>(client(), kLines, [](Line* line, const auto& row) {
        line->setBorderColor(row.extra);
        line->setBorderWidth(kLineWidth);
        setDecorative(line);
    });
    Line1 = lines[4];
    Line2 = lines[5];

    Label3 = new Label(client(), {"Label3", nullptr, {2760, 120, 1215, 465}});
    Label3->setForeColor(rgb(0, 255, 0));
    Label3->setBackColor(rgb(128, 128, 255));
    Label3->setFontFace(QStringLiteral("Impact"), 15.75);
    Label3->setWordWrap(false);

    // The date sits centred under the time. A four-digit year needs more than the 975 twips
    // a two-digit one took, so the box is wider about the same centre and centres its text.
    Label1 = new Label(client(), {"Label1", nullptr, {2655, 600, 1425, 420}});
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setTransparent(true);
    Label1->setFontFace(QStringLiteral("Times New Roman"), 14.25);
    Label1->setWordWrap(false);

    m_refresh->setObjectName(QStringLiteral("refresh"));
    m_refresh->setSingleShot(true);
    m_refresh->setTimerType(Qt::PreciseTimer);
    connect(m_refresh, &QTimer::timeout, this, handler(&Horloge::refreshPass));
}

void Horloge::Form_Load() {
    const QDateTime time = now();
    Label1->setText(dateText(time.date()));
    Label3->setText(timeLabel(time));
    setHands();
}

void Horloge::Form_Activate() {
    announce(this, timeText(now().time()));
}

// The clock runs from the moment it shows, not from its activation: a window manager may show
// it without making it active, the focus kept where the user works.
void Horloge::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    if (m_refreshing)
        return;
    m_refreshing = true;
    runHandler([this] { refreshPass(); });
}

void Horloge::Form_DblClick() {
    Forms::instance().unload(this);
}

void Horloge::Form_Unload() {
    m_refresh->stop();
}

void Horloge::setHands() {
    const QTime time = now().time();
    const auto minute = static_cast<std::int16_t>(time.minute());
    const auto hour = static_cast<std::int16_t>(time.hour());
    const hands::Hands ends = hands::handsAt(hour, minute);
    Line1->setX2(ends.minute.x);
    Line1->setY2(ends.minute.y);
    Line2->setX2(ends.hour.x);
    Line2->setY2(ends.hour.y);
}

void Horloge::refreshPass() {
    Label3->setText(timeLabel(now()));
    setHands();
    armRefresh();
    Q_EMIT Refreshed();
}

void Horloge::armRefresh() {
    const int intoSecond = now().time().msec();
    m_refresh->start(1000 - intoSecond + kAfterSecondMs);
}

} // namespace vorn
