#pragma once

#include <QIcon>

// The small pictures of the drive and folder lists, drawn by code.
namespace vorn::listicons {

QIcon closedFolder();
QIcon openFolder();
QIcon hardDisk();
QIcon opticalDisc();

} // namespace vorn::listicons
