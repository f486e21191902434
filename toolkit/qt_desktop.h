#pragma once

#include "ui/desktop.h"
#include "ui/form.h"

#include <memory>

class QSystemTrayIcon;

namespace orvane {

class MainWindow;

// The desktop services on Qt: tray icon, window transparency and destruction, the default
// browser, the stop message box and the end of the process.
class QtDesktop final : public Desktop {
public:
    QtDesktop(MainWindow&, TrayHandler);
    ~QtDesktop() override;

    void set_tray_icon(std::string_view ico_bytes, std::string_view tooltip) override;
    void remove_tray_icon() override;
    bool tray_icon_shown() const override;
    void set_transparency(int alpha) override;
    void destroy_window() override;
    void open_address(std::string_view url) override;
    void show_stop_message(std::string_view text, std::string_view title) override;
    void exit_process(int code) override;

private:
    MainWindow& m_window;
    TrayHandler m_tray_event;
    std::unique_ptr<QSystemTrayIcon> m_tray;
};

}
