#include "platform/forms.h"

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
}

void Forms::hideForm(Form* form) {
    if (form && !form->m_unloaded)
        form->hide();
}

void Forms::unload(Form* form) {
    if (!form || form->m_unloading || form->m_unloaded)
        return;
    form->m_unloading = true;
    form->runHandler([form] { form->Form_Unload(); });
    m_forms.removeIf([form](decltype(m_forms)::iterator it) { return it.value() == form; });
    form->m_unloaded = true;
    form->hide();
    if (form->m_busy == 0)
        form->deleteLater();
    const QString name = form->objectName();
    Q_EMIT formUnloaded(name);
    if (loadedCount() == 0)
        Q_EMIT lastFormUnloaded();
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
