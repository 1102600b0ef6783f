#include "platform/dialogs.h"

#include "platform/accessibility.h"
#include "platform/form.h"
#include "platform/forms.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>

#include <array>

namespace vorn {

namespace {

// Keeps the asking window alive, and marks it busy, while its modal box runs; notes the box's
// end for the window's own leaving.
class BusyParent {
public:
    explicit BusyParent(QWidget* parent)
        : m_form(qobject_cast<Form*>(parent ? parent->window() : nullptr)) {
        if (m_form)
            m_form->enterHandler();
    }
    ~BusyParent() {
        if (m_form) {
            Forms::instance().noteBoxClosed(m_form);
            m_form->leaveHandler();
        }
    }
    BusyParent(const BusyParent&) = delete;
    BusyParent& operator=(const BusyParent&) = delete;

private:
    QPointer<Form> m_form;
};

// The window a box belongs to, so that the window manager keeps the box above it. A hidden
// window makes a poor parent (the box would centre on an invisible rectangle), as does none
// at all (the box would belong to no window the window manager knows): a window that asks
// while it is still hidden, loading, lends its box to the window the user is in. Right after
// one of its boxes closes no window has the keyboard yet, so the window the user was in last
// stands for it: the next box comes up where the first one did.
QWidget* dialogParent(QWidget* parent) {
    QWidget* window = parent ? parent->window() : nullptr;
    if (window && window->isVisible())
        return window;
    auto* active = qobject_cast<Form*>(QApplication::activeWindow());
    if (active && active->isVisible())
        return active;
    if (Form* recent = Forms::instance().mostRecentShown())
        return recent;
    for (Form* form : Forms::instance().loadedForms()) {
        if (form->isVisible())
            return form;
    }
    return nullptr;
}

// A code and the number scripts and tests know it by. The first entry of a table stands for
// a code or a number the table does not hold.
template <class Code> struct Numbered {
    Code code;
    int number;
};

template <class Code, std::size_t N>
int numberOf(const std::array<Numbered<Code>, N>& table, Code code) {
    for (const auto& entry : table) {
        if (entry.code == code)
            return entry.number;
    }
    return table.front().number;
}

template <class Code, std::size_t N>
Code codeOf(const std::array<Numbered<Code>, N>& table, int number) {
    for (const auto& entry : table) {
        if (entry.number == number)
            return entry.code;
    }
    return table.front().code;
}

constexpr std::array<Numbered<Buttons>, 3> kButtonsNumbers{{
    {Buttons::Ok, 0},
    {Buttons::OkCancel, 1},
    {Buttons::RetryCancel, 5},
}};
constexpr int kButtonsMask = 0xF;
constexpr int kWarningNumber = 48;

constexpr std::array<Numbered<Answer>, 3> kAnswerNumbers{{
    {Answer::Ok, 1},
    {Answer::Cancel, 2},
    {Answer::Retry, 4},
}};

QMessageBox::StandardButtons standardButtons(Buttons buttons) {
    switch (buttons) {
    case Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

Answer runMessageBox(QWidget* parent, const QString& text, MessageStyle style,
                     const QString& title) {
    const QMessageBox::StandardButtons buttons = standardButtons(style.buttons);
    BusyParent busy(parent);
    QPointer<QMessageBox> box = new QMessageBox(
        style.icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, title,
        text, buttons, dialogParent(parent));
    box->setDefaultButton(style.buttons == Buttons::RetryCancel ? QMessageBox::Retry
                                                                : QMessageBox::Ok);
    const bool cancels = buttons.testFlag(QMessageBox::Cancel);
    box->setEscapeButton(cancels ? QMessageBox::Cancel : QMessageBox::Ok);
    box->exec();
    if (!box)
        return Answer::Cancel;
    const auto pressed = box->standardButton(box->clickedButton());
    box->deleteLater();
    switch (pressed) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return cancels ? Answer::Cancel : Answer::Ok;
    }
}

class StandardDialogs final : public DialogHost {
public:
    Answer message(QWidget* parent, const QString& text, MessageStyle style,
                   const QString& title) override {
        return runMessageBox(parent, text, style, title);
    }

    QString input(QWidget* parent, const QString& prompt, const QString& title) override {
        BusyParent busy(parent);
        QPointer<QInputDialog> dialog = new QInputDialog(dialogParent(parent));
        dialog->setInputMode(QInputDialog::TextInput);
        dialog->setWindowTitle(title);
        dialog->setLabelText(prompt);
        if (auto* box = dialog->findChild<QLineEdit*>())
            selectWithFocusUntold(box);
        const int result = dialog->exec();
        if (!dialog)
            return {};
        const QString text = result == QDialog::Accepted ? dialog->textValue() : QString();
        dialog->deleteLater();
        return text;
    }

    void runtimeError(QWidget* parent, ErrorNumber code, const QString& description) override {
        BusyParent busy(parent);
        QPointer<QMessageBox> box = new QMessageBox(
            QMessageBox::Critical, QString::fromUtf8(kRuntimeErrorTitle),
            runtimeErrorText(code, description), QMessageBox::Ok, dialogParent(parent));
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

int MessageStyle::number() const {
    return numberOf(kButtonsNumbers, buttons) + (icon == MessageIcon::Warning ? kWarningNumber : 0);
}

MessageStyle MessageStyle::fromNumber(int number) {
    const bool warning = (number & kWarningNumber) == kWarningNumber;
    return {codeOf(kButtonsNumbers, number & kButtonsMask),
            warning ? MessageIcon::Warning : MessageIcon::None};
}

int answerNumber(Answer answer) {
    return numberOf(kAnswerNumbers, answer);
}

Answer answerFromNumber(int number) {
    return codeOf(kAnswerNumbers, number);
}

Answer msgBox(QWidget* parent, const QString& text, MessageStyle style, const QString& title) {
    return host().message(parent, text, style, title);
}

QString inputBox(QWidget* parent, const QString& prompt, const QString& title) {
    return host().input(parent, prompt, title);
}

void reportRuntimeError(QWidget* parent, ErrorNumber code, const QString& description) {
    host().runtimeError(parent, code, description);
}

QString runtimeErrorText(ErrorNumber code, const QString& description) {
    return QStringLiteral("Erreur d'exécution '%1':\n\n%2")
        .arg(static_cast<int>(code))
        .arg(description);
}

} // namespace vorn
