#include "toolkit/picture_box.h"

#include "toolkit/look.h"

#include <QPainter>

namespace orvane {

PictureBox::PictureBox(const ControlDef& def, QWidget* parent)
    : QWidget(parent)
    , m_fill(to_qcolor(def.background))
    , m_picture(picture_from_bytes(def.normal_picture))
{
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_fill);
    painter.drawPixmap(0, 0, m_picture);
}

}
