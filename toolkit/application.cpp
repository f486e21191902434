#include "toolkit/application.h"
