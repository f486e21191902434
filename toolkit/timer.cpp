#include "toolkit/timer.h"

namespace orvane {

Timer::Timer(const ControlDef& def, QObject* parent)
    : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    if (def.tick)
        connect(&m_timer, &QTimer::timeout, this, [tick = def.tick] { tick(); });
}

void Timer::set_period(int milliseconds)
{
    if (milliseconds == period())
        return;
    m_timer.stop();
    if (milliseconds > 0)
        m_timer.start(milliseconds);
}

}
