#include "alert/alert_mail.h"
