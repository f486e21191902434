#include "toolkit/application.h"

#include "toolkit/main_window.h"
#include "toolkit/qt_desktop.h"
#include "ui/properties.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace orvane {
namespace {

bool has_display()
{
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* value = std::getenv(name); value && *value)
            return true;
    return false;
}

// The form asks for "微软雅黑" and for the system's default GUI font; on Linux both come from
// whichever Chinese font is installed.
void choose_fonts()
{
    const QStringList chinese_fonts{"Microsoft YaHei", "WenQuanYi Micro Hei", "Noto Sans CJK SC",
                                    "Droid Sans Fallback"};
    QFont::insertSubstitutions(QStringLiteral("微软雅黑"), chinese_fonts);
    QFont gui_font;
    gui_font.setFamilies(chinese_fonts);
    gui_font.setPixelSize(12);
    QApplication::setFont(gui_font);
}

}

int run_application(int argc, char** argv, const Form& form)
{
    if (!has_display()) {
        std::fputs("orvane-monitor: no display to show the window on (DISPLAY is not set)\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    choose_fonts();
    PropertyStore store(form);
    MainWindow window(form, store);
    QtDesktop desktop(window, form.window.tray_event);
    set_desktop(&desktop);
    window.load();
    return app.exec();
}

}
