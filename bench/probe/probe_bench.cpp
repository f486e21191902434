// Measures the reachability probe. Run as root: it builds two network namespaces joined by a veth
// pair and probes only addresses inside them.
//
//   1. The round-trip time that echo_probe reports against iputils ping, both probing the same
//      host whose echo responder adds a fixed delay, one after the other in this run.
//   2. Resident memory after 100 and after 10,000 probes, each on a thread of its own as the
//      timer ticks start them, and the CPU time those probes take per minute of monitoring.
#include "monitor/probe.h"
#include "platform/echo_probe.h"
#include "tests/monitor/netns_lab.h"
#include "ui/form.h"
#include "ui/properties.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using orvane::testing::EchoResponder;
using orvane::testing::VethPair;

constexpr auto responder_delay = 25ms;
constexpr int rtt_samples = 20;

long resident_kib()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

double cpu_seconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Average round-trip time that iputils ping reports, in ms; -1 when it cannot be read.
double ping_average_ms(const VethPair& lab)
{
    std::string command = "ip netns exec " + lab.near.name() + " ping -n -q -c "
        + std::to_string(rtt_samples) + " -i 0.2 -W 2 " + VethPair::far_address;
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        ::pclose(pipe);
    }
    double min = 0, average = -1;
    std::size_t at = output.find(" = ");
    if (at == std::string::npos || std::sscanf(output.c_str() + at, " = %lf/%lf", &min, &average) != 2)
        return -1;
    return average;
}

void compare_with_ping(const VethPair& lab)
{
    EchoResponder responder(lab.far, VethPair::far_address, responder_delay);
    if (!responder.ready()) {
        std::puts("echo responder could not start");
        return;
    }
    std::vector<int> results;
    if (!lab.near.enter([&] {
            for (int i = 0; i < rtt_samples; ++i) {
                results.push_back(orvane::echo_probe(VethPair::far_address, 2000));
                std::this_thread::sleep_for(200ms);
            }
        }))
        return;
    double probe_average = std::accumulate(results.begin(), results.end(), 0.0) / double(results.size());
    double ping_average = ping_average_ms(lab);
    auto [low, high] = std::minmax_element(results.begin(), results.end());
    std::printf("delay added by the responder   %lld ms\n", static_cast<long long>(responder_delay.count()));
    std::printf("echo_probe, %d probes          avg %.2f ms (min %d, max %d; whole ms, truncated)\n",
                rtt_samples, probe_average, *low, *high);
    std::printf("iputils ping, %d probes        avg %.3f ms\n", rtt_samples, ping_average);
    std::printf("ratio echo_probe / ping        %.3f\n", probe_average / ping_average);
}

void memory_and_cpu(const VethPair& lab)
{
    orvane::PropertyStore store{orvane::Form{}};
    store.write_bytes(orvane::Control::编辑框1, orvane::Property::text, "127.0.0.1");
    long after_100 = 0, after_10000 = 0;
    double cpu_start = 0, cpu_end = 0;
    if (!lab.near.enter([&] {
            // Each worker thread starts in the namespace of the thread that creates it.
            cpu_start = cpu_seconds();
            for (int i = 1; i <= 10000; ++i) {
                std::thread(orvane::probe_once).join();
                if (i == 100)
                    after_100 = resident_kib();
            }
            cpu_end = cpu_seconds();
            after_10000 = resident_kib();
        }))
        return;
    std::printf("RSS after 100 probes           %ld KiB\n", after_100);
    std::printf("RSS after 10000 probes         %ld KiB\n", after_10000);
    std::printf("ratio RSS 10000 / 100          %.3f\n", double(after_10000) / double(after_100));
    double per_probe = (cpu_end - cpu_start) / 10000;
    std::printf("CPU per probe (loopback)       %.1f us\n", per_probe * 1e6);
    std::printf("CPU per minute of probing      %.2f ms (one probe a second)\n", per_probe * 60 * 1e3);
    std::printf("consecutive_failures at end    %d\n", orvane::consecutive_failures.load());
}

}

int main()
{
    VethPair lab;
    if (!lab.ok || !lab.far.sysctl("net.ipv4.icmp_echo_ignore_all", "1")) {
        std::puts("needs root, ip netns and veth");
        return 1;
    }
    compare_with_ping(lab);
    memory_and_cpu(lab);
    return 0;
}
