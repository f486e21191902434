#include "app/animation.h"

#include "platform/threads.h"
#include "ui/properties.h"

namespace orvane {

void run_frames(int frame_count, int frame_ms, int (*distance)(int k), std::span<const Movement> moving)
{
    for (int k = 1; k <= frame_count; ++k) {
        sleep_ms(frame_ms);
        for (const Movement& m : moving)
            write_int(m.control, m.property, read_int(m.control, m.property) + m.direction * distance(k));
    }
}

}
