#pragma once

namespace orvane {

// The main window and its controls, named as the form names them. The controls stand in
// creation order, which is also their stacking order: each lies below those before it.
enum class Control {
    main_window,
    透明标签2, 图形按钮6, 透明标签1, 时钟12, 时钟11, 标签7, 编辑框2, 图形按钮5, 图片框2, 标签6,
    编辑框1, 标签4, 超级链接框1, 图片框1, 图形按钮4, 图形按钮3, 标签3, 标签2, 标签1, 图形按钮1,
    图形按钮2, 标签5,
};
inline constexpr int control_count = 23; // the window and its 22 controls

enum class Property {
    left, top, width, height, visible, text, timer_period,
    normal_picture, hot_picture, pressed_picture, window_state,
};
inline constexpr int property_count = 11;

constexpr bool holds_bytes(Property p)
{
    return p == Property::text || p == Property::normal_picture || p == Property::hot_picture
        || p == Property::pressed_picture;
}

// Values of window_state.
inline constexpr int window_normal = 0;
inline constexpr int window_restore_centred = 1; // written only: never read back
inline constexpr int window_minimized = 2;
inline constexpr int window_maximized = 3;

}
