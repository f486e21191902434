#pragma once

#include <ctime>

// A local wall-clock date-time: days since 1899-12-30 00:00, the fraction being the time of day.
namespace orvane {

using date_time = double;

// The current local date-time in whole seconds, daylight saving included.
[[nodiscard]] date_time current_date_time();

// The local date-time of an instant, in whole seconds, daylight saving included.
[[nodiscard]] date_time local_date_time(std::time_t instant);

}
