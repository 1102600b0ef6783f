#pragma once

// Keeps GTK's own accessibility bridge out of the program. On a GTK desktop (GNOME, among others)
// with Qt's GTK platform theme installed, which Debian's Qt recommends, Qt starts GTK as the
// application object is made, and GTK joins the accessibility bus by itself: screen readers then
// meet the program twice, as Qt's "VornUtil" with every window and as an empty "vornutil". GTK
// decides whether to join as it starts, from NO_AT_BRIDGE, so the variable is set while the
// application object is made only; the programs the suite starts later inherit the environment
// as the user left it.
namespace vorn {

// Asks GTK, should the application object about to be made start it, not to join the bus.
void keepToolkitBridgeOut();

// Puts NO_AT_BRIDGE back as it was before keepToolkitBridgeOut(): unset, or the user's value.
void restoreToolkitBridge();

} // namespace vorn
