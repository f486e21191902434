#include "ui/desktop.h"

#include <atomic>

namespace orvane {
namespace {
std::atomic<Desktop*> installed{nullptr};
}

Desktop& desktop() { return *installed.load(std::memory_order_acquire); }
void set_desktop(Desktop* d) { installed.store(d, std::memory_order_release); }

}
