#include "app/slide_in.h"

#include "app/agreement_panel.h"
#include "platform/threads.h"

#include "tests/app/window_fixture.h"

#include <algorithm>

namespace orvane::testing {
namespace {

using enum Control;
using Write = WriteRecorder::Write;

// The column in the order each frame moves it.
constexpr Control column[] = {标签3, 标签4, 标签5, 标签6, 标签7, 编辑框1, 编辑框2, 图形按钮2, 图形按钮1, 标签1, 超级链接框1};

constexpr std::size_t preparation_writes = 11;
constexpr std::size_t frame_writes = 11;
constexpr std::size_t slide_in_writes = preparation_writes + 30 * frame_writes + 9;
constexpr std::size_t expand_writes = 10 + 1 + 20 + 2;

class SlideInTest : public WindowTest {
protected:
    // The writes of frame k (1 to 30), in the order the frame made them.
    std::vector<Write> frame(int k) const
    {
        const std::vector<Write> all = recorder.writes();
        const auto first = all.begin() + preparation_writes + (k - 1) * frame_writes;
        return {first, first + frame_writes};
    }

    static void expect_column_at_rest()
    {
        const int resting[] = {26, 26, 26, 26, 25, 26, 25, 26, 26, 50, 98};
        for (std::size_t i = 0; i < std::size(resting); ++i)
            EXPECT_EQ(read_int(column[i], Property::left), resting[i]) << "control " << i << " of the column";
    }

    static std::vector<Write> lefts(const std::vector<int>& values)
    {
        std::vector<Write> out;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const Write w{column[i], Property::left, values[i]};
            out.push_back(w);
        }
        return out;
    }
};

TEST_F(SlideInTest, PreparationPutsTheColumnAtTheRightEdgeInItsOwnOrder)
{
    prepare_slide_in();
    const std::vector<Write> expected{
        {标签3, Property::left, 390}, {标签4, Property::left, 390}, {标签6, Property::left, 390},
        {标签7, Property::left, 385}, {标签5, Property::left, 390}, {编辑框1, Property::left, 390},
        {编辑框2, Property::left, 385}, {图形按钮2, Property::left, 390}, {图形按钮1, Property::left, 390},
        {标签1, Property::left, 414}, {超级链接框1, Property::left, 464},
    };
    EXPECT_EQ(recorder.writes(), expected);
}

TEST_F(SlideInTest, ColumnAcceleratesThenMovesSteadilyAndSettles)
{
    prepare_slide_in();
    slide_in_controls();
    ASSERT_EQ(recorder.writes().size(), slide_in_writes);

    EXPECT_EQ(frame(1), lefts({389, 389, 389, 389, 384, 389, 384, 389, 389, 413, 463}));
    EXPECT_EQ(frame(15), lefts({270, 270, 270, 270, 265, 270, 265, 270, 270, 294, 344}));
    EXPECT_EQ(frame(16), lefts({254, 254, 254, 254, 249, 254, 249, 254, 254, 278, 328}));
    EXPECT_EQ(frame(30), lefts({30, 30, 30, 30, 25, 30, 25, 30, 30, 54, 104}));

    const std::vector<Write> all = recorder.writes();
    const std::vector<Write> finals(all.end() - 9, all.end());
    const std::vector<Write> expected_finals{
        {标签3, Property::left, 26}, {标签4, Property::left, 26}, {标签5, Property::left, 26},
        {标签6, Property::left, 26}, {编辑框1, Property::left, 26}, {图形按钮2, Property::left, 26},
        {图形按钮1, Property::left, 26}, {超级链接框1, Property::left, 98}, {标签1, Property::left, 50},
    };
    EXPECT_EQ(finals, expected_finals);

    expect_column_at_rest();
}

// Only the left of the column moves: the licence box may open the panel meanwhile.
TEST_F(SlideInTest, OnlyTheColumnsLeftChanges)
{
    prepare_slide_in();
    slide_in_controls();
    for (const Write& w : recorder.writes()) {
        EXPECT_EQ(w.property, Property::left);
        EXPECT_NE(std::find(std::begin(column), std::end(column), w.control), std::end(column));
    }
}

// The licence box may be ticked while the column still moves: each animation keeps to its own
// properties, so both reach their settled values.
TEST_F(SlideInTest, TickingDuringTheSlideInOpensThePanelWhileTheColumnSettles)
{
    store.record_actual(main_window, Property::height, 409);
    store.record_actual(图片框2, Property::top, 309);
    prepare_slide_in();
    start_worker(slide_in_controls);
    tick_box_clicked();
    ASSERT_TRUE(wait_for_writes(slide_in_writes + 2 + expand_writes));

    expect_column_at_rest();
    EXPECT_EQ(read_int(图形按钮1, Property::visible), 0);
    EXPECT_EQ(read_int(图形按钮2, Property::visible), 1);
    EXPECT_EQ(read_int(main_window, Property::height), 509);
    EXPECT_EQ(read_int(图片框2, Property::top), 409);
    EXPECT_EQ(read_int(图片框2, Property::height), 100);
}

}
}
