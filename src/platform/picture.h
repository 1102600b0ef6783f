#pragma once

#include <QPainter>
#include <QRectF>

#include <functional>

namespace vorn {

// A picture drawn by code into the rectangle it is given, so it stays sharp at any scale.
using Picture = std::function<void(QPainter& painter, const QRectF& target)>;

} // namespace vorn
