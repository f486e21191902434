#include "app/slide_in.h"

#include "app/animation.h"
#include "ui/properties.h"

#include <array>

namespace orvane {
namespace {

using enum Control;

struct Place {
    Control control;
    int left;
};

// At or beyond the window's right edge. The e-mail prompt and box start 5 pixels nearer and get
// no final write, so they come to rest at 25, one pixel left of the column.
constexpr std::array<Place, 11> starting_places{{
    {标签3, 390}, {标签4, 390}, {标签6, 390}, {标签7, 385}, {标签5, 390}, {编辑框1, 390},
    {编辑框2, 385}, {图形按钮2, 390}, {图形按钮1, 390}, {标签1, 414}, {超级链接框1, 464},
}};

// The column in the order that each frame moves it, all towards the left.
constexpr std::array<Movement, 11> column{{
    {标签3, Property::left, -1}, {标签4, Property::left, -1}, {标签5, Property::left, -1},
    {标签6, Property::left, -1}, {标签7, Property::left, -1}, {编辑框1, Property::left, -1},
    {编辑框2, Property::left, -1}, {图形按钮2, Property::left, -1}, {图形按钮1, Property::left, -1},
    {标签1, Property::left, -1}, {超级链接框1, Property::left, -1},
}};

constexpr std::array<Place, 9> final_places{{
    {标签3, 26}, {标签4, 26}, {标签5, 26}, {标签6, 26}, {编辑框1, 26}, {图形按钮2, 26},
    {图形按钮1, 26}, {超级链接框1, 98}, {标签1, 50},
}};

constexpr int frame_count = 30;
constexpr int frame_ms = 10;
constexpr int accelerating_frames = 15;

// Speeds up by a pixel a frame, then keeps a steady speed: 360 pixels over the 30 frames.
int distance(int k) { return k <= accelerating_frames ? k : accelerating_frames + 1; }

void place_all(std::span<const Place> places)
{
    for (const Place& p : places)
        write_int(p.control, Property::left, p.left);
}

}

void prepare_slide_in() { place_all(starting_places); }

void slide_in_controls()
{
    run_frames(frame_count, frame_ms, distance, column);
    place_all(final_places);
}

}
