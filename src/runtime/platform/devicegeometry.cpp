#include "platform/devicegeometry.h"

#include <QGuiApplication>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

namespace vorn {

#if QT_CONFIG(xcb)

namespace {

xcb_connection_t* x11Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// xcb's replies are allocated with malloc and freed by the caller.
template <class Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;
template <class Reply> Owned<Reply> owned(Reply* reply) {
    return Owned<Reply>(reply, &std::free);
}

} // namespace

std::optional<QRect> deviceGeometry(QWidget* window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || !window->windowHandle())
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const auto size =
        owned(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr));
    if (!size)
        return std::nullopt;
    const auto origin = owned(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, id, size->root, 0, 0), nullptr));
    if (!origin)
        return std::nullopt;
    return QRect(origin->dst_x, origin->dst_y, size->width, size->height);
}

void setDeviceGeometry(QWidget* window, QPoint position, QSize size) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || !window->windowHandle())
        return;
    // The protocol reads each value as the 32 bits of a signed coordinate or a size.
    const uint32_t values[] = {
        static_cast<uint32_t>(position.x()), static_cast<uint32_t>(position.y()),
        static_cast<uint32_t>(size.width()), static_cast<uint32_t>(size.height())};
    uint16_t mask = XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y;
    if (size.isValid())
        mask |= XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT;
    xcb_configure_window(connection, static_cast<xcb_window_t>(window->winId()), mask, values);
    xcb_flush(connection);
}

#else

std::optional<QRect> deviceGeometry(QWidget*) {
    return std::nullopt;
}

void setDeviceGeometry(QWidget*, QPoint, QSize) {}

#endif

} // namespace vorn
