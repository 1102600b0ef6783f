#pragma once

#include <QByteArray>

// What the program puts into its own environment for Qt's start only: the window system it asks
// for, and GTK's accessibility bridge kept out. On a GTK desktop (GNOME, among others) with Qt's
// GTK platform theme installed, which Debian's Qt recommends, Qt starts GTK as the application
// object is made, and GTK joins the accessibility bus by itself: screen readers then meet the
// program twice, as Qt's "VornUtil" with every window and as an empty "vornutil". GTK decides
// whether to join as it starts, from NO_AT_BRIDGE. Once the application object is made, every
// such variable goes back as the user left it, so the programs the suite starts (a terminal, a
// file started from the file manager) inherit the user's environment.
namespace vorn {

// Sets `name` to `value` until restoreStartEnvironment(), keeping what the user had.
void setForStart(const char* name, const QByteArray& value);

// Asks GTK, should the application object about to be made start it, not to join the bus.
void keepToolkitBridgeOut();

// Puts every variable setForStart() changed back as the user left it: unset, or their value.
void restoreStartEnvironment();

// Opens /dev/null as each standard stream (input, output, error output) the program was started
// without (`vornutil 2>&-`). The system gives a new file the lowest free number, so the first
// ones Qt opens would stand in for them: the X connection as the error output, where the first
// warning Qt writes breaks the conversation with the X server and leaves the program waiting
// for an answer that never comes, its windows never drawn; and the programs the suite starts
// would find a closed output, or write into whatever took its number.
void openMissingStandardStreams();

} // namespace vorn
