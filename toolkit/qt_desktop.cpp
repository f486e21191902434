#include "toolkit/qt_desktop.h"

#include "toolkit/look.h"
#include "toolkit/main_window.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QThread>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <future>

namespace orvane {
namespace {

// The tray event codes: 1 left button released, 2 double click, 3 right button or context key.
int tray_code(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger: return 1;
    case QSystemTrayIcon::DoubleClick: return 2;
    case QSystemTrayIcon::Context: return 3;
    default: return 0;
    }
}

}

QtDesktop::QtDesktop(MainWindow& window, TrayHandler tray_event)
    : m_window(window)
    , m_tray_event(tray_event)
{
}

QtDesktop::~QtDesktop() = default;

void QtDesktop::set_tray_icon(std::string_view ico_bytes, std::string_view tooltip)
{
    m_window.on_gui_thread([this, icon = picture_from_bytes(ico_bytes),
                            tip = text_from_gbk(Bytes(tooltip))] {
        if (!m_tray) {
            m_tray = std::make_unique<QSystemTrayIcon>();
            QObject::connect(m_tray.get(), &QSystemTrayIcon::activated, &m_window,
                             [this](QSystemTrayIcon::ActivationReason reason) {
                                 if (int code = tray_code(reason); code && m_tray_event)
                                     m_tray_event(code);
                             });
        }
        m_tray->setIcon(QIcon(icon));
        m_tray->setToolTip(tip);
        m_tray->show();
    });
}

void QtDesktop::remove_tray_icon()
{
    m_window.on_gui_thread([this] { m_tray.reset(); });
}

bool QtDesktop::tray_icon_shown() const
{
    // A tray host may come or go while the program runs, so ask each time.
    return m_tray && m_tray->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void QtDesktop::set_transparency(int alpha)
{
    if (alpha < 0 || alpha > 255)
        alpha = 255;
    m_window.on_gui_thread([this, alpha] { m_window.setWindowOpacity(alpha / 255.0); });
}

void QtDesktop::destroy_window()
{
    QMetaObject::invokeMethod(&m_window, [this] { m_window.destroy_now(); }, Qt::QueuedConnection);
}

void QtDesktop::open_address(std::string_view url)
{
    m_window.on_gui_thread([address = QUrl(QString::fromUtf8(url.data(), qsizetype(url.size())))] {
        QDesktopServices::openUrl(address);
    });
}

void QtDesktop::show_stop_message(std::string_view text, std::string_view title)
{
    const QString message = text_from_gbk(Bytes(text));
    const QString caption = text_from_gbk(Bytes(title));
    if (QThread::currentThread() == m_window.thread()) {
        QMessageBox box(QMessageBox::Critical, caption, message, QMessageBox::Ok, &m_window);
        box.exec();
        return;
    }
    // From a worker: the box belongs to no window, so the window stays usable, and only this
    // worker waits for OK.
    std::promise<void> pressed;
    m_window.on_gui_thread([&] {
        auto* box = new QMessageBox(QMessageBox::Critical, caption, message, QMessageBox::Ok);
        box->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(box, &QMessageBox::finished, [&pressed] { pressed.set_value(); });
        box->show();
    });
    pressed.get_future().wait();
}

void QtDesktop::exit_process(int code)
{
    std::fflush(nullptr);
    std::_Exit(code);
}

}
