#include "monitor/probe.h"

#include "alert/alert_mail.h"
#include "platform/echo_probe.h"
#include "platform/gbk.h"
#include "platform/threads.h"
#include "ui/properties.h"

namespace orvane {

std::atomic<std::int32_t> consecutive_failures{0};

void probe_tick()
{
    start_worker(probe_once);
}

void probe_once()
{
    probe_with({echo_probe, send_alert_mail});
}

void probe_with(const ProbeServices& services)
{
    static const std::string latency_prefix = to_gbk("服务器当前延迟：");
    const std::int32_t result =
        services.echo_probe(read_bytes(Control::编辑框1, Property::text), probe_timeout_ms);
    write_bytes(Control::透明标签1, Property::text, latency_prefix + std::to_string(result) + "ms");
    if (result != -1) {
        consecutive_failures.store(0);
        return;
    }
    // Exactly one worker sees the count step from one below the threshold to the threshold.
    if (consecutive_failures.fetch_add(1) == alert_threshold - 1)
        services.send_alert_mail();
}

}
