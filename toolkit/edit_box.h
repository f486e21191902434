#pragma once

#include "ui/form.h"

#include <QLineEdit>

namespace orvane {

// Single-line input without a length limit, in the window's colours with a thin frame. Its
// selection shows only while it has the focus.
class EditBox final : public QLineEdit {
public:
    EditBox(const ControlDef&, QWidget* parent);
};

}
