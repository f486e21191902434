#pragma once

#include "tests/support/fakes.h"
#include "ui/form.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace orvane::testing {

// A fake desktop that also puts transparency changes, exits and property writes into its list
// of calls, so that a test can see the order of everything the behaviour did.
class TimelineDesktop : public FakeDesktop, public WriteListener {
public:
    void set_transparency(int alpha) override
    {
        FakeDesktop::set_transparency(alpha);
        log("alpha " + std::to_string(alpha));
    }
    void exit_process(int code) override
    {
        FakeDesktop::exit_process(code);
        log("exit " + std::to_string(code));
    }
    void written(Control, Property, const Value&) override { log("write"); }

    std::vector<std::string> timeline() const
    {
        std::lock_guard lock(mutex);
        return calls;
    }
};

class WindowTest : public ::testing::Test {
protected:
    WindowTest() { store.add_listener(&desktop); }
    ~WindowTest() override { store.remove_listener(&desktop); }

    // Polls until done() holds; false when it still does not after a generous time.
    static bool wait_until(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    bool wait_for_writes(std::size_t count)
    {
        return wait_until([&] { return recorder.writes().size() >= count; });
    }

    PropertyStore store{Form{}};
    WriteRecorder recorder{store};
    TimelineDesktop desktop;
};

}
