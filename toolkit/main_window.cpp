#include "toolkit/main_window.h"

#include "toolkit/edit_box.h"
#include "toolkit/look.h"
#include "toolkit/picture_box.h"
#include "toolkit/picture_button.h"
#include "toolkit/text_control.h"
#include "toolkit/timer.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QScreen>
#include <QThread>
#include <QWindow>

namespace orvane {
namespace {

bool on_gui_thread_now()
{
    return QThread::currentThread() == qApp->thread();
}

QObject* make_control(const ControlDef& def, QWidget* window)
{
    switch (def.kind) {
    case Kind::label: return new Label(def, window);
    case Kind::transparent_label: return new TransparentLabel(def, window);
    case Kind::hyperlink_box: return new HyperlinkBox(def, window);
    case Kind::edit_box: return new EditBox(def, window);
    case Kind::picture_box: return new PictureBox(def, window);
    case Kind::picture_button: return new PictureButton(def, window);
    case Kind::timer: return new Timer(def, window);
    }
    return nullptr;
}

PictureButton::Look look_of(Property p)
{
    switch (p) {
    case Property::hot_picture: return PictureButton::Look::hot;
    case Property::pressed_picture: return PictureButton::Look::pressed;
    default: return PictureButton::Look::at_rest;
    }
}

}

MainWindow::MainWindow(const Form& form, PropertyStore& store)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    , m_form(form)
    , m_store(store)
{
    setWindowTitle(QString());
    setWindowIcon(QIcon(picture_from_bytes(form.window.icon)));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, to_qcolor(form.window.background));
    setPalette(colours);
    setAutoFillBackground(true);
    resize(form.window.width, form.window.height);
    centre_on_primary_screen();
    create_controls(form);
    m_store.add_listener(this);
}

MainWindow::~MainWindow()
{
    m_store.remove_listener(this);
}

void MainWindow::create_controls(const Form& form)
{
    for (const ControlDef& def : form.controls) {
        QObject* control = make_control(def, this);
        m_controls[int(def.name)] = control;
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            connect(edit, &QLineEdit::textChanged, this, [this, name = def.name](const QString& text) {
                m_store.record_actual(name, Property::text, text_to_gbk(text));
            });
    }
    // A parent may come later in the creation order than its children.
    for (const ControlDef& def : form.controls) {
        QWidget* w = widget(def.name);
        if (!w)
            continue;
        if (def.parent != Control::main_window)
            w->setParent(widget(def.parent));
        w->setGeometry(def.left, def.top, def.width, def.height);
        if (auto* text = dynamic_cast<TextControl*>(w))
            text->set_text(QString::fromUtf8(def.text.data(), qsizetype(def.text.size())));
        if (!qobject_cast<QLineEdit*>(w))
            w->setFocusPolicy(Qt::NoFocus);
        w->setVisible(def.visible);
    }
    // The first control of the form lies on top of those after it.
    for (auto def = form.controls.rbegin(); def != form.controls.rend(); ++def)
        if (QWidget* w = widget(def->name))
            w->raise();
}

QWidget* MainWindow::widget(Control c) const
{
    return c == Control::main_window ? const_cast<MainWindow*>(this)
                                     : qobject_cast<QWidget*>(m_controls[int(c)]);
}

Timer* MainWindow::timer(Control c) const
{
    return dynamic_cast<Timer*>(m_controls[int(c)]);
}

void MainWindow::load()
{
    for (Handler h : {m_form.window.created, m_form.window.position_changed, m_form.window.size_changed})
        if (h)
            h();
}

void MainWindow::destroy_now()
{
    if (m_form.window.will_be_destroyed)
        m_form.window.will_be_destroyed();
    hide();
}

void MainWindow::on_gui_thread(std::function<void()> fn)
{
    if (on_gui_thread_now())
        fn();
    else
        QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

void MainWindow::raise_later(Handler h)
{
    // Events come one at a time: this one waits until the running handler has returned.
    if (h)
        QMetaObject::invokeMethod(this, [h] { h(); }, Qt::QueuedConnection);
}

void MainWindow::written(Control c, Property p, const Value& value)
{
    if (!on_gui_thread_now())
        QMetaObject::invokeMethod(this, [this, c, p, value] { apply(c, p, value); },
                                  Qt::QueuedConnection);
}

void MainWindow::settled(Control c, Property p, const Value& value)
{
    if (on_gui_thread_now())
        apply(c, p, value);
}

// Shows the store's current value; only a window_state write, being an action, uses the value
// it was written with.
void MainWindow::apply(Control c, Property p, const Value& value)
{
    if (c == Control::main_window)
        return apply_to_window(p, value);
    if (Timer* t = timer(c)) {
        if (p == Property::timer_period)
            t->set_period(m_store.read_int(c, p));
        return;
    }
    QWidget* w = widget(c);
    switch (p) {
    case Property::left:
    case Property::top:
        w->move(m_store.read_int(c, Property::left), m_store.read_int(c, Property::top));
        break;
    case Property::width:
    case Property::height:
        w->resize(m_store.read_int(c, Property::width), m_store.read_int(c, Property::height));
        break;
    case Property::visible:
        w->setVisible(m_store.read_int(c, p));
        break;
    case Property::text: {
        const QString text = text_from_gbk(m_store.read_bytes(c, p));
        if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->text() != text)
            edit->setText(text);
        else if (auto* label = dynamic_cast<TextControl*>(w))
            label->set_text(text);
        break;
    }
    case Property::normal_picture:
    case Property::hot_picture:
    case Property::pressed_picture:
        if (auto* button = dynamic_cast<PictureButton*>(w))
            button->set_picture(look_of(p), m_store.read_bytes(c, p));
        break;
    default:
        break;
    }
}

void MainWindow::apply_to_window(Property p, const Value& value)
{
    switch (p) {
    case Property::width:
    case Property::height:
        resize(m_store.read_int(Control::main_window, Property::width),
               m_store.read_int(Control::main_window, Property::height));
        break;
    case Property::visible:
        if (m_store.read_int(Control::main_window, p))
            show_window();
        else
            hide_window();
        break;
    case Property::window_state:
        if (isVisible())
            apply_window_state(std::get<int>(value));
        else
            m_remembered_state = std::get<int>(value);
        break;
    default:
        break;
    }
}

void MainWindow::show_window()
{
    // A minimized window that was hidden would map minimized again; it comes back normal.
    show();
    if (m_remembered_state >= 0)
        apply_window_state(std::exchange(m_remembered_state, -1));
}

void MainWindow::hide_window()
{
    // A window withdrawn while minimized maps minimized again, or not at all, when it is next
    // shown: it leaves the screen in the normal state.
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    hide();
}

void MainWindow::apply_window_state(int state)
{
    switch (state) {
    case window_normal:
        showNormal();
        break;
    case window_restore_centred:
        if (isMinimized() || isMaximized())
            showNormal();
        centre_on_primary_screen();
        break;
    case window_minimized:
        showMinimized();
        break;
    case window_maximized:
        showMaximized();
        break;
    default:
        break;
    }
}

void MainWindow::centre_on_primary_screen()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.x() + (screen.width() - width()) / 2, screen.y() + (screen.height() - height()) / 2);
}

int MainWindow::real_window_state() const
{
    if (isMinimized())
        return window_minimized;
    return isMaximized() ? window_maximized : window_normal;
}

void MainWindow::mousePressEvent(QMouseEvent* event)
{
    // Presses on labels and picture boxes end up here too: they all drag the window.
    if (event->button() != Qt::LeftButton)
        return;
    if (QWindow* handle = windowHandle())
        handle->startSystemMove();
}

void MainWindow::moveEvent(QMoveEvent*)
{
    raise_later(m_form.window.position_changed);
}

void MainWindow::resizeEvent(QResizeEvent*)
{
    raise_later(m_form.window.size_changed);
}

void MainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const int state = real_window_state();
    m_store.record_actual(Control::main_window, Property::window_state, state);
    // Minimizing and restoring move the window; X11 reports no move for them, so say it here.
    if ((state == window_minimized) != (m_last_state == window_minimized))
        raise_later(m_form.window.position_changed);
    m_last_state = state;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Closed by the window manager: the window is destroyed like at the end of the fade-out.
    event->ignore();
    destroy_now();
}

}
