#include "monitor/switch.h"

#include "assets/assets.h"
#include "ui/properties.h"

namespace orvane {

date_time monitor_started_at = 0;

namespace {

constexpr int tick_period_ms = 1000;

void show_pictures(std::string_view normal, std::string_view hot, std::string_view pressed)
{
    write_bytes(Control::图形按钮5, Property::normal_picture, normal);
    write_bytes(Control::图形按钮5, Property::hot_picture, hot);
    write_bytes(Control::图形按钮5, Property::pressed_picture, pressed);
}

void start_monitoring()
{
    show_pictures(assets::stop_normal, assets::stop_hot, assets::stop_pressed);
    write_int(Control::透明标签2, Property::visible, 1);
    monitor_started_at = current_date_time();
    write_int(Control::时钟12, Property::timer_period, tick_period_ms);
    write_int(Control::时钟11, Property::timer_period, tick_period_ms);
}

void stop_monitoring()
{
    write_int(Control::时钟11, Property::timer_period, 0);
    show_pictures(assets::start_normal, assets::start_hot, assets::start_pressed);
}

}

void switch_clicked()
{
    // The picture on the button is the state: anything but the start picture means running.
    if (read_bytes(Control::图形按钮5, Property::normal_picture) == assets::start_normal)
        start_monitoring();
    else
        stop_monitoring();
}

}
