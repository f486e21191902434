#pragma once

#include <string_view>

namespace orvane {

// What the behaviour asks of the desktop beyond the controls. The toolkit provides the real
// one; tests install their own.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Adds the notification-area icon, or replaces icon and tooltip (GBK) of the one there.
    virtual void set_tray_icon(std::string_view ico_bytes, std::string_view tooltip) = 0;
    virtual void remove_tray_icon() = 0;
    // Whether the icon stands in a notification area now: it needs a tray host on the desktop.
    [[nodiscard]] virtual bool tray_icon_shown() const = 0;

    // The main window's alpha, 0 (invisible) to 255; any thread.
    virtual void set_transparency(int alpha) = 0;
    // Asks the GUI thread to destroy the main window; any thread, returns at once.
    virtual void destroy_window() = 0;

    // Hands the address to the desktop's default browser.
    virtual void open_address(std::string_view url) = 0;

    // A message box with the stop icon and one OK button (texts in GBK); returns when the user
    // presses OK. From the GUI thread it is modal for the window; from a worker only that worker
    // waits and the window stays usable.
    virtual void show_stop_message(std::string_view text, std::string_view title) = 0;

    // Ends the process at once with this code, whatever workers are still running.
    virtual void exit_process(int code) = 0;
};

Desktop& desktop();
void set_desktop(Desktop*);

}
