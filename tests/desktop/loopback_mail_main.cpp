#include "alert/alert_mail.h"
#include "app/form.h"
#include "toolkit/application.h"

// The program as shipped, except that its alert goes to the test mail server on this machine.
int main(int argc, char** argv)
{
    orvane::use_alert_account({"127.0.0.1", orvane::smtp_port, "monitor@orvane.example", "abc123456"});
    return orvane::run_application(argc, argv, orvane::main_form());
}
