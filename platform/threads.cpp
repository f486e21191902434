#include "platform/threads.h"

#include <chrono>
#include <system_error>
#include <thread>

namespace orvane {

void start_worker(void (*routine)())
{
    try {
        std::thread(routine).detach();
    } catch (const std::system_error&) {
        // Out of threads: this event is lost, as if it had not happened.
    }
}

void sleep_ms(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}
