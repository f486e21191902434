#include "app/agreement_panel.h"
