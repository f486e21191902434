#include "monitor/probe.h"
