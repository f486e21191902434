#include "app/agreement_panel.h"

#include "app/animation.h"
#include "platform/threads.h"
#include "ui/properties.h"

#include <array>

namespace orvane {
namespace {

using enum Control;

constexpr int frame_count = 10;
constexpr int frame_ms = 15;
constexpr int panel_height = 100;
constexpr int closed_window_height = 409;
constexpr int open_window_height = 509;
constexpr int open_panel_top = 409;

// 6, 7, … 15: 105 pixels a phase, 5 more than the panel needs; the final writes take them out.
int step(int k) { return 5 + k; }

constexpr std::array<Movement, 1> panel_grows{{{图片框2, Property::height, +1}}};
constexpr std::array<Movement, 2> window_grows{{
    {main_window, Property::height, +1}, {图片框2, Property::top, +1},
}};
constexpr std::array<Movement, 2> window_shrinks{{
    {main_window, Property::height, -1}, {图片框2, Property::top, -1},
}};
constexpr std::array<Movement, 1> panel_shrinks{{{图片框2, Property::height, -1}}};

void show_box_ticked(bool ticked)
{
    write_int(ticked ? 图形按钮1 : 图形按钮2, Property::visible, 0);
    write_int(ticked ? 图形按钮2 : 图形按钮1, Property::visible, 1);
}

}

void tick_box_clicked()
{
    show_box_ticked(true);
    start_worker(expand_panel);
}

void untick_box_clicked()
{
    show_box_ticked(false);
    start_worker(collapse_panel);
}

void expand_panel()
{
    run_frames(frame_count, frame_ms, step, panel_grows);
    write_int(图片框2, Property::height, panel_height);
    run_frames(frame_count, frame_ms, step, window_grows);
    write_int(main_window, Property::height, open_window_height);
    write_int(图片框2, Property::top, open_panel_top);
}

// The panel's top is left where the window's shrinking put it.
void collapse_panel()
{
    run_frames(frame_count, frame_ms, step, window_shrinks);
    write_int(main_window, Property::height, closed_window_height);
    run_frames(frame_count, frame_ms, step, panel_shrinks);
    write_int(图片框2, Property::height, 0);
}

}
