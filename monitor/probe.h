#pragma once

#include <atomic>
#include <cstdint>
#include <string>

// The once-a-second reachability probe, its latency text and its failure count.
namespace orvane {

inline constexpr int probe_timeout_ms = 5000;
inline constexpr int alert_threshold = 6;

// Failed probes in a row, in the order the probes finished. Shared by all probe workers.
extern std::atomic<std::int32_t> consecutive_failures;

// The two calls a probe makes beyond the window: the echo test and the alert mail.
struct ProbeServices {
    std::int32_t (*echo_probe)(const std::string& host, int timeout_ms);
    void (*send_alert_mail)();
};

void probe_tick();  // 时钟11: starts one probe_once worker and returns
void probe_once();  // worker: probe_with the real echo test and alert mail

// Probes the server in 编辑框1, shows the latency in 透明标签1 and counts the failure or clears
// the count; the probe whose failure makes the count reach alert_threshold sends the alert.
void probe_with(const ProbeServices&);

}
