#pragma once

class QWidget;

// Describes the suite's windows and controls to assistive tools: each window as a window with
// its title, pictures and labels that act as buttons as buttons that can be pressed, labels by
// their caption, and nothing of what only decorates.
namespace vorn {

void installAccessibility();

// Keeps `widget` out of what assistive tools announce: a background, or a picture or a letter
// that only decorates its window.
void setDecorative(QWidget* widget);
bool isDecorative(const QWidget* widget);

} // namespace vorn
