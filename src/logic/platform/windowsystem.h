#pragma once

#include <QByteArray>

// Which of Qt's window-system plugins the program asks for, decided from the session it starts
// in, before the application object exists. GNOME draws no frames for Wayland clients and the
// frame Qt then draws ignores what a window asks for (no maximise, no minimise), so in a GNOME
// Wayland session the program runs on the X server GNOME provides; other Wayland desktops draw
// the frames themselves and it runs there natively.
namespace vorn {

// What the choice reads of the session.
struct Session {
    QByteArray requested;        // QT_QPA_PLATFORM or -platform, as the user set it
    QByteArray sessionType;      // XDG_SESSION_TYPE
    QByteArray desktops;         // XDG_CURRENT_DESKTOP: desktop names separated by colons
    bool waylandDisplay = false; // WAYLAND_DISPLAY is set
    bool xServer = false;        // an X server answers at -display, or else DISPLAY
    bool waylandPlugin = true;   // Qt's Wayland plugin is installed
};

// The platform to ask Qt for, or nothing to leave Qt its own choice. A platform the user
// asked for always wins.
QByteArray platformFor(const Session& session);

// Whether Qt will find a window system to show the windows on: the one the user asked for
// (Qt tells itself if that one fails), the Wayland session's, or an X server that answers.
bool displayReachable(const Session& session);

// The session this process runs in, started with the arguments `argc` and `argv`.
Session currentSession(int argc = 0, const char* const* argv = nullptr);

// Asks Qt for the platform the session calls for, through the environment Qt reads as the
// application object is made; restoreStartEnvironment() takes it out again.
void choosePlatform(const Session& session = currentSession());

} // namespace vorn
