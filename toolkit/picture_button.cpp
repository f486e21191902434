#include "toolkit/picture_button.h"

#include "toolkit/look.h"

#include <QMouseEvent>
#include <QPainter>

namespace orvane {

PictureButton::PictureButton(const ControlDef& def, QWidget* parent)
    : QWidget(parent)
    , m_clicked(def.clicked)
{
    setMouseTracking(true);
    set_picture(Look::at_rest, def.normal_picture);
    set_picture(Look::hot, def.hot_picture);
    set_picture(Look::pressed, def.pressed_picture);
}

void PictureButton::set_picture(Look look, std::string_view bytes)
{
    m_pictures[int(look)] = picture_from_bytes(bytes);
    if (look == Look::at_rest || look == m_look)
        repaint();
}

const QPixmap& PictureButton::picture_for(Look look) const
{
    const QPixmap& own = m_pictures[int(look)];
    return own.isNull() ? m_pictures[int(Look::at_rest)] : own;
}

void PictureButton::set_look(Look look)
{
    if (look == m_look)
        return;
    m_look = look;
    repaint();
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawPixmap(0, 0, picture_for(m_look));
}

void PictureButton::mouseMoveEvent(QMouseEvent* event)
{
    const bool inside = rect().contains(event->position().toPoint());
    if (m_left_down)
        set_look(inside ? Look::pressed : Look::at_rest);
    else
        set_look(inside ? Look::hot : Look::at_rest);
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_left_down = true;
    set_look(Look::pressed);
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_left_down)
        return;
    m_left_down = false;
    // At rest even though the mouse is still over the button, until the mouse moves again.
    set_look(Look::at_rest);
    if (rect().contains(event->position().toPoint()) && m_clicked)
        m_clicked();
}

void PictureButton::leaveEvent(QEvent*)
{
    if (!m_left_down)
        set_look(Look::at_rest);
}

}
