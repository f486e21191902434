#pragma once

#include "ui/form.h"

namespace orvane {

// The main window's definition: its settings and its 22 controls with their event handlers.
const Form& main_form();

}
