#pragma once

#include "ui/form.h"

#include <QPixmap>
#include <QWidget>

namespace orvane {

// A rectangle filled with its colour, showing its picture, if any, at natural size from the
// top-left corner. Presses pass on to the window, which starts a drag.
class PictureBox final : public QWidget {
public:
    PictureBox(const ControlDef&, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor m_fill;
    QPixmap m_picture;
};

}
