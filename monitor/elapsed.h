#pragma once

#include "platform/clock.h"

#include <string>

// How long monitoring has run, shown in 透明标签2.
namespace orvane {

// The span from start to now as "<d>天<h>时<m>分<s>秒", GBK.
[[nodiscard]] std::string format_elapsed(date_time now, date_time start);

void elapsed_tick(); // 时钟12

}
