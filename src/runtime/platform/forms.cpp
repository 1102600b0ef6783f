#include "platform/forms.h"

#include <QGuiApplication>
#include <QTimer>

namespace vorn {

Forms& Forms::instance() {
    static Forms forms;
    return forms;
}

Form* Forms::find(const QMetaObject& type) const {
    const auto it = m_forms.constFind(&type);
    return it == m_forms.cend() ? nullptr : it->data();
}

void Forms::adopt(Form* form, const QMetaObject& type) {
    m_forms.insert(&type, form);
    Q_EMIT formLoaded(form);
    form->runHandler([form] { form->Form_Load(); });
}

void Forms::showForm(Form* form) {
    if (!form || form->m_unloaded)
        return;
    if (form->isMinimized())
        form->setWindowState(form->windowState() & ~Qt::WindowMinimized);
    form->show();
    form->raise();
    form->activateWindow();
    ++m_activationsAsked;
}

void Forms::hideForm(Form* form) {
    if (form && !form->m_unloaded)
        form->hide();
}

void Forms::unload(Form* form) {
    if (!form || form->m_unloading || form->m_unloaded)
        return;
    form->m_unloading = true;
    const int activationsAsked = m_activationsAsked;
    form->runHandler([form] { form->Form_Unload(); });
    m_forms.removeIf([form](decltype(m_forms)::iterator it) { return it.value() == form; });
    form->m_unloaded = true;
    form->hide();
    m_recent.removeAll(form);
    // As a box closes the window manager gives the keyboard back to the box's window; some
    // (KWin) then give it to nothing when that window leaves right after. A window leaving
    // straight after its own box, showing no other as it goes, hands the keyboard to the
    // window the user was in before it. Closed any other way, the window manager decides.
    if (m_boxJustClosed == form && activationsAsked == m_activationsAsked)
        activateMostRecent();
    if (form->m_busy == 0)
        form->deleteLater();
    const QString name = form->objectName();
    Q_EMIT formUnloaded(name);
    if (loadedCount() == 0)
        Q_EMIT lastFormUnloaded();
}

void Forms::noteActivated(Form* form) {
    m_recent.removeAll(form);
    m_recent.removeAll(nullptr);
    m_recent.prepend(form);
}

void Forms::noteBoxClosed(Form* form) {
    // A box closed from outside (a task bar, a pager) while the user is in another program
    // leaves the keyboard there.
    const bool ours = QGuiApplication::applicationState() == Qt::ApplicationActive;
    m_boxJustClosed = ours ? form : nullptr;
    QTimer::singleShot(0, this, [this] { m_boxJustClosed = nullptr; });
}

Form* Forms::mostRecentShown() const {
    for (const auto& form : m_recent) {
        if (form && !form->m_unloaded && form->isVisible() && !form->isMinimized())
            return form.data();
    }
    return nullptr;
}

void Forms::activateMostRecent() {
    if (Form* form = mostRecentShown())
        form->activateWindow();
}

int Forms::loadedCount() const {
    int count = 0;
    for (const auto& form : m_forms) {
        if (form)
            ++count;
    }
    return count;
}

QList<Form*> Forms::loadedForms() const {
    QList<Form*> forms;
    for (const auto& form : m_forms) {
        if (form)
            forms.append(form.data());
    }
    return forms;
}

void Forms::destroyAll() {
    const auto forms = m_forms;
    m_forms.clear();
    for (const auto& form : forms) {
        if (form) {
            form->m_unloading = true;
            form->m_unloaded = true;
            delete form.data();
        }
    }
}

} // namespace vorn
