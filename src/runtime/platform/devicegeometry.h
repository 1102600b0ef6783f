#pragma once

#include <QRect>

#include <optional>

class QWidget;

namespace vorn {

// A top-level window's client area on screen in the display's own pixels, as the window
// system holds it; nothing where the program cannot read it (any platform but X11). Qt
// measures windows in device-independent pixels, which under a scale factor cannot name
// every pixel of the display.
std::optional<QRect> deviceGeometry(QWidget* window);

// Puts the client area of the top-level `window` at `position` with `size`, in the display's
// pixels, where the window system lets the program do so (X11); an invalid size keeps the
// window's own.
void setDeviceGeometry(QWidget* window, QPoint position, QSize size = {});

} // namespace vorn
