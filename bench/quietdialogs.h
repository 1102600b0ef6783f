#pragma once

#include "platform/dialogs.h"

namespace bench {

// Answers every box at once, as a quick user would, so that windows open unattended: OK to a
// message, a name to an input box, nothing to a runtime error.
class QuietDialogs final : public vorn::DialogHost {
public:
    vorn::Answer message(QWidget*, const QString&, vorn::MessageStyle, const QString&) override {
        return vorn::Answer::Ok;
    }
    QString input(QWidget*, const QString&, const QString&) override {
        return QStringLiteral("Nom");
    }
    void runtimeError(QWidget*, vorn::ErrorNumber, const QString&) override {}
};

} // namespace bench
