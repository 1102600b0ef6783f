#include "platform/toolkitbridge.h"

#include <QByteArray>
#include <QtGlobal>

namespace vorn {

namespace {

const char* const kBridgeVariable = "NO_AT_BRIDGE";

// The user's NO_AT_BRIDGE while the program holds its own in its place.
struct UsersBridge {
    bool held = false;
    bool set = false;
    QByteArray value;
};

UsersBridge& usersBridge() {
    static UsersBridge user;
    return user;
}

} // namespace

void keepToolkitBridgeOut() {
    UsersBridge& user = usersBridge();
    if (user.held)
        return;
    user.held = true;
    user.set = qEnvironmentVariableIsSet(kBridgeVariable);
    user.value = qgetenv(kBridgeVariable);
    qputenv(kBridgeVariable, QByteArrayLiteral("1"));
}

void restoreToolkitBridge() {
    UsersBridge& user = usersBridge();
    if (!user.held)
        return;
    if (user.set)
        qputenv(kBridgeVariable, user.value);
    else
        qunsetenv(kBridgeVariable);
    user = {};
}

} // namespace vorn
