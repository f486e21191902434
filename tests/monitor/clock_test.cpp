#include "platform/clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

namespace orvane {
namespace {

constexpr double seconds = 1.0 / 86400;

// Sets the process's time zone for the lifetime of the object.
class TimeZone {
public:
    explicit TimeZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZone()
    {
        if (m_old.empty())
            ::unsetenv("TZ");
        else
            ::setenv("TZ", m_old.c_str(), 1);
        ::tzset();
    }

private:
    std::string m_old;
};

struct ClockRow {
    const char* zone;
    std::time_t instant;
    date_time expected;
};

TEST(LocalDateTime, DaysSince18991230WithTheZonesOffsetAndDaylightSaving)
{
    // Central European time: +1 h in winter, +2 h in summer (from 2026-03-29 01:00 UTC).
    const char* cet = "CET-1CEST,M3.5.0,M10.5.0/3";
    const ClockRow rows[] = {
        {"UTC0", 0, 25569},
        {"UTC0", -2209161600, 0},                                    // 1899-12-30 00:00
        {"UTC0", 1781177730, 46184 + (11 * 3600 + 35 * 60 + 30) * seconds}, // 2026-06-11 11:35:30
        {cet, 1767225600, 46023 + 3600 * seconds},                     // 2026-01-01 01:00 local
        {cet, 1774745999, 46110 + (1 * 3600 + 59 * 60 + 59) * seconds}, // 01:59:59 before the switch
        {cet, 1774746000, 46110 + 3 * 3600 * seconds},                 // 03:00:00 right after it
        {"UTC0", 951782400, 36585},                                    // 2000-02-29, a leap day
    };
    for (const ClockRow& row : rows) {
        SCOPED_TRACE(row.instant);
        TimeZone zone(row.zone);
        EXPECT_NEAR(local_date_time(row.instant), row.expected, 0.1 * seconds);
    }
}

TEST(CurrentDateTime, HoldsWholeSecondsOfTheLocalClock)
{
    TimeZone zone("UTC0");
    std::time_t before = std::time(nullptr);
    date_time now = current_date_time();
    std::time_t after = std::time(nullptr);
    double in_seconds = now * 86400;
    EXPECT_NEAR(in_seconds, std::nearbyint(in_seconds), 1e-3);
    EXPECT_GE(in_seconds, (before / 1.0 + 25569 * 86400.0) - 1e-3);
    EXPECT_LE(in_seconds, (after / 1.0 + 25569 * 86400.0) + 1e-3);
}

}
}
