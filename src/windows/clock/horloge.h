#pragma once

#include "platform/controls.h"
#include "platform/form.h"

class QTimer;

namespace vorn {

// The analog clock: a dial with a minute and an hour hand over a landscape, the date and the
// time as text. Once shown it refreshes the time and the hands just after each new second,
// paced by a timer; a double-click on the window closes it.
class Horloge : public Form {
    Q_OBJECT

public:
    Horloge();

Q_SIGNALS:
    // Emitted after each refresh of the time label and the hands.
    void Refreshed();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_DblClick() override;
    void Form_Unload() override;
    void showEvent(QShowEvent* event) override;

private:
    void setHands();
    void refreshPass();
    void armRefresh();

    Line* Line1; // the minute hand
    Line* Line2; // the hour hand
    Label* Label3;
    Label* Label1;
    QTimer* m_refresh;
    bool m_refreshing = false; // set once shown; showing it again finds it running
};

} // namespace vorn
