#include "platform/windowsystem.h"

#include "platform/startenvironment.h"

#include <QDir>
#include <QLibraryInfo>
#include <QList>

#include <algorithm>
#include <cstddef>
#include <cstring>

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

// Whether the X server DISPLAY names answers: ":0", ":0.0" and "unix:0" are local sockets; a
// display on another host (one forwarded over ssh, say) is taken at its word.
bool xServerAnswers(const QByteArray& display) {
    const qsizetype colon = display.lastIndexOf(':');
    if (colon < 0)
        return false;
    const QByteArray host = display.left(colon);
    if (!host.isEmpty() && host != "unix")
        return true;
    const QByteArray number = display.mid(colon + 1).split('.').constFirst();
    bool valid = false;
    number.toUInt(&valid);
    if (!valid)
        return false;
    const QByteArray path = "/tmp/.X11-unix/X" + number;
    return socketAnswers(path, true) || socketAnswers(path, false);
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

Session currentSession() {
    Session session;
    session.requested = qgetenv("QT_QPA_PLATFORM");
    session.sessionType = qgetenv("XDG_SESSION_TYPE");
    session.desktops = qgetenv("XDG_CURRENT_DESKTOP");
    session.waylandDisplay = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    // Only a Wayland session needs to know more.
    if (isWaylandSession(session) && session.requested.isEmpty()) {
        session.xServer = xServerAnswers(qgetenv("DISPLAY"));
        session.waylandPlugin = waylandPluginInstalled();
    }
    return session;
}

void choosePlatform(const Session& session) {
    if (const QByteArray platform = platformFor(session); !platform.isEmpty())
        setForStart("QT_QPA_PLATFORM", platform);
}

} // namespace vorn
