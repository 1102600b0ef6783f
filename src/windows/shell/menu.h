#pragma once

#include "platform/controls.h"
#include "platform/form.h"

class QAction;

namespace vorn {

// The main window: a strip with a background picture, a close picture that leads to the
// exit screen, and the launcher menu of every tool and host program.
class Menu : public Form {
    Q_OBJECT

public:
    Menu();

    QAction* action(const QString& name) const;

    void dos_Click();
    void conf_Click();
    void prog_Click();
    void gest_Click();
    void Horl_Click();
    void Pat_Click();
    void rech_Click();
    void Hexa_Click();
    void conv_Click();
    void mari_Click();
    void tetr_Click();
    void coord_Click();
    void Image1_Click();

protected:
    void Form_Resize() override;
    void paintBackground(QPainter& painter, const QRect& area) override;

private:
    // Readies the pictures of the windows opened most slowly in the picture cache, once the
    // launcher is up and the program idle.
    void preparePictures();

    Image* Bouch;
    Image* Image1;
    bool m_preparing = false;
};

} // namespace vorn
