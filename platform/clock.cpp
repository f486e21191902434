#include "platform/clock.h"

#include <ctime>

namespace orvane {
namespace {

constexpr int seconds_per_day = 86400;

// Days from 1970-01-01 to the given civil date of the proleptic Gregorian calendar
// (H. Hinnant's days_from_civil).
long long days_from_civil(long long year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned year_of_era = static_cast<unsigned>(year - era * 400);
    const unsigned day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + static_cast<long long>(day_of_era) - 719468;
}

// 1899-12-30, the day that date_time counts from, is 25569 days before 1970-01-01.
constexpr long long epoch_offset_days = 25569;

}

date_time local_date_time(std::time_t instant)
{
    std::tm local{};
    if (::localtime_r(&instant, &local) == nullptr)
        return 0;
    const long long days = days_from_civil(local.tm_year + 1900LL, unsigned(local.tm_mon + 1),
                                           unsigned(local.tm_mday)) + epoch_offset_days;
    const int seconds = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return double(days) + double(seconds) / seconds_per_day;
}

date_time current_date_time()
{
    return local_date_time(std::time(nullptr));
}

}
