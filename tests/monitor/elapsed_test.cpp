#include "monitor/elapsed.h"

#include "monitor/switch.h"
#include "platform/gbk.h"
#include "ui/form.h"
#include "ui/properties.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace orvane {
namespace {

constexpr double seconds = 1.0 / 86400;
// A date-time late in 2026, when the clock's day counts are large.
constexpr date_time afternoon = 46366 + 50000 * seconds;

struct ElapsedRow {
    std::int64_t span_seconds;
    const char* text;
};

TEST(FormatElapsed, WholeSpanTakenApartIntoDaysHoursMinutesSeconds)
{
    const ElapsedRow rows[] = {
        {0, "0天0时0分0秒"},        {1, "0天0时0分1秒"},         {59, "0天0时0分59秒"},
        {60, "0天0时1分0秒"},       {61, "0天0时1分1秒"},        {3599, "0天0时59分59秒"},
        {3600, "0天1时0分0秒"},     {3661, "0天1时1分1秒"},      {86399, "0天23时59分59秒"},
        {86400, "1天0时0分0秒"},    {90061, "1天1时1分1秒"},     {8640000, "100天0时0分0秒"},
    };
    for (const ElapsedRow& row : rows) {
        SCOPED_TRACE(row.span_seconds);
        EXPECT_EQ(from_gbk(format_elapsed(afternoon + double(row.span_seconds) * seconds, afternoon)),
                  row.text);
    }
}

TEST(FormatElapsed, SpanAcrossMidnightCountsWholeSeconds)
{
    const date_time before_midnight = 46366 + 86399 * seconds;
    EXPECT_EQ(from_gbk(format_elapsed(before_midnight + 2 * seconds, before_midnight)), "0天0时0分2秒");
}

TEST(FormatElapsed, ClockSetBackShowsTheSpanWithAMinusSign)
{
    EXPECT_EQ(from_gbk(format_elapsed(afternoon - 3661 * seconds, afternoon)), "-0天1时1分1秒");
    EXPECT_EQ(from_gbk(format_elapsed(afternoon - 90061 * seconds, afternoon)), "-1天1时1分1秒");
}

TEST(ElapsedTick, WritesThePrefixedSpanSinceTheStart)
{
    PropertyStore store{Form{}};
    monitor_started_at = current_date_time();
    elapsed_tick();
    // The tick may fall into the next second of the clock.
    std::string shown = from_gbk(store.read_bytes(Control::透明标签2, Property::text));
    EXPECT_TRUE(shown == "已监控：0天0时0分0秒" || shown == "已监控：0天0时0分1秒") << shown;

    monitor_started_at = current_date_time() - 3600 * seconds;
    elapsed_tick();
    shown = from_gbk(store.read_bytes(Control::透明标签2, Property::text));
    EXPECT_TRUE(shown == "已监控：0天1时0分0秒" || shown == "已监控：0天1时0分1秒") << shown;
}

}
}
