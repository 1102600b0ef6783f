#include "platform/guard.h"

#include "platform/dialogs.h"
#include "platform/runtimeerror.h"

#include <QtGlobal>

namespace vorn {

namespace {

void report(QWidget* context, int number, const QString& description) noexcept {
    try {
        reportRuntimeError(context, number, description);
    } catch (...) {
        qWarning("vornutil: run-time error %d could not be reported", number);
    }
}

} // namespace

void runGuarded(QWidget* context, const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (const RuntimeError& error) {
        report(context, error.number(), error.description());
    } catch (const std::bad_alloc&) {
        report(context, 7, QStringLiteral("Mémoire insuffisante"));
    } catch (...) {
        report(context, ErrInvalidCall, RuntimeError::describe(ErrInvalidCall));
    }
}

} // namespace vorn
