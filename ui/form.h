#pragma once

#include "ui/controls.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace orvane {

// The window's definition as data: what each control is, where it stands, how it looks and
// which handler each of its events runs. The toolkit builds the window from it; the property
// store takes its starting values from it.

enum class Kind { label, transparent_label, edit_box, picture_box, picture_button, hyperlink_box, timer };

using Rgb = std::uint32_t; // 0xRRGGBB

struct Font {
    std::string_view face;  // empty: the system's default GUI font
    int pixel_height = 0;
};

using Handler = void (*)();
using TrayHandler = void (*)(int code);                    // 1 left up, 2 double click, 3 right up
using PressHandler = void (*)(int x, int y, int keys);     // keys: 1 Ctrl + 2 Shift + 4 Alt

struct ControlDef {
    Control name;
    Kind kind;
    Control parent;
    int left, top, width, height;
    bool visible;
    std::string_view text;          // UTF-8 here; held as GBK once loaded
    Rgb text_color;
    Rgb background;                 // unused by transparent labels, picture buttons and timers
    Font font;
    bool wraps;                     // breaks at word boundaries and starts at the top
    std::string_view normal_picture, hot_picture, pressed_picture; // bytes; empty for none
    Handler clicked;                // picture buttons
    Handler tick;                   // timers
    PressHandler left_pressed;      // hyperlink box
};

struct WindowDef {
    int width, height;
    Rgb background;
    std::string_view icon;          // bytes of an ICO file
    Handler created, position_changed, size_changed, will_be_destroyed;
    TrayHandler tray_event;
};

struct Form {
    WindowDef window;
    std::array<ControlDef, control_count - 1> controls; // creation order
};

}
