#include "monitor/elapsed.h"
