#include "monitor/elapsed.h"

#include "monitor/switch.h"
#include "platform/gbk.h"
#include "ui/properties.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace orvane {

std::string format_elapsed(date_time now, date_time start)
{
    static const std::string day = to_gbk("天"), hour = to_gbk("时"), minute = to_gbk("分"),
                             second = to_gbk("秒");
    // Both readings hold whole seconds; rounding takes away the error of the day fractions.
    std::int64_t span = std::llround((now - start) * 86400.0);
    // The local clock was set back past the start: the span is shown with a minus sign in front
    // of its size, so the figures stay in their ranges and the display does not freeze.
    std::string text = span < 0 ? "-" : "";
    std::int64_t s = span < 0 ? -span : span;
    text += std::to_string(s / 86400) + day + std::to_string(s / 3600 % 24) + hour
        + std::to_string(s / 60 % 60) + minute + std::to_string(s % 60) + second;
    return text;
}

void elapsed_tick()
{
    static const std::string prefix = to_gbk("已监控：");
    write_bytes(Control::透明标签2, Property::text,
                prefix + format_elapsed(current_date_time(), monitor_started_at));
}

}
