#pragma once

#include "platform/dialogs.h"
#include "platform/runtimeerror.h"

#include <QDateTime>
#include <QList>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class QApplication;
class QImage;
class QWidget;

namespace vorn::test {

// One box a window asked for.
struct DialogCall {
    enum class Kind { Message, Input, Error };
    Kind kind;
    QString text;   // message text, input prompt, or error description
    QString title;  // empty for errors
    int style = 0;  // message style, or the error number, as scripts know them
    QString parent; // objectName of the asking window, if any
};

// Answers the windows' boxes from a script instead of showing them, and records each call.
// Installed for its lifetime. Unscripted messages answer OK and inputs answer empty text.
class ScriptedDialogs final : public DialogHost {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // Queues an answer by its number: OK 1, Cancel 2, Retry 4.
    void queueAnswer(int answer) { m_answers.append(answer); }
    void queueInput(const QString& text) { m_inputs.append(text); }
    // Runs while a box is "open", as the user's events would during a real modal box.
    void setWhileOpen(std::function<void(const DialogCall&)> action) {
        m_whileOpen = std::move(action);
    }

    const QList<DialogCall>& calls() const { return m_calls; }
    QList<DialogCall> errors() const;
    void clear();

    Answer message(QWidget* parent, const QString& text, MessageStyle style,
                   const QString& title) override;
    QString input(QWidget* parent, const QString& prompt, const QString& title) override;
    void runtimeError(QWidget* parent, ErrorNumber code, const QString& description) override;

private:
    void record(DialogCall call);
    QList<DialogCall> m_calls;
    QList<int> m_answers;
    QList<QString> m_inputs;
    std::function<void(const DialogCall&)> m_whileOpen;
};

// Makes every Qt warning or critical message fail the test function it arises in. Call from
// initTestCase(); initRuntime() calls it.
void failOnQtWarnings();
// Starts the runtime for a test program: French locale pinned, fonts substituted, French
// standard buttons, no quitting when the last window goes, and every item model a view shows
// checked by Qt's model tester. Call from initTestCase().
void initRuntime(QApplication& app);
// Destroys every window left and runs the deferred deletions. Call from cleanup().
void destroyForms();
// Pins the time of day returned by the runtime; an invalid value restores the real clock.
void pinTime(const QDateTime& time);

// Runs `f` and returns the number of the run-time error it raised, or 0 if it raised none.
template <class F> int errorOf(F&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return static_cast<int>(e.code());
    }
    return 0;
}

// Whether `actual` shows the picture `expected` does: the same size, and each channel of each
// pixel, premultiplied, within `steps` of the expected one. Qt versions differ by a step or two
// in how they scale an image or an icon, which no one can see; a wrong or missing picture
// differs by far more.
bool looksAlike(const QImage& actual, const QImage& expected, int steps);

// `text` as one word of a shell script, whatever characters it holds (quotes, spaces, accents).
QString shellWord(const QString& text);

// What `window` last told assistive tools as a notification, which a screen reader speaks
// without the focus moving, once the events queued so far have run; empty if it told nothing.
// It is read as a braille display shows it: the text of the notification's shown lines, but for
// a line whose text is part of the notification's own name, which the display leaves out.
QString lastAnnouncement(QWidget* window);

// Presses `button` on the next real modal box that appears (within `timeoutMs`), recording
// its title and text in the out-parameters if given. The watch lasts no longer than the
// returned timer: a test that ends before the box appears leaves nothing behind to write
// into its finished frame.
[[nodiscard]] std::unique_ptr<QTimer> pressOnNextBox(QMessageBox::StandardButton button,
                                                     QString* title = nullptr,
                                                     QString* text = nullptr, int timeoutMs = 5000);

// Holds `key` down in `window` as a person slow to lift a finger does: its press, the presses
// the keyboard repeats while it is down (repeatKey), then its release. Each repeat comes as the
// X server sends it, a release and a press at one instant, not flagged as a repeat.
void holdKey(QWidget* window, Qt::Key key);
void repeatKey(QWidget* window, Qt::Key key);

} // namespace vorn::test
