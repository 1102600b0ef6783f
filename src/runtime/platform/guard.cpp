#include "platform/guard.h"

#include "platform/dialogs.h"
#include "platform/runtimeerror.h"

#include <QtGlobal>

namespace vorn {

namespace {

void report(QWidget* context, ErrorNumber code) noexcept {
    try {
        reportRuntimeError(context, code, RuntimeError::describe(code));
    } catch (...) {
        qWarning("vornutil: run-time error %d could not be reported", static_cast<int>(code));
    }
}

} // namespace

void runGuarded(QWidget* context, const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (const RuntimeError& error) {
        report(context, error.code());
    } catch (const std::bad_alloc&) {
        report(context, ErrorNumber::OutOfMemory);
    } catch (...) {
        report(context, ErrorNumber::InvalidCall);
    }
}

} // namespace vorn
