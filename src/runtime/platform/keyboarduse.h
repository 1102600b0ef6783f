#pragma once

namespace vorn {

// Follows whether the person's last press was on the keyboard or with the pointer, so that a
// window opened from the keyboard can show at once where its focus is, as one opened by the
// pointer shows it only once a key moves the focus. A key that acts as it goes down (Enter,
// Escape, Space on a button or a picture) acts once however long it is held. Shift+F10 opens the
// context menu of the control with the focus, as the Menu key does.
void followKeyboardUse();

// Whether the last press the application received was a key (a shortcut included).
bool lastPressWasKey();

} // namespace vorn
