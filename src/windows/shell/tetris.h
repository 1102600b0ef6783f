#pragma once

#include "platform/controls.h"
#include "platform/form.h"

#include <QtGlobal>

namespace vorn {

// The joke error box: it claims the user lacks intelligence, lets "Je refuse" jump around,
// hides "Aide" under the pointer, and mocks whoever closes it without admitting.
class Tetris : public Form {
    Q_OBJECT

public:
    Tetris();

    void Admission_Click();
    void Refus_Click();
    void Aide_MouseMove();

    qint16 compteur() const { return m_compteur; }

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    CommandButton* Refus;
    CommandButton* Aide;
    qint16 m_compteur = 0; // step of the refusal button's round, 0 to 3
    bool m_etat = false;   // true once the user has admitted
};

} // namespace vorn
