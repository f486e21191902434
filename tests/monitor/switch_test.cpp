#include "monitor/switch.h"

#include "assets/assets.h"
#include "monitor/probe.h"
#include "tests/support/fakes.h"
#include "ui/form.h"
#include "ui/properties.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane {
namespace {

using testing::WriteRecorder;
using Write = WriteRecorder::Write;

constexpr double seconds = 1.0 / 86400;

std::vector<Write> start_writes()
{
    return {
        {Control::图形按钮5, Property::normal_picture, Bytes(assets::stop_normal)},
        {Control::图形按钮5, Property::hot_picture, Bytes(assets::stop_hot)},
        {Control::图形按钮5, Property::pressed_picture, Bytes(assets::stop_pressed)},
        {Control::透明标签2, Property::visible, 1},
        {Control::时钟12, Property::timer_period, 1000},
        {Control::时钟11, Property::timer_period, 1000},
    };
}

std::vector<Write> stop_writes()
{
    return {
        {Control::时钟11, Property::timer_period, 0},
        {Control::图形按钮5, Property::normal_picture, Bytes(assets::start_normal)},
        {Control::图形按钮5, Property::hot_picture, Bytes(assets::start_hot)},
        {Control::图形按钮5, Property::pressed_picture, Bytes(assets::start_pressed)},
    };
}

class Switch : public ::testing::Test {
protected:
    void SetUp() override
    {
        monitor_started_at = 0;
        store.write_bytes(Control::图形按钮5, Property::normal_picture, assets::start_normal);
    }

    // The writes that one click makes.
    std::vector<Write> click()
    {
        WriteRecorder recorder(store);
        switch_clicked();
        return recorder.writes();
    }

    PropertyStore store{Form{}};
};

TEST_F(Switch, PicturesAreTheSizeTheButtonExpects)
{
    EXPECT_EQ(assets::start_normal.size(), 6296u);
    EXPECT_EQ(assets::stop_normal.size(), 6296u);
    EXPECT_NE(assets::start_normal, assets::stop_normal);
}

TEST_F(Switch, FirstClickStartsInOrderAndRecordsTheStart)
{
    const date_time before = current_date_time();
    EXPECT_EQ(click(), start_writes());
    const date_time after = current_date_time();
    EXPECT_GE(monitor_started_at, before);
    EXPECT_LE(monitor_started_at, after);
}

TEST_F(Switch, SecondClickStopsOnlyTheProbeAndKeepsTheRest)
{
    (void)click();
    const date_time started = monitor_started_at;
    EXPECT_EQ(click(), stop_writes());
    EXPECT_EQ(monitor_started_at, started);
    EXPECT_EQ(store.read_int(Control::时钟12, Property::timer_period), 1000);
    EXPECT_EQ(store.read_int(Control::透明标签2, Property::visible), 1);
    EXPECT_EQ(store.read_int(Control::时钟11, Property::timer_period), 0);
}

TEST_F(Switch, ClicksAlternateAndEachStartRecordsItsTime)
{
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        monitor_started_at = 7;
        if (i % 2 == 0) {
            EXPECT_EQ(click(), start_writes());
            EXPECT_NEAR(monitor_started_at, current_date_time(), 2 * seconds);
        } else {
            EXPECT_EQ(click(), stop_writes());
            EXPECT_EQ(monitor_started_at, 7);
        }
    }
}

// A restart writes 时钟12 the period it already has, and nothing else, so the timer keeps its
// phase; the stop between never stops it.
TEST_F(Switch, RestartGivesTheElapsedTimerOnlyItsOwnPeriod)
{
    std::vector<int> periods;
    for (int i = 0; i < 3; ++i) {
        WriteRecorder recorder(store);
        switch_clicked();
        for (int period : recorder.values(Control::时钟12, Property::timer_period))
            periods.push_back(period);
    }
    EXPECT_EQ(periods, (std::vector<int>{1000, 1000}));
}

TEST_F(Switch, AnyPictureButTheStartPictureCountsAsRunning)
{
    Bytes one_byte_changed(assets::start_normal);
    one_byte_changed[one_byte_changed.size() / 2] ^= 1;
    const Bytes pictures[] = {
        "",
        Bytes(assets::stop_normal),
        Bytes(assets::start_hot),
        one_byte_changed,
        Bytes(assets::start_normal) + "x",
        Bytes(assets::start_normal.substr(0, assets::start_normal.size() - 1)),
    };
    for (const Bytes& picture : pictures) {
        SCOPED_TRACE(picture.size());
        monitor_started_at = 7;
        store.write_bytes(Control::图形按钮5, Property::normal_picture, picture);
        EXPECT_EQ(click(), stop_writes());
        EXPECT_EQ(monitor_started_at, 7);
        EXPECT_EQ(click(), start_writes()) << "the stop put the start pictures back";
    }
}

TEST_F(Switch, LeavesTheFailureCountAlone)
{
    consecutive_failures = 4;
    (void)click();
    (void)click();
    EXPECT_EQ(consecutive_failures, 4);
}

}
}
