#include "app/agreement_panel.h"

#include "tests/app/window_fixture.h"

#include <algorithm>

namespace orvane::testing {
namespace {

using enum Control;
using Write = WriteRecorder::Write;

constexpr std::size_t expand_writes = 10 + 1 + 20 + 2;
constexpr std::size_t collapse_writes = 20 + 1 + 10 + 1;

class AgreementPanelTest : public WindowTest {
protected:
    void settle(int window_height, int panel_top, int panel_height)
    {
        store.record_actual(main_window, Property::height, window_height);
        store.record_actual(图片框2, Property::top, panel_top);
        store.record_actual(图片框2, Property::height, panel_height);
    }

    std::vector<Write> first_writes(std::size_t count) const
    {
        const std::vector<Write> all = recorder.writes();
        return {all.begin(), all.begin() + std::min(count, all.size())};
    }
};

// Phase A of opening, then phase B with the window and the panel's top alternating.
std::vector<Write> expected_expand(const std::vector<int>& panel_tops)
{
    const std::vector<int> panel_heights{6, 13, 21, 30, 40, 51, 63, 76, 90, 105};
    const std::vector<int> window_heights{415, 422, 430, 439, 449, 460, 472, 485, 499, 514};
    std::vector<Write> out;
    for (int h : panel_heights)
        out.push_back({图片框2, Property::height, h});
    out.push_back({图片框2, Property::height, 100});
    for (std::size_t k = 0; k < window_heights.size(); ++k) {
        out.push_back({main_window, Property::height, window_heights[k]});
        out.push_back({图片框2, Property::top, panel_tops[k]});
    }
    out.push_back({main_window, Property::height, 509});
    out.push_back({图片框2, Property::top, 409});
    return out;
}

TEST_F(AgreementPanelTest, FirstOpeningFollowsTheFrameTable)
{
    settle(409, 309, 0);
    expand_panel();
    EXPECT_EQ(recorder.writes(), expected_expand({315, 322, 330, 339, 349, 360, 372, 385, 399, 414}));
}

TEST_F(AgreementPanelTest, OpeningAfterAClosingEndsExactlyAtTheBottom)
{
    settle(409, 304, 0);
    expand_panel();
    EXPECT_EQ(recorder.writes(), expected_expand({310, 317, 325, 334, 344, 355, 367, 380, 394, 409}));
}

TEST_F(AgreementPanelTest, ClosingFollowsTheFrameTableAndKeepsThePanelTop)
{
    settle(509, 409, 100);
    collapse_panel();

    const std::vector<int> window_heights{503, 496, 488, 479, 469, 458, 446, 433, 419, 404};
    const std::vector<int> panel_tops{403, 396, 388, 379, 369, 358, 346, 333, 319, 304};
    std::vector<Write> expected;
    for (std::size_t k = 0; k < window_heights.size(); ++k) {
        expected.push_back({main_window, Property::height, window_heights[k]});
        expected.push_back({图片框2, Property::top, panel_tops[k]});
    }
    expected.push_back({main_window, Property::height, 409});
    // The last frame asks for -5; the store holds a size as no less than 0.
    for (int h : {94, 87, 79, 70, 60, 49, 37, 24, 10, 0})
        expected.push_back({图片框2, Property::height, h});
    expected.push_back({图片框2, Property::height, 0});

    EXPECT_EQ(recorder.writes(), expected);
    EXPECT_EQ(read_int(图片框2, Property::top), 304);
    EXPECT_EQ(read_int(图片框2, Property::height), 0);
}

TEST_F(AgreementPanelTest, TickingSwapsTheBoxPicturesAtOnceAndOpensThePanel)
{
    settle(409, 309, 0);
    tick_box_clicked();
    const std::vector<Write> swap{{图形按钮1, Property::visible, 0}, {图形按钮2, Property::visible, 1}};
    EXPECT_EQ(first_writes(2), swap);

    ASSERT_TRUE(wait_for_writes(2 + expand_writes));
    EXPECT_EQ(read_int(main_window, Property::height), 509);
    EXPECT_EQ(read_int(图片框2, Property::top), 409);
    EXPECT_EQ(read_int(图片框2, Property::height), 100);
}

TEST_F(AgreementPanelTest, UntickingSwapsTheBoxPicturesAtOnceAndClosesThePanel)
{
    settle(509, 409, 100);
    untick_box_clicked();
    const std::vector<Write> swap{{图形按钮2, Property::visible, 0}, {图形按钮1, Property::visible, 1}};
    EXPECT_EQ(first_writes(2), swap);

    ASSERT_TRUE(wait_for_writes(2 + collapse_writes));
    EXPECT_EQ(read_int(main_window, Property::height), 409);
    EXPECT_EQ(read_int(图片框2, Property::top), 304);
    EXPECT_EQ(read_int(图片框2, Property::height), 0);
}

// The second click starts its animation at once; both run to their end, each reading what the
// other wrote, and the box shows the last click.
TEST_F(AgreementPanelTest, ClickDuringAnAnimationRunsBothToTheirEnd)
{
    settle(409, 309, 0);
    tick_box_clicked();
    untick_box_clicked();
    ASSERT_TRUE(wait_for_writes(4 + expand_writes + collapse_writes));

    EXPECT_EQ(recorder.writes().size(), 4 + expand_writes + collapse_writes);
    EXPECT_EQ(read_int(图形按钮1, Property::visible), 1);
    EXPECT_EQ(read_int(图形按钮2, Property::visible), 0);
}

}
}
