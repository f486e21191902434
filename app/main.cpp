#include "app/form.h"
#include "toolkit/application.h"

int main(int argc, char** argv)
{
    return orvane::run_application(argc, argv, orvane::main_form());
}
