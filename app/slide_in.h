#pragma once

// The input column sliding in from the right edge when the window opens.
namespace orvane {

void prepare_slide_in();   // puts the column beyond the right edge, before the window is shown
void slide_in_controls();  // worker

}
