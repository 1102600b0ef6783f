#pragma once

#include "platform/controls.h"
#include "platform/form.h"

namespace vorn {

// The chore lottery: asks the two partners' names when it opens, then names who does the
// chosen chore from the parity of the current second. Leaving it always shows the about
// window.
class Mariage : public Form {
    Q_OBJECT

public:
    Mariage();

    // Picking any of the seven chores clears the previous answer.
    void Option_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    const QString& Nom1() const { return m_nom1; }
    const QString& Nom2() const { return m_nom2; }

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    TextBox* Text1 = nullptr;
    QString m_nom1; // first partner's name, empty when the box was cancelled
    QString m_nom2; // second partner's name
};

} // namespace vorn
