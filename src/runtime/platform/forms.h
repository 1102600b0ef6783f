#pragma once

#include "platform/form.h"

#include <QHash>
#include <QObject>
#include <QPointer>

namespace vorn {

// The registry of windows. A window is created on its first reference, which runs its
// Form_Load before it is ever shown; there is at most one of each. Unloading runs its
// Form_Unload and destroys it once its handlers have returned; the next reference creates
// a fresh one. When the last loaded window goes, lastFormUnloaded() is emitted.
class Forms : public QObject {
    Q_OBJECT

public:
    static Forms& instance();

    // The loaded window of type T, creating and loading it first if needed.
    template <class T> T* ref() {
        if (Form* existing = find(T::staticMetaObject))
            return static_cast<T*>(existing);
        T* form = new T();
        adopt(form, T::staticMetaObject);
        return form;
    }
    // References the window, then shows it modeless and brings it forward.
    template <class T> T* show() {
        T* form = ref<T>();
        showForm(form);
        return form;
    }
    template <class T> T* loaded() const { return static_cast<T*>(find(T::staticMetaObject)); }
    template <class T> bool isLoaded() const { return find(T::staticMetaObject) != nullptr; }

    void showForm(Form* form);
    void hideForm(Form* form);
    void unload(Form* form);
    int loadedCount() const;
    QList<Form*> loadedForms() const;
    // Destroys every window without running its Form_Unload (program exit, test clean-up).
    void destroyAll();
    // Notes that the user has come into the window, for handing the keyboard back later.
    void noteActivated(Form* form);
    // The window the user was in last among those still on show, or none.
    Form* mostRecentShown() const;
    // Notes that a box the window asked has just closed while the program had the keyboard;
    // the mark lasts until the event loop runs again.
    void noteBoxClosed(Form* form);

Q_SIGNALS:
    void formLoaded(vorn::Form* form);
    void formUnloaded(const QString& name);
    void lastFormUnloaded();

private:
    Forms() = default;
    Form* find(const QMetaObject& type) const;
    void adopt(Form* form, const QMetaObject& type);
    void activateMostRecent();

    QHash<const QMetaObject*, QPointer<Form>> m_forms;
    // The windows the user has been in, the latest first.
    QList<QPointer<Form>> m_recent;
    // The window whose box has just closed, while the handler that asked it still runs.
    QPointer<Form> m_boxJustClosed;
    // How many times the program has asked for a window to take the keyboard.
    int m_activationsAsked = 0;
};

} // namespace vorn
