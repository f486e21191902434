#pragma once

#include "platform/clock.h"

// The start/stop switch 图形按钮5. Monitoring runs exactly when the switch does not show the
// start picture; the switch keeps no flag of its own.
namespace orvane {

extern date_time monitor_started_at; // GUI thread only

void switch_clicked();

}
