#include "platform/windowsystem.h"

#include "platform/startenvironment.h"

#include <QDir>
#include <QLibraryInfo>
#include <QList>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <utility>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vorn {

namespace {

const QByteArray kX11 = QByteArrayLiteral("xcb");

// Whether GNOME is among `desktops`, a colon-separated list as XDG_CURRENT_DESKTOP gives it.
bool isGnome(const QByteArray& desktops) {
    const QList<QByteArray> names = desktops.split(':');
    return std::any_of(names.cbegin(), names.cend(), [](const QByteArray& desktop) {
        return desktop.compare("GNOME", Qt::CaseInsensitive) == 0;
    });
}

// Whether a server listens on the local X socket at `path`, in the abstract namespace or in
// the file system.
bool socketAnswers(const QByteArray& path, bool abstract) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const qsizetype offset = abstract ? 1 : 0;
    if (path.size() + offset >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path + offset, path.constData(), static_cast<size_t>(path.size()));
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset +
                                               path.size() + (abstract ? 0 : 1));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool answers = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    ::close(fd);
    return answers;
}

constexpr int kLoopbackWaitMs = 500;

// Whether a server listens on this machine's TCP `port`, over IPv4 or IPv6.
bool loopbackAnswers(quint16 port) {
    sockaddr_in four{};
    four.sin_family = AF_INET;
    four.sin_port = htons(port);
    four.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sockaddr_in6 six{};
    six.sin6_family = AF_INET6;
    six.sin6_port = htons(port);
    six.sin6_addr = in6addr_loopback;
    const std::array<std::pair<const sockaddr*, socklen_t>, 2> addresses{{
        {reinterpret_cast<const sockaddr*>(&four), socklen_t(sizeof four)},
        {reinterpret_cast<const sockaddr*>(&six), socklen_t(sizeof six)},
    }};
    return std::any_of(addresses.cbegin(), addresses.cend(), [](const auto& address) {
        const int fd =
            ::socket(address.first->sa_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0)
            return false;
        // A firewall that drops what it refuses would otherwise hold the start for minutes.
        bool answers = ::connect(fd, address.first, address.second) == 0;
        if (!answers && errno == EINPROGRESS) {
            pollfd connected{fd, POLLOUT, 0};
            int error = 0;
            socklen_t size = sizeof error;
            answers = ::poll(&connected, 1, kLoopbackWaitMs) == 1 &&
                      ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
        }
        ::close(fd);
        return answers;
    });
}

// Whether the X server DISPLAY names answers: ":0", ":0.0" and "unix:0" are local sockets, and
// ":0" falls back to TCP on this machine, as the X library does; a display on another host (one
// forwarded over ssh, say) is taken at its word.
bool xServerAnswers(const QByteArray& display) {
    const qsizetype colon = display.lastIndexOf(':');
    if (colon < 0)
        return false;
    const QByteArray host = display.left(colon);
    if (!host.isEmpty() && host != "unix")
        return true;
    const QByteArray number = display.mid(colon + 1).split('.').constFirst();
    bool valid = false;
    const uint server = number.toUInt(&valid);
    if (!valid)
        return false;
    // Named by the number's value, as the X library reads it: ":00" is the socket "X0".
    const QByteArray path = "/tmp/.X11-unix/X" + QByteArray::number(server);
    if (socketAnswers(path, true) || socketAnswers(path, false))
        return true;
    constexpr uint kFirstPort = 6000;
    return host.isEmpty() && server <= 0xFFFF - kFirstPort &&
           loopbackAnswers(quint16(kFirstPort + server));
}

// The value of the last option `name` on the command line, written with one dash or two as Qt
// reads its own, or `otherwise` where there is none.
QByteArray optionValue(int argc, const char* const* argv, const char* name, QByteArray otherwise) {
    for (int i = 1; i + 1 < argc; ++i) {
        const char* option = argv[i];
        if (option[0] != '-')
            continue;
        option += option[1] == '-' ? 2 : 1;
        if (std::strcmp(option, name) == 0)
            otherwise = argv[i + 1];
    }
    return otherwise;
}

// Whether Qt can find its Wayland platform plugin, in QT_PLUGIN_PATH or its own plugin folder.
bool waylandPluginInstalled() {
    QStringList folders =
        qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    folders.append(QLibraryInfo::path(QLibraryInfo::PluginsPath));
    return std::any_of(folders.cbegin(), folders.cend(), [](const QString& folder) {
        return !QDir(folder + QStringLiteral("/platforms"))
                    .entryList({QStringLiteral("libqwayland-*.so")}, QDir::Files)
                    .isEmpty();
    });
}

// Whether the session is a Wayland one, by its display or by its declared type.
bool isWaylandSession(const Session& session) {
    return session.waylandDisplay || session.sessionType == "wayland";
}

} // namespace

QByteArray platformFor(const Session& session) {
    if (!session.requested.isEmpty())
        return {};
    if (!isWaylandSession(session) || !session.xServer)
        return {};
    // Natively on Wayland, unless GNOME would leave the frames to Qt or Qt cannot.
    if (isGnome(session.desktops) || !session.waylandPlugin)
        return kX11;
    return {};
}

bool displayReachable(const Session& session) {
    return !session.requested.isEmpty() || isWaylandSession(session) || session.xServer;
}

Session currentSession(int argc, const char* const* argv) {
    Session session;
    // Qt takes the command line's choice of window system over the environment's, and its X11
    // plugin the command line's X display over DISPLAY.
    session.requested = optionValue(argc, argv, "platform", qgetenv("QT_QPA_PLATFORM"));
    QByteArray display = optionValue(argc, argv, "display", {});
    if (display.isEmpty())
        display = qgetenv("DISPLAY");
    session.sessionType = qgetenv("XDG_SESSION_TYPE");
    session.desktops = qgetenv("XDG_CURRENT_DESKTOP");
    session.waylandDisplay = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (session.requested.isEmpty()) {
        session.xServer = xServerAnswers(display);
        // Only a Wayland session needs to know more.
        if (isWaylandSession(session))
            session.waylandPlugin = waylandPluginInstalled();
    }
    return session;
}

void choosePlatform(const Session& session) {
    if (const QByteArray platform = platformFor(session); !platform.isEmpty())
        setForStart("QT_QPA_PLATFORM", platform);
}

} // namespace vorn
