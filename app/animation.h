#pragma once

#include "ui/controls.h"

#include <span>

// The frame loop that the window's animations share: each frame sleeps, then moves every
// listed property from where it stands now, reading it back so that whatever else moved it
// in the meantime is kept.
namespace orvane {

struct Movement {
    Control control;
    Property property;
    int direction;  // +1 or -1
};

// Frame k (1-based) moves each property by direction * distance(k) pixels, in the listed order.
void run_frames(int frame_count, int frame_ms, int (*distance)(int k), std::span<const Movement>);

}
