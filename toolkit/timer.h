#pragma once

#include "ui/form.h"

#include <QObject>
#include <QTimer>

namespace orvane {

// Raises tick every period; never visible. Ticks that fall due while the GUI thread is busy
// come as one when it is free again.
class Timer final : public QObject {
public:
    Timer(const ControlDef&, QObject* parent);

    // The same period keeps the phase; another restarts with the first tick one period later.
    void set_period(int milliseconds);
    int period() const { return m_timer.isActive() ? m_timer.interval() : 0; }
    int remaining_ms() const { return m_timer.remainingTime(); }

private:
    QTimer m_timer;
};

}
