#include "app/form.h"

#include "alert/alert_mail.h"
#include "app/agreement_panel.h"
#include "app/slide_in.h"
#include "app/window_life.h"
#include "assets/assets.h"
#include "monitor/elapsed.h"
#include "monitor/probe.h"
#include "monitor/switch.h"

namespace orvane {
namespace {

using enum Control;
using namespace assets;

constexpr Rgb window_colour = 0x2D2D30;
constexpr Rgb white = 0xFFFFFF;
constexpr Rgb grey = 0xB3B3B3;
constexpr Rgb red = 0xFF0000;
constexpr Rgb blue = 0x0000FF;
constexpr Rgb black = 0x000000;

constexpr Font system_font{};
constexpr Font yahei(int pixel_height) { return {"微软雅黑", pixel_height}; }

constexpr ControlDef label(Control name, int l, int t, int w, int h, std::string_view text,
                           Rgb colour, Font font, bool wraps = false)
{
    return {name, Kind::label, main_window, l, t, w, h, true, text, colour, window_colour, font, wraps,
            {}, {}, {}, nullptr, nullptr, nullptr};
}

constexpr ControlDef transparent_label(Control name, int l, int t, int w, int h, bool visible,
                                       std::string_view text, Rgb colour)
{
    return {name, Kind::transparent_label, main_window, l, t, w, h, visible, text, colour, 0, system_font,
            false, {}, {}, {}, nullptr, nullptr, nullptr};
}

constexpr ControlDef edit_box(Control name, int l, int t, int w, int h)
{
    return {name, Kind::edit_box, main_window, l, t, w, h, true, {}, grey, window_colour, yahei(12),
            false, {}, {}, {}, nullptr, nullptr, nullptr};
}

constexpr ControlDef picture_button(Control name, Control parent, int l, int t, int w, int h,
                                    std::string_view normal, std::string_view hot,
                                    std::string_view pressed, Handler clicked)
{
    return {name, Kind::picture_button, parent, l, t, w, h, true, {}, 0, 0, system_font, false,
            normal, hot, pressed, clicked, nullptr, nullptr};
}

constexpr ControlDef picture_box(Control name, int l, int t, int w, int h, Rgb fill,
                                 std::string_view picture)
{
    return {name, Kind::picture_box, main_window, l, t, w, h, true, {}, 0, fill, system_font, false,
            picture, {}, {}, nullptr, nullptr, nullptr};
}

constexpr ControlDef timer(Control name, int l, int t, Handler tick)
{
    return {name, Kind::timer, main_window, l, t, 32, 32, false, {}, 0, 0, system_font, false,
            {}, {}, {}, nullptr, tick, nullptr};
}

constexpr ControlDef hyperlink_box(Control name, int l, int t, int w, int h, std::string_view text,
                                   PressHandler pressed)
{
    return {name, Kind::hyperlink_box, main_window, l, t, w, h, true, text, blue, window_colour,
            system_font, false, {}, {}, {}, nullptr, nullptr, pressed};
}

}

const Form& main_form()
{
    // Built on first use: the pictures are defined in another translation unit.
    static const Form form{
        {388, 409, window_colour, tray_icon, on_created, on_position_changed, nullptr,
         on_will_be_destroyed, on_tray_event},
        {{
            transparent_label(透明标签2, 201, 145, 135, 24, false, "时间", white),
            picture_button(图形按钮6, main_window, 337, 200, 48, 26, test_normal, test_hot,
                           test_pressed, send_alert_mail),
            transparent_label(透明标签1, 201, 112, 160, 24, true, "服务器当前延迟", red),
            timer(时钟12, 48, 378, elapsed_tick),
            timer(时钟11, 79, 378, probe_tick),
            label(标签7, 26, 170, 232, 24, "请输入您的邮箱：", grey, system_font),
            edit_box(编辑框2, 26, 202, 310, 24),
            picture_button(图形按钮5, 图片框2, 287, 60, 80, 26, {}, {}, {}, switch_clicked),
            picture_box(图片框2, 0, 309, 388, 100, black, {}),
            label(标签6, 26, 271, 334, 48,
                  "Orvane服务器监控会自动向您的服务器发送数据包，如发现服务器宕机会及时发送邮件"
                  "通知您，如软件更新会通知您。",
                  grey, yahei(12), true),
            edit_box(编辑框1, 26, 144, 310, 24),
            label(标签4, 26, 112, 166, 24, "请输入您的服务器IP或者域名：", grey, system_font),
            hyperlink_box(超级链接框1, 99, 232, 110, 24, "Orvane以下协议", link_pressed),
            picture_box(图片框1, 0, 64, 22, 43, window_colour, side_marker),
            picture_button(图形按钮4, main_window, 355, 9, 26, 26, close_normal, close_hot,
                           close_pressed, close_clicked),
            picture_button(图形按钮3, main_window, 323, 9, 26, 26, minimize_normal, minimize_hot,
                           minimize_pressed, minimize_clicked),
            label(标签3, 26, 72, 72, 24, "1.0正式版", white, yahei(14)),
            label(标签2, 3, 24, 286, 32, "Orvane服务器监控", white, yahei(32)),
            label(标签1, 50, 315, 128, 24, "我同意许可条款和条件", grey, yahei(12)),
            picture_button(图形按钮1, main_window, 26, 319, 16, 16, box_unticked_normal,
                           box_unticked_hot, {}, tick_box_clicked),
            picture_button(图形按钮2, main_window, 26, 319, 16, 16, box_ticked_normal,
                           box_ticked_hot, {}, untick_box_clicked),
            label(标签5, 26, 232, 294, 24,
                  "您必须先同意                            ,然后才能使用产品。", grey, yahei(12)),
        }},
    };
    return form;
}

}
