#pragma once

#include <functional>

class QWidget;

namespace vorn {

// Runs one event handler. A run-time error it raises stops the handler where it arose and
// is reported in the error box over `context`; nothing escapes into Qt's event loop.
void runGuarded(QWidget* context, const std::function<void()>& handler) noexcept;

} // namespace vorn
