#pragma once

#include <atomic>
#include <cstdint>

// The once-a-second reachability probe, its latency text and its failure count.
namespace orvane {

inline constexpr int probe_timeout_ms = 5000;
inline constexpr int alert_threshold = 6;

extern std::atomic<std::int32_t> consecutive_failures;

void probe_tick();  // 时钟11: starts one probe_once worker
void probe_once();  // worker

}
