#pragma once

namespace orvane {

struct Form;

// Starts the GUI, loads the window from the form (its created handler runs during the load)
// and runs the message loop until the process ends. Without a display it says so and returns 1.
int run_application(int argc, char** argv, const Form&);

}
