#pragma once

#include "platform/controls.h"
#include "platform/form.h"

namespace vorn {

// The exit screen: write to the project, go back to the main window, or quit.
class SplashFin : public Form {
    Q_OBJECT

public:
    SplashFin();

    void Image1_Click();
    void Image2_Click();
    void Image3_Click();

protected:
    void Form_Unload() override;

private:
    Image* Image1;
    Image* Image2;
    Image* Image3;
    bool m_leaving = false; // set when a picture, not the window system, closes the screen
};

} // namespace vorn
