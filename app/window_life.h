#pragma once

// The life of the main window apart from monitoring: start-up, tray, minimize, close with a
// fade-out, and the link to the product's web page.
namespace orvane {

void on_created();
void on_position_changed();
void on_tray_event(int code);
void on_will_be_destroyed();

void minimize_clicked();                        // 图形按钮3
void close_clicked();                           // 图形按钮4
void link_pressed(int x, int y, int keys);      // 超级链接框1

void fade_out_and_close();                      // worker

}
