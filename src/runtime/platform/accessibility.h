#pragma once

// Describes the suite's own controls to assistive tools: pictures and labels that act as
// buttons are announced as buttons and can be pressed; other pictures as graphics.
namespace vorn {

void installAccessibility();

} // namespace vorn
