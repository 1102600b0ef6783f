#include "support/testsupport.h"

#include "platform/conversions.h"
#include "platform/forms.h"
#include "platform/runtime.h"
#include "platform/services.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include <cstdlib>

namespace vorn::test {

ScriptedDialogs::ScriptedDialogs() {
    setDialogHost(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    setDialogHost(nullptr);
}

QList<DialogCall> ScriptedDialogs::errors() const {
    QList<DialogCall> found;
    for (const auto& call : m_calls) {
        if (call.kind == DialogCall::Kind::Error)
            found.append(call);
    }
    return found;
}

void ScriptedDialogs::clear() {
    m_calls.clear();
    m_answers.clear();
    m_inputs.clear();
}

void ScriptedDialogs::record(DialogCall call) {
    m_calls.append(call);
    if (m_whileOpen)
        m_whileOpen(call);
}

Answer ScriptedDialogs::message(QWidget* parent, const QString& text, MessageStyle style,
                                const QString& title) {
    record({DialogCall::Kind::Message, text, title, style.number(),
            parent ? parent->window()->objectName() : QString()});
    return m_answers.isEmpty() ? Answer::Ok : answerFromNumber(m_answers.takeFirst());
}

QString ScriptedDialogs::input(QWidget* parent, const QString& prompt, const QString& title) {
    record({DialogCall::Kind::Input, prompt, title, 0,
            parent ? parent->window()->objectName() : QString()});
    return m_inputs.isEmpty() ? QString() : m_inputs.takeFirst();
}

void ScriptedDialogs::runtimeError(QWidget* parent, ErrorNumber code, const QString& description) {
    record({DialogCall::Kind::Error, description, QString(), static_cast<int>(code),
            parent ? parent->window()->objectName() : QString()});
}

namespace {

QtMessageHandler g_testLogHandler = nullptr;

// The offscreen platform the tests run on cannot raise a window, grab the keyboard for a
// popup or hand size hints to a window manager, and says so on every such call with one
// notice ("This plugin does not support ..."); a real display does all of it. That notice,
// on that platform, is the only message a test may cause.
bool isOffscreenNotice(QtMsgType type, const QString& message) {
    return type == QtWarningMsg && QGuiApplication::platformName() == QLatin1String("offscreen") &&
           message.startsWith(QLatin1String("This plugin does not support "));
}

// Sits in front of the test log: a warning or critical message fails the test it arises in.
void failingMessageHandler(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (isOffscreenNotice(type, message))
        return;
    if (type == QtWarningMsg || type == QtCriticalMsg)
        QTest::failOnWarning(QRegularExpression(
            QStringLiteral("\\A") + QRegularExpression::escape(message) + QStringLiteral("\\z")));
    g_testLogHandler(type, context, message);
}

// Puts every item model a widget holds or a view shows under Qt's model tester for as long as
// the model lives, so that each change a model tells of is checked against what it answers
// next. A model is looked for when its widget gains a child: a view makes its selection model
// right after it takes a new model, and a list its other helpers after its model. A child is
// told of while it is being made, so only the siblings already made are models yet.
class ModelChecker final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ChildAdded || !watched->isWidgetType())
            return false;
        for (QAbstractItemModel* model :
             watched->findChildren<QAbstractItemModel*>(Qt::FindDirectChildrenOnly))
            check(model);
        if (const auto* view = qobject_cast<QAbstractItemView*>(watched))
            check(view->model());
        return false;
    }

private:
    static void check(QAbstractItemModel* model) {
        // The views' empty stand-in model has no parent and never changes.
        if (!model || !model->parent() || model->findChild<QAbstractItemModelTester*>())
            return;
        new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     model);
    }
};

} // namespace

void failOnQtWarnings() {
    if (!g_testLogHandler)
        g_testLogHandler = qInstallMessageHandler(failingMessageHandler);
}

void initRuntime(QApplication& app) {
    failOnQtWarnings();
    app.installEventFilter(new ModelChecker(&app));
    setRegionalLocale(QLocale(QLocale::French, QLocale::France));
    new Runtime(app, Runtime::QuitRule::KeepRunning);
}

void destroyForms() {
    Forms::instance().destroyAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void pinTime(const QDateTime& time) {
    if (time.isValid())
        setTimeSource([time] { return time; });
    else
        setTimeSource({});
}

QString shellWord(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

bool looksAlike(const QImage& actual, const QImage& expected, int steps) {
    if (actual.size() != expected.size())
        return false;
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < a.height(); ++y) {
        const auto* shown = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* wanted = reinterpret_cast<const QRgb*>(e.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            for (const int shift : {0, 8, 16, 24}) { // blue, green, red, alpha
                const int one = static_cast<int>((shown[x] >> shift) & 0xff);
                const int other = static_cast<int>((wanted[x] >> shift) & 0xff);
                if (std::abs(one - other) > steps)
                    return false;
            }
        }
    }
    return true;
}

QString lastAnnouncement(QWidget* window) {
    QCoreApplication::processEvents();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(window);
    for (int i = 0; iface && i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        if (!child || child->role() != QAccessible::Notification)
            continue;
        const QString name = child->text(QAccessible::Name);
        QStringList shown;
        for (int j = 0; j < child->childCount(); ++j) {
            QAccessibleInterface* line = child->child(j);
            const QString text = line ? line->text(QAccessible::Name) : QString();
            if (line && line->role() == QAccessible::StaticText && !line->state().invisible &&
                !text.isEmpty() && !name.contains(text))
                shown << text;
        }
        return shown.join(QLatin1Char(' '));
    }
    return QString();
}

std::unique_ptr<QTimer> pressOnNextBox(QMessageBox::StandardButton button, QString* title,
                                       QString* text, int timeoutMs) {
    auto timer = std::make_unique<QTimer>();
    QTimer* watch = timer.get();
    auto remaining = std::make_shared<int>(timeoutMs / 20);
    QObject::connect(watch, &QTimer::timeout, watch, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box) {
            if (title)
                *title = box->windowTitle();
            if (text)
                *text = box->text();
            watch->stop();
            if (QAbstractButton* b = box->button(button))
                b->click();
        } else if (--*remaining <= 0) {
            watch->stop();
        }
    });
    watch->start(20);
    return timer;
}

namespace {

// The text a key types, as the window system gives it with the key.
QString keyText(Qt::Key key) {
    if (key == Qt::Key_Space)
        return QStringLiteral(" ");
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return QStringLiteral("\r");
    return {};
}

// Sends a key event from a real keyboard (one with a scan code, at the instant `at`) to the
// control of `window` that has the focus.
void sendKey(QWidget* window, QEvent::Type type, Qt::Key key, quint64 at) {
    constexpr quint32 kScanCode = 36;
    QKeyEvent event(type, key, Qt::NoModifier, kScanCode, 0, 0, keyText(key));
    event.setTimestamp(at);
    QWidget* focused = window->focusWidget();
    QCoreApplication::sendEvent(focused ? focused : window, &event);
}

// The instant of the next key event, in milliseconds: later than every one before.
quint64 nextInstant() {
    static quint64 now = 1000;
    return now += 40;
}

} // namespace

void repeatKey(QWidget* window, Qt::Key key) {
    constexpr int kRepeats = 3;
    for (int i = 0; i < kRepeats; ++i) {
        const quint64 at = nextInstant();
        sendKey(window, QEvent::KeyRelease, key, at);
        sendKey(window, QEvent::KeyPress, key, at);
    }
}

void holdKey(QWidget* window, Qt::Key key) {
    sendKey(window, QEvent::KeyPress, key, nextInstant());
    repeatKey(window, key);
    sendKey(window, QEvent::KeyRelease, key, nextInstant());
}

} // namespace vorn::test
