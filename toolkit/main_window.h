#pragma once

#include "ui/form.h"
#include "ui/properties.h"

#include <QWidget>

#include <array>
#include <functional>

namespace orvane {

class Timer;

// The frameless main window, built from the form, and the one place where property writes
// reach the widgets: a write on the GUI thread is applied at once, a worker's write is posted to
// the GUI thread in the order the store took it. Each application shows the store's current
// value, so the widgets always end up showing what the store holds.
class MainWindow final : public QWidget, private WriteListener {
public:
    MainWindow(const Form&, PropertyStore&);
    ~MainWindow() override;

    // Raises created, then position changed, then size changed, as loading the window does.
    void load();
    // Raises will be destroyed and hides the window; the handler normally ends the process.
    void destroy_now();
    // Runs fn on the GUI thread: at once when called there, else when the loop next runs.
    void on_gui_thread(std::function<void()> fn);

    QWidget* widget(Control) const;
    Timer* timer(Control) const;

protected:
    void mousePressEvent(QMouseEvent*) override;
    void moveEvent(QMoveEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void changeEvent(QEvent*) override;
    void closeEvent(QCloseEvent*) override;

private:
    void create_controls(const Form&);
    void written(Control, Property, const Value&) override;
    void settled(Control, Property, const Value&) override;
    void apply(Control, Property, const Value&);
    void apply_to_window(Property, const Value&);
    void apply_window_state(int state);
    void show_window();
    void hide_window();
    void centre_on_primary_screen();
    int real_window_state() const;
    void raise_later(Handler);

    const Form& m_form;
    PropertyStore& m_store;
    std::array<QObject*, control_count> m_controls{};
    int m_remembered_state = -1; // a window_state written while hidden, -1 for none
    int m_last_state = 0;
};

}
