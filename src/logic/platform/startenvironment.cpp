#include "platform/startenvironment.h"

#include <QtGlobal>

#include <cerrno>
#include <map>
#include <optional>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace vorn {

namespace {

// The user's value of each variable the program holds for its start; none: it was unset.
std::map<std::string, std::optional<QByteArray>>& usersValues() {
    static std::map<std::string, std::optional<QByteArray>> values;
    return values;
}

} // namespace

void setForStart(const char* name, const QByteArray& value) {
    // The first change keeps the user's value; a later one for the same variable must not take
    // the program's own for it.
    usersValues().try_emplace(name, qEnvironmentVariableIsSet(name)
                                        ? std::optional<QByteArray>(qgetenv(name))
                                        : std::nullopt);
    qputenv(name, value);
}

void keepToolkitBridgeOut() {
    setForStart("NO_AT_BRIDGE", QByteArrayLiteral("1"));
}

void restoreStartEnvironment() {
    for (const auto& [name, value] : usersValues()) {
        if (value)
            qputenv(name.c_str(), *value);
        else
            qunsetenv(name.c_str());
    }
    usersValues().clear();
}

void openMissingStandardStreams() {
    // In order: with the streams below it open, a closed one is the lowest free number, which
    // open() gives.
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(stream, F_GETFD) == -1 && errno == EBADF)
            ::open("/dev/null", O_RDWR);
    }
}

} // namespace vorn
