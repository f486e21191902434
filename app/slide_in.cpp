#include "app/slide_in.h"
