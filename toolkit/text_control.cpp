#include "toolkit/text_control.h"

#include "toolkit/look.h"

#include <QMouseEvent>
#include <QPainter>

namespace orvane {

TextControl::TextControl(const ControlDef& def, QWidget* parent)
    : QWidget(parent)
    , m_colour(to_qcolor(def.text_color))
    , m_background(to_qcolor(def.background))
    , m_wraps(def.wraps)
{
    setFont(to_qfont(def.font));
}

void TextControl::set_text(const QString& text)
{
    m_text = text;
    update();
}

void TextControl::fill_background()
{
    QPainter(this).fillRect(rect(), m_background);
}

void TextControl::paint_text(int alignment)
{
    QPainter painter(this);
    painter.setPen(m_colour);
    painter.drawText(rect(), alignment, m_text);
}

void Label::paintEvent(QPaintEvent*)
{
    fill_background();
    paint_text(wraps() ? Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap
                       : Qt::AlignLeft | Qt::AlignVCenter);
}

void TransparentLabel::paintEvent(QPaintEvent*)
{
    paint_text(Qt::AlignLeft | Qt::AlignVCenter);
}

void TransparentLabel::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

HyperlinkBox::HyperlinkBox(const ControlDef& def, QWidget* parent)
    : TextControl(def, parent)
    , m_pressed(def.left_pressed)
{
    setCursor(Qt::PointingHandCursor);
}

void HyperlinkBox::paintEvent(QPaintEvent*)
{
    fill_background();
    paint_text(Qt::AlignCenter);
}

void HyperlinkBox::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    const Qt::KeyboardModifiers held = event->modifiers();
    const int keys = (held & Qt::ControlModifier ? 1 : 0) + (held & Qt::ShiftModifier ? 2 : 0)
        + (held & Qt::AltModifier ? 4 : 0);
    const QPoint at = event->position().toPoint();
    m_pressed(at.x(), at.y(), keys);
}

}
