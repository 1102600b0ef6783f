#pragma once

#include <QStringView>

#include <span>

namespace vorn {

class Form;

// One window of the suite: its object name and how it is opened, as its menu entry or
// picture opens it (referenced, then shown modeless and brought forward).
struct WindowEntry {
    const char* name;
    Form* (*open)();
};

// Every window of the suite, the main window first. Tests, tools and benchmarks that go
// through all the windows take them from here.
std::span<const WindowEntry> windowCatalogue();

// The window named `name`, or nullptr when the suite has none of that name.
const WindowEntry* findWindow(QStringView name);

} // namespace vorn
