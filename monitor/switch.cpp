#include "monitor/switch.h"
