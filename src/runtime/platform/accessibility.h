#pragma once

#include <functional>

class QString;
class QWidget;

// Describes the suite's windows and controls to assistive tools: each window as a window with
// its title, pictures and labels that act as buttons as buttons that can be pressed, labels by
// their caption, and nothing of what only decorates. Results are told as they appear.
namespace vorn {

void installAccessibility();

// What a window is to its user, as assistive tools announce it. A screen reader reads the text of
// an alert as it opens; of a plain window, the title and its description.
enum class WindowRole { Window, Alert };
void setAccessibleRole(QWidget* window, WindowRole role);

// Tells assistive tools `text` as a notification of the window holding `widget`, without moving
// the focus: a screen reader speaks it once, as it appears, after what the event that produced it
// makes it say. Nothing is told for a window that is not shown.
void announce(QWidget* widget, const QString& text);

// Makes `change` to the selection of the text box `box` without telling assistive tools of the
// change: the selection a box makes or drops as the focus reaches or leaves it, which they read
// with the focus itself.
void changeSelectionUntold(QWidget* box, const std::function<void()>& change);

// Keeps `widget` out of what assistive tools announce: a background, or a picture or a letter
// that only decorates its window.
void setDecorative(QWidget* widget);
bool isDecorative(const QWidget* widget);

} // namespace vorn
