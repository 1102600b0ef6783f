#pragma once

#include "platform/controls.h"
#include "platform/form.h"

namespace vorn {

// The about window: what the suite is and where to reach the project.
class Courrier : public Form {
    Q_OBJECT

public:
    Courrier();

private:
    Label* Label2;
    Label* Label1;
    Label* Label3;
};

} // namespace vorn
