#include "app/slide_in.h"

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

class SlideInTest : public WindowTest {
protected:
    // The writes of frame k (1 to 30), in the order the frame made them.
    std::vector<Write> frame(int k) const
    {
        const std::vector<Write> all = recorder.writes();
        const auto first = all.begin() + preparation_writes + (k - 1) * frame_writes;
        return {first, first + frame_writes};
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
    ASSERT_EQ(recorder.writes().size(), preparation_writes + 30 * frame_writes + 9);

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

    const std::vector<int> resting{26, 26, 26, 26, 25, 26, 25, 26, 26, 50, 98};
    for (std::size_t i = 0; i < resting.size(); ++i)
        EXPECT_EQ(read_int(column[i], Property::left), resting[i]) << i;
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

}
}
