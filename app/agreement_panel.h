#pragma once

// The licence box and the bottom panel that it opens and closes.
namespace orvane {

void tick_box_clicked();    // 图形按钮1: the box was unticked
void untick_box_clicked();  // 图形按钮2: the box was ticked

void expand_panel();        // workers
void collapse_panel();

}
