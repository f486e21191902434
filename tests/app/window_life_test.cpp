#include "app/window_life.h"

#include "assets/assets.h"
#include "platform/gbk.h"
#include "tests/app/window_fixture.h"

#include <algorithm>

namespace orvane::testing {
namespace {

using enum Control;
using Write = WriteRecorder::Write;

constexpr std::size_t slide_in_writes = 30 * 11 + 9;

std::vector<int> fade_alphas()
{
    return {255, 255, 240, 225, 210, 195, 180, 165, 150, 135, 120, 105, 90, 75, 60, 45, 30, 15, 0, 0};
}

std::vector<std::string> fade_timeline()
{
    std::vector<std::string> out;
    for (int alpha : fade_alphas())
        out.push_back("alpha " + std::to_string(alpha));
    out.push_back("destroy_window");
    return out;
}

class WindowLifeTest : public WindowTest {};

TEST_F(WindowLifeTest, CreatedSetsUpInOrderThenSlidesTheColumnIn)
{
    on_created();
    const std::vector<Write> start{
        {图形按钮5, Property::normal_picture, Bytes(assets::start_normal)},
        {图形按钮5, Property::hot_picture, Bytes(assets::start_hot)},
        {图形按钮5, Property::pressed_picture, Bytes(assets::start_pressed)},
        {图片框2, Property::height, 0},
        {标签3, Property::left, 390}, {标签4, Property::left, 390}, {标签6, Property::left, 390},
        {标签7, Property::left, 385}, {标签5, Property::left, 390}, {编辑框1, Property::left, 390},
        {编辑框2, Property::left, 385}, {图形按钮2, Property::left, 390}, {图形按钮1, Property::left, 390},
        {标签1, Property::left, 414}, {超级链接框1, Property::left, 464},
        {main_window, Property::visible, 1},
    };
    ASSERT_TRUE(wait_for_writes(start.size() + slide_in_writes));

    const std::vector<Write> writes = recorder.writes();
    EXPECT_EQ(std::vector<Write>(writes.begin(), writes.begin() + start.size()), start);
    EXPECT_EQ(writes.size(), start.size() + slide_in_writes);
    EXPECT_EQ(writes.back(), (Write{标签1, Property::left, 50}));

    const std::vector<std::string> timeline = desktop.timeline();
    ASSERT_GE(timeline.size(), 4u);
    EXPECT_EQ(timeline[3], "set_tray_icon");
    EXPECT_EQ(std::count(timeline.begin(), timeline.end(), "set_tray_icon"), 1);
    EXPECT_EQ(desktop.tray_icon, assets::tray_icon);
    EXPECT_EQ(from_gbk(desktop.tray_tooltip), "服务器监控");
}

struct TrayCase {
    int code;
    int visible_before;
    std::vector<Write> expected;
};

TEST_F(WindowLifeTest, OnlyTheLeftButtonOnTheTrayIconRestoresAndCentres)
{
    const std::vector<Write> restore{
        {main_window, Property::visible, 1},
        {main_window, Property::window_state, window_restore_centred},
    };
    const TrayCase cases[] = {
        {1, 0, restore}, {1, 1, restore}, {2, 0, {}}, {2, 1, {}}, {3, 0, {}}, {3, 1, {}},
    };
    for (const TrayCase& c : cases) {
        SCOPED_TRACE("code " + std::to_string(c.code) + ", visible " + std::to_string(c.visible_before));
        PropertyStore own{Form{}};
        WriteRecorder writes{own};
        own.record_actual(main_window, Property::visible, c.visible_before);
        on_tray_event(c.code);
        EXPECT_EQ(writes.writes(), c.expected);
    }
}

TEST_F(WindowLifeTest, MinimizeButtonAsksTheWindowToMinimize)
{
    minimize_clicked();
    EXPECT_EQ(recorder.writes(), (std::vector<Write>{{main_window, Property::window_state, window_minimized}}));
}

struct PositionCase {
    int state;
    bool tray_host;
    bool hides;
};

TEST_F(WindowLifeTest, MinimizedWindowHidesOnlyWhenTheTrayIconCanBringItBack)
{
    const PositionCase cases[] = {
        {window_minimized, true, true},
        {window_minimized, false, false},
        {window_normal, true, false},
        {window_maximized, true, false},
    };
    desktop.set_tray_icon(assets::tray_icon, to_gbk("服务器监控"));
    for (const PositionCase& c : cases) {
        SCOPED_TRACE("state " + std::to_string(c.state) + ", tray host " + std::to_string(c.tray_host));
        PropertyStore own{Form{}};
        WriteRecorder writes{own};
        own.record_actual(main_window, Property::visible, 1);
        own.record_actual(main_window, Property::window_state, c.state);
        desktop.tray_host = c.tray_host;
        on_position_changed();
        const std::vector<Write> hidden{{main_window, Property::visible, 0}};
        EXPECT_EQ(writes.writes(), c.hides ? hidden : std::vector<Write>{});
    }
}

TEST_F(WindowLifeTest, FadeOutGoesFromOpaqueToInvisibleThenDestroys)
{
    fade_out_and_close();
    EXPECT_EQ(desktop.timeline(), fade_timeline());
    EXPECT_TRUE(recorder.writes().empty());
}

TEST_F(WindowLifeTest, CloseButtonFadesOnAWorker)
{
    close_clicked();
    ASSERT_TRUE(wait_until([&] {
        const auto t = desktop.timeline();
        return std::find(t.begin(), t.end(), "destroy_window") != t.end();
    }));
    EXPECT_EQ(desktop.timeline(), fade_timeline());
}

TEST_F(WindowLifeTest, TwoCloseClicksFadeTogetherAndBothAskForDestruction)
{
    close_clicked();
    close_clicked();
    ASSERT_TRUE(wait_until([&] {
        const auto t = desktop.timeline();
        return std::count(t.begin(), t.end(), "destroy_window") == 2;
    }));
    std::vector<int> alphas;
    {
        std::lock_guard lock(desktop.mutex);
        alphas = desktop.alphas;
    }
    std::vector<int> expected = fade_alphas();
    expected.insert(expected.end(), expected.begin(), expected.end());
    std::ranges::sort(alphas);
    std::ranges::sort(expected);
    EXPECT_EQ(alphas, expected);
}

TEST_F(WindowLifeTest, WillBeDestroyedRemovesTheTrayIconThenExitsWithZero)
{
    desktop.set_tray_icon(assets::tray_icon, to_gbk("服务器监控"));
    on_will_be_destroyed();
    EXPECT_EQ(desktop.timeline(), (std::vector<std::string>{"set_tray_icon", "remove_tray_icon", "exit 0"}));
    EXPECT_FALSE(desktop.tray_icon_shown());
    EXPECT_TRUE(recorder.writes().empty());
}

TEST_F(WindowLifeTest, LinkOpensTheBuiltInAddressOnceAndChangesNothing)
{
    link_pressed(10, 5, 0);
    EXPECT_EQ(desktop.opened, (std::vector<std::string>{ORVANE_WEB_ADDRESS}));
    EXPECT_TRUE(desktop.timeline().empty());
    EXPECT_TRUE(recorder.writes().empty());
}

}
}
