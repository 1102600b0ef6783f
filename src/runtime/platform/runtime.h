#pragma once

#include <QObject>

class QApplication;

namespace vorn {

// Prepares the application for the suite: French conventions and standard buttons, the font
// substitutions, and the end of the program when the last window is unloaded. On
// destruction, every window still loaded is destroyed.
class Runtime : public QObject {
    Q_OBJECT

public:
    enum class QuitRule { QuitWhenNoWindow, KeepRunning };
    explicit Runtime(QApplication& app, QuitRule rule = QuitRule::QuitWhenNoWindow);
    ~Runtime() override;
};

} // namespace vorn
