#include "platform/dialogs.h"

#include "platform/form.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>

namespace vorn {

namespace {

// Keeps the asking window alive, and marks it busy, while its modal box runs.
class BusyParent {
public:
    explicit BusyParent(QWidget* parent)
        : m_form(qobject_cast<Form*>(parent ? parent->window() : nullptr)) {
        if (m_form)
            m_form->enterHandler();
    }
    ~BusyParent() {
        if (m_form)
            m_form->leaveHandler();
    }
    BusyParent(const BusyParent&) = delete;
    BusyParent& operator=(const BusyParent&) = delete;

private:
    QPointer<Form> m_form;
};

// A hidden window makes a poor parent: the box would centre on an invisible rectangle.
QWidget* dialogParent(QWidget* parent) {
    QWidget* window = parent ? parent->window() : nullptr;
    return window && window->isVisible() ? window : nullptr;
}

int runMessageBox(QWidget* parent, const QString& text, int style, const QString& title) {
    const int buttonSet = style & 0xF;
    const bool warning = (style & MsgWarning) == MsgWarning;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (buttonSet == MsgOkCancel)
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
    else if (buttonSet == MsgRetryCancel)
        buttons = QMessageBox::Retry | QMessageBox::Cancel;

    BusyParent busy(parent);
    QPointer<QMessageBox> box =
        new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::NoIcon, title, text, buttons,
                        dialogParent(parent));
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    box->setDefaultButton(buttonSet == MsgRetryCancel ? QMessageBox::Retry : QMessageBox::Ok);
    box->setEscapeButton(buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                                                               : QMessageBox::Ok);
    box->exec();
    if (!box)
        return AnswerCancel;
    const auto pressed = box->standardButton(box->clickedButton());
    box->deleteLater();
    switch (pressed) {
    case QMessageBox::Ok:
        return AnswerOk;
    case QMessageBox::Retry:
        return AnswerRetry;
    case QMessageBox::Cancel:
        return AnswerCancel;
    default:
        return buttons.testFlag(QMessageBox::Cancel) ? AnswerCancel : AnswerOk;
    }
}

class StandardDialogs final : public DialogHost {
public:
    int message(QWidget* parent, const QString& text, int style, const QString& title) override {
        return runMessageBox(parent, text, style, title);
    }

    QString input(QWidget* parent, const QString& prompt, const QString& title) override {
        BusyParent busy(parent);
        QPointer<QInputDialog> dialog = new QInputDialog(dialogParent(parent));
        dialog->setInputMode(QInputDialog::TextInput);
        dialog->setWindowTitle(title);
        dialog->setLabelText(prompt);
        const int result = dialog->exec();
        if (!dialog)
            return {};
        const QString text = result == QDialog::Accepted ? dialog->textValue() : QString();
        dialog->deleteLater();
        return text;
    }

    void runtimeError(QWidget* parent, int number, const QString& description) override {
        BusyParent busy(parent);
        QPointer<QMessageBox> box = new QMessageBox(
            QMessageBox::Critical, QString::fromUtf8(kRuntimeErrorTitle),
            runtimeErrorText(number, description), QMessageBox::Ok, dialogParent(parent));
        box->exec();
        if (box)
            box->deleteLater();
    }
};

StandardDialogs& standardDialogs() {
    static StandardDialogs dialogs;
    return dialogs;
}

DialogHost* g_host = nullptr;

DialogHost& host() {
    return g_host ? *g_host : standardDialogs();
}

} // namespace

void setDialogHost(DialogHost* newHost) {
    g_host = newHost;
}

int msgBox(QWidget* parent, const QString& text, int style, const QString& title) {
    return host().message(parent, text, style, title);
}

QString inputBox(QWidget* parent, const QString& prompt, const QString& title) {
    return host().input(parent, prompt, title);
}

void reportRuntimeError(QWidget* parent, int number, const QString& description) {
    host().runtimeError(parent, number, description);
}

QString runtimeErrorText(int number, const QString& description) {
    return QStringLiteral("Erreur d'exécution '%1':\n\n%2").arg(number).arg(description);
}

} // namespace vorn
