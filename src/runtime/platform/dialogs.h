#pragma once

#include "platform/runtimeerror.h"

#include <QString>

class QWidget;

// Modal message and input boxes, and the report of a run-time error. Every window asks
// through these functions; tests replace the host to script the answers.
namespace vorn {

// The buttons a message box offers.
enum class Buttons { Ok, OkCancel, RetryCancel };
// The icon beside a message.
enum class MessageIcon { None, Warning };
// The button that closed a message box.
enum class Answer { Ok, Cancel, Retry };

// How a message box looks. Scripts and tests know a style by its number: 0, 1 or 5 for the
// buttons, plus 48 for the warning icon.
struct MessageStyle {
    Buttons buttons = Buttons::Ok;
    MessageIcon icon = MessageIcon::None;

    int number() const;
    // The style a number stands for; a button set it does not know is OK alone.
    static MessageStyle fromNumber(int number);
    bool operator==(const MessageStyle&) const = default;
};

// An answer as scripts and tests know it: OK 1, Cancel 2, Retry 4; and back, where a number
// that is no answer reads as OK.
int answerNumber(Answer answer);
Answer answerFromNumber(int number);

// Shows the boxes. The default host uses QMessageBox and QInputDialog.
class DialogHost {
public:
    virtual ~DialogHost() = default;
    virtual Answer message(QWidget* parent, const QString& text, MessageStyle style,
                           const QString& title) = 0;
    virtual QString input(QWidget* parent, const QString& prompt, const QString& title) = 0;
    virtual void runtimeError(QWidget* parent, ErrorNumber code, const QString& description) = 0;
};

// Installs `host` (not owned); nullptr restores the standard dialogs.
void setDialogHost(DialogHost* host);

Answer msgBox(QWidget* parent, const QString& text, MessageStyle style, const QString& title);
QString inputBox(QWidget* parent, const QString& prompt, const QString& title);
void reportRuntimeError(QWidget* parent, ErrorNumber code, const QString& description);

// The text of the run-time error box: "Erreur d'exécution 'N':", an empty line, the description.
QString runtimeErrorText(ErrorNumber code, const QString& description);
inline const char* const kRuntimeErrorTitle = "VornUtil";

} // namespace vorn
