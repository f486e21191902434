#pragma once

#include "ui/form.h"

#include <QWidget>

namespace orvane {

// What the three text-showing kinds share: a line of text (or a wrapped block) in its own font
// and colour. Each kind decides whether it paints a background and how it takes the mouse.
class TextControl : public QWidget {
public:
    TextControl(const ControlDef&, QWidget* parent);

    void set_text(const QString&);

protected:
    void paint_text(int alignment);
    void fill_background();

    bool wraps() const { return m_wraps; }

private:
    QString m_text;
    QColor m_colour;
    QColor m_background;
    bool m_wraps;
};

// Text on its own background colour; a press passes on to the window, which starts a drag.
class Label final : public TextControl {
public:
    using TextControl::TextControl;

protected:
    void paintEvent(QPaintEvent*) override;
};

// Only the text: whatever lies beneath shows through. Takes presses without moving the window.
class TransparentLabel final : public TextControl {
public:
    using TextControl::TextControl;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
};

// A centred link text in blue with a hand pointer; a left press raises the form's handler.
class HyperlinkBox final : public TextControl {
public:
    HyperlinkBox(const ControlDef&, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    PressHandler m_pressed;
};

}
