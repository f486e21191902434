#pragma once

#include "platform/clock.h"

#include <string>

// How long monitoring has run, shown in 透明标签2.
namespace orvane {

// The span from start to now as "<d>天<h>时<m>分<s>秒", GBK. When now lies before start (the
// clock was set back), the size of the span is written after a minus sign: "-0天1时0分0秒".
[[nodiscard]] std::string format_elapsed(date_time now, date_time start);

void elapsed_tick(); // 时钟12

}
