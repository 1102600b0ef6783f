#pragma once

#include <QByteArray>
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

// The UTF-8 locale that stands for `name`, a locale of another character set: its language
// and territory, without the character set or the modifier ("fr_FR@euro" gives "fr_FR.UTF-8", C and
// POSIX give C.UTF-8).
QByteArray utf8LocaleFor(const QByteArray& name);
// Makes the characters (LC_CTYPE) UTF-8 when the locale's are another character set.
void useUtf8Characters();

} // namespace vorn
