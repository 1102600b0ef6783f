#pragma once

#include <QString>

class QWidget;

// Modal message and input boxes, and the report of a run-time error. Every window asks
// through these functions; tests replace the host to script the answers.
namespace vorn {

// Message box styles: a button set plus an icon.
enum MsgStyle : int {
    MsgOkOnly = 0,
    MsgOkCancel = 1,
    MsgRetryCancel = 5,
    MsgWarning = 48,
};

// Message box answers.
enum MsgAnswer : int {
    AnswerOk = 1,
    AnswerCancel = 2,
    AnswerRetry = 4,
};

// Shows the boxes. The default host uses QMessageBox and QInputDialog.
class DialogHost {
public:
    virtual ~DialogHost() = default;
    virtual int message(QWidget* parent, const QString& text, int style, const QString& title) = 0;
    virtual QString input(QWidget* parent, const QString& prompt, const QString& title) = 0;
    virtual void runtimeError(QWidget* parent, int number, const QString& description) = 0;
};

// Installs `host` (not owned); nullptr restores the standard dialogs.
void setDialogHost(DialogHost* host);

int msgBox(QWidget* parent, const QString& text, int style, const QString& title);
QString inputBox(QWidget* parent, const QString& prompt, const QString& title);
void reportRuntimeError(QWidget* parent, int number, const QString& description);

// The text of the run-time error box: "Erreur d'exécution 'N':", an empty line, the description.
QString runtimeErrorText(int number, const QString& description);
inline const char* const kRuntimeErrorTitle = "VornUtil";

} // namespace vorn
