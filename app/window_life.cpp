#include "app/window_life.h"
