#pragma once

class QLineEdit;
class QPlainTextEdit;
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

// Reached by Tab or by a shortcut, a line edit selects its whole text, and it drops its selection
// as the focus leaves it for another control. Qt tells assistive tools of such a change before it
// tells them where the focus went, and a screen reader then reads the text of the box it enters
// before that box, then again with it, and says "unselected" of the box it left. From this call
// on, `box` makes the same changes before Qt would, untold: a screen reader reads the selection
// with the focus.
void selectWithFocusUntold(QLineEdit* box);

// A menu opened over a text box (its context menu) closes with the user back in the box, and
// Qt tells assistive tools nothing of it: a screen reader stays on the menu's last entry. From
// this call on, `box` tells them the focus is back. A line edit given to selectWithFocusUntold
// does so already.
void tellFocusBackFromMenus(QPlainTextEdit* box);

// Keeps `widget` out of what assistive tools announce: a background, or a picture or a letter
// that only decorates its window.
void setDecorative(QWidget* widget);
bool isDecorative(const QWidget* widget);

} // namespace vorn
