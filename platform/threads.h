#pragma once

namespace orvane {

// Runs routine on a new detached thread. Nobody joins or counts it; it ends when the routine
// returns or with the process. A thread that cannot be started is silently not started.
void start_worker(void (*routine)());

void sleep_ms(int milliseconds);

}
