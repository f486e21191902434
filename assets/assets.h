#pragma once

#include <string_view>

// The bytes of the program's pictures (24-bit BMP files) and of its icon (an ICO file), drawn by
// tools/draw_pictures from the descriptions of the window's pictures.
namespace orvane::assets {

extern const std::string_view test_normal, test_hot, test_pressed;
extern const std::string_view start_normal, start_hot, start_pressed;
extern const std::string_view stop_normal, stop_hot, stop_pressed;
extern const std::string_view minimize_normal, minimize_hot, minimize_pressed;
extern const std::string_view close_normal, close_hot, close_pressed;
extern const std::string_view box_unticked_normal, box_unticked_hot;
extern const std::string_view box_ticked_normal, box_ticked_hot;
extern const std::string_view side_marker;
extern const std::string_view tray_icon;

}
