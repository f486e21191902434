#include "app/window_life.h"

#include "app/slide_in.h"
#include "assets/assets.h"
#include "platform/gbk.h"
#include "platform/threads.h"
#include "ui/desktop.h"
#include "ui/properties.h"

namespace orvane {
namespace {

using enum Control;

constexpr int tray_left_button_up = 1;
constexpr int opaque = 255;
constexpr int fade_step = 15;
constexpr int fade_frame_ms = 10;

}

void on_created()
{
    write_bytes(图形按钮5, Property::normal_picture, assets::start_normal);
    write_bytes(图形按钮5, Property::hot_picture, assets::start_hot);
    write_bytes(图形按钮5, Property::pressed_picture, assets::start_pressed);
    desktop().set_tray_icon(assets::tray_icon, to_gbk("服务器监控"));
    write_int(图片框2, Property::height, 0);
    prepare_slide_in();
    write_int(main_window, Property::visible, 1);
    start_worker(slide_in_controls);
}

// A minimized window lives on as the tray icon. Without an icon in a notification area nothing
// could bring a hidden window back, so then it stays minimized in the taskbar.
void on_position_changed()
{
    if (read_int(main_window, Property::window_state) == window_minimized && desktop().tray_icon_shown())
        write_int(main_window, Property::visible, 0);
}

void on_tray_event(int code)
{
    if (code != tray_left_button_up)
        return;
    write_int(main_window, Property::visible, 1);
    write_int(main_window, Property::window_state, window_restore_centred);
}

void on_will_be_destroyed()
{
    desktop().remove_tray_icon();
    desktop().exit_process(0);
}

void minimize_clicked() { write_int(main_window, Property::window_state, window_minimized); }

void close_clicked() { start_worker(fade_out_and_close); }

void link_pressed(int, int, int) { desktop().open_address(ORVANE_WEB_ADDRESS); }

// The first setting makes the window layered while it is still opaque; the last frame and the
// extra write leave it invisible until the GUI thread destroys it.
void fade_out_and_close()
{
    desktop().set_transparency(opaque);
    for (int alpha = opaque; alpha >= 0; alpha -= fade_step) {
        sleep_ms(fade_frame_ms);
        desktop().set_transparency(alpha);
    }
    desktop().set_transparency(0);
    desktop().destroy_window();
}

}
