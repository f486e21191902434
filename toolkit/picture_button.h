#pragma once

#include "ui/form.h"

#include <QPixmap>
#include <QWidget>

namespace orvane {

// A button drawn only with pictures: one at rest, one under the mouse (hot), one while pressed;
// a missing hot or pressed picture falls back to the one at rest, and whatever no picture covers
// is black. Clicked is raised when the left button, pressed over the button, is released over it.
class PictureButton final : public QWidget {
public:
    enum class Look { at_rest, hot, pressed };

    PictureButton(const ControlDef&, QWidget* parent);

    void set_picture(Look, std::string_view bytes);
    Look look() const { return m_look; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    void set_look(Look);
    const QPixmap& picture_for(Look) const;

    QPixmap m_pictures[3];
    Look m_look = Look::at_rest;
    bool m_left_down = false;
    Handler m_clicked;
};

}
