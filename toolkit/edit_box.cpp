#include "toolkit/edit_box.h"

#include "toolkit/look.h"

#include <limits>

namespace orvane {
namespace {
constexpr Rgb window_frame_colour = 0x646464;
}

EditBox::EditBox(const ControlDef& def, QWidget* parent)
    : QLineEdit(parent)
{
    setMaxLength(std::numeric_limits<int>::max());
    setFont(to_qfont(def.font));
    setFocusPolicy(Qt::StrongFocus);
    setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid %1; background: %2; color: %3; }")
                      .arg(to_qcolor(window_frame_colour).name(), to_qcolor(def.background).name(),
                           to_qcolor(def.text_color).name()));
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight, to_qcolor(def.background));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText, to_qcolor(def.text_color));
    setPalette(colours);
}

}
