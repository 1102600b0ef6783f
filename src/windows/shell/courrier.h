#pragma once

#include "platform/form.h"

namespace vorn {

// The about window: what the suite is and where to reach the project.
class Courrier : public Form {
    Q_OBJECT

public:
    Courrier();
};

} // namespace vorn
