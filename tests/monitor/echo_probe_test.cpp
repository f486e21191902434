#include "platform/echo_probe.h"

#include "tests/monitor/netns_lab.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>
#include <sstream>
#include <string>
#include <vector>

namespace orvane {
namespace {

using namespace std::chrono_literals;
using testing::EchoResponder;
using testing::NetNamespace;
using testing::VethPair;

struct Timed {
    std::int32_t result;
    std::chrono::milliseconds took;
};

Timed timed_probe(const std::string& host, int timeout_ms)
{
    auto start = std::chrono::steady_clock::now();
    std::int32_t result = echo_probe(host, timeout_ms);
    return {result, std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)};
}

TEST(InternetChecksum, OnesComplementOfTheOnesComplementSum)
{
    struct Row {
        std::vector<std::uint8_t> message;
        std::uint16_t checksum;
    };
    const Row rows[] = {
        {{0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7}, 0x220D}, // the example of RFC 1071
        {{0x08, 0x00, 0x00, 0x00, 0x12, 0x34, 0x00, 0x01}, 0xE5CA}, // an empty echo request
        {{0x01}, 0xFEFF},                                           // odd length: padded with 0
        {{0xFF, 0xFF, 0x00, 0x01}, 0xFFFE},                         // the carry wraps around
    };
    for (const Row& row : rows) {
        EXPECT_EQ(internet_checksum(row.message), row.checksum);
        std::vector<std::uint8_t> sealed = row.message;
        sealed.resize(sealed.size() + sealed.size() % 2);
        sealed.push_back(std::uint8_t(row.checksum >> 8));
        sealed.push_back(std::uint8_t(row.checksum & 0xFF));
        EXPECT_EQ(internet_checksum(sealed), 0);
    }
}

TEST(EchoProbe, LoopbackAnswers)
{
    EXPECT_GE(echo_probe("127.0.0.1", 2000), 0);
}

TEST(EchoProbe, TextWithEmbeddedNulFailsInsteadOfProbingItsPrefix)
{
    EXPECT_EQ(echo_probe(std::string("127.0.0.1\0.example", 18), 500), -1);
}

// What the probe's own namespace lets it open: datagram ("ping") sockets or only raw ones.
enum class SocketKind { datagram, raw };

std::string kind_name(const ::testing::TestParamInfo<SocketKind>& info)
{
    return info.param == SocketKind::datagram ? "DatagramSocket" : "RawSocket";
}

bool datagram_sockets_allowed()
{
    int fd = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_ICMP);
    if (fd >= 0)
        ::close(fd);
    return fd >= 0;
}

// The prober lives in the near namespace, the hosts it probes in the far one.
class EchoProbeNet : public ::testing::TestWithParam<SocketKind> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lab.ok) << "needs root, ip netns and veth";
        const char* range = GetParam() == SocketKind::datagram ? "0 2147483647" : "1 0";
        ASSERT_TRUE(lab.near.sysctl("net.ipv4.ping_group_range", range));
        ASSERT_TRUE(lab.far.sysctl("net.ipv4.icmp_echo_ignore_all", "1"));
        bool allowed = false;
        ASSERT_TRUE(lab.near.enter([&] { allowed = datagram_sockets_allowed(); }));
        ASSERT_EQ(allowed, GetParam() == SocketKind::datagram);
    }

    Timed probe_from_near(const std::string& host, int timeout_ms)
    {
        Timed timed{};
        EXPECT_TRUE(lab.near.enter([&] {
            testing::run_in_real_time();
            timed = timed_probe(host, timeout_ms);
        }));
        return timed;
    }

    // Probes a delayed host a few times: no answer may come sooner than the delay, and the
    // best one must come within 1 ms of it (the others may be stretched by a busy machine).
    void expect_delay(const std::string& host, std::chrono::milliseconds delay)
    {
        std::int32_t best = -1;
        for (int i = 0; i < 3; ++i) {
            std::int32_t result = probe_from_near(host, 2000).result;
            EXPECT_GE(result, delay.count());
            best = best == -1 ? result : std::min(best, result);
        }
        EXPECT_LE(best, delay.count() + 1);
    }

    VethPair lab;
};

TEST_P(EchoProbeNet, LoopbackOfTheNamespaceAnswers)
{
    EXPECT_GE(probe_from_near("127.0.0.1", 2000).result, 0);
}

TEST_P(EchoProbeNet, SilentHostFailsAfterTheTimeOut)
{
    Timed timed = probe_from_near(VethPair::far_address, 300);
    EXPECT_EQ(timed.result, -1);
    EXPECT_GE(timed.took, 300ms);
}

TEST_P(EchoProbeNet, DelayedHostGivesItsDelay)
{
    EchoResponder responder(lab.far, VethPair::far_address, 40ms);
    ASSERT_TRUE(responder.ready());
    expect_delay(VethPair::far_address, 40ms);
    EXPECT_EQ(responder.answered(), 3);
}

TEST_P(EchoProbeNet, RepliesToOtherRequestsAreNotTakenForTheAnswer)
{
    EchoResponder responder(lab.far, VethPair::far_address, 30ms, EchoResponder::Mode::decoys_first);
    ASSERT_TRUE(responder.ready());
    expect_delay(VethPair::far_address, 30ms);
}

// An ICMP error about the request ends the probe as a failure, long before the time-out.
TEST_P(EchoProbeNet, IcmpErrorIsAFailure)
{
    const char* unreachable_kinds[] = {"unreachable", "prohibit"};
    for (const char* kind : unreachable_kinds) {
        SCOPED_TRACE(kind);
        ASSERT_TRUE(lab.near.run("ip route replace 10.78.0.0/24 via " + std::string(VethPair::far_address)));
        ASSERT_TRUE(lab.far.sysctl("net.ipv4.ip_forward", "1"));
        ASSERT_TRUE(lab.far.run(std::string("ip route replace ") + kind + " 10.78.0.0/24"));
        Timed timed = probe_from_near("10.78.0.9", 4000);
        EXPECT_EQ(timed.result, -1);
        EXPECT_LT(timed.took, 3000ms) << "the error was not noticed";
    }
}

// Six probes of one host at once; the host answers them one by one, 60 ms apart and in the
// reverse order of their coming. A probe that took another probe's answer would show the same
// time as that one.
TEST_P(EchoProbeNet, SixProbesInFlightEachGetTheirOwnAnswer)
{
    EchoResponder responder(lab.far, VethPair::far_address, 60ms, EchoResponder::Mode::gather_six);
    ASSERT_TRUE(responder.ready());
    std::vector<std::future<std::int32_t>> probes;
    for (int i = 0; i < 6; ++i)
        probes.push_back(std::async(std::launch::async, [&] {
            if (!testing::enter_namespace(lab.near.name()))
                return -2;
            testing::run_in_real_time();
            return echo_probe(VethPair::far_address, 3000);
        }));
    std::vector<std::int32_t> results;
    for (auto& probe : probes)
        results.push_back(probe.get());
    std::sort(results.begin(), results.end());
    EXPECT_GE(results.front(), 60);
    for (std::size_t i = 1; i < results.size(); ++i)
        EXPECT_GE(results[i] - results[i - 1], 40) << ::testing::PrintToString(results);
    EXPECT_EQ(responder.answered(), 6);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EchoProbeNet, ::testing::Values(SocketKind::datagram, SocketKind::raw),
                         kind_name);

// What a shell command prints.
std::string output_of(const std::string& command)
{
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char line[64];
        while (std::fgets(line, sizeof line, pipe))
            output += line;
        ::pclose(pipe);
    }
    return output;
}

// Runs the probe tool inside the namespace, where `ip netns exec` applies its resolver file.
std::string probe_in(const NetNamespace& space, const std::string& host)
{
    return output_of("ip netns exec " + space.name() + " " ORVANE_PROBE_HOST_TOOL " '" + host + "' 1000");
}

int echo_requests_sent(const NetNamespace& space)
{
    std::string command = "ip netns exec " + space.name()
        + " awk '/^IcmpMsg:/ && !h {for (i = 2; i <= NF; i++) n[i] = $i; h = 1; next}"
          " /^IcmpMsg:/ {for (i = 2; i <= NF; i++) if (n[i] == \"OutType8\") print $i}' /proc/net/snmp";
    const std::string output = output_of(command);
    return output.empty() ? 0 : std::stoi(output);
}

// Name lookups go to a resolver on the namespace's own loopback, where nothing listens: the
// lookup fails on this machine and no query leaves it.
class EchoProbeLookup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(space.ok());
        ASSERT_TRUE(space.set_resolver("nameserver 127.0.0.1\noptions timeout:1 attempts:1\n"));
    }
    NetNamespace space;
};

TEST_F(EchoProbeLookup, NameThatDoesNotResolveFailsAndSendsNothing)
{
    EXPECT_EQ(probe_in(space, "no-such-server.invalid"), "-1\n");
    EXPECT_EQ(probe_in(space, ""), "-1\n");
    EXPECT_EQ(echo_requests_sent(space), 0);
}

TEST_F(EchoProbeLookup, NameFromTheHostsFileIsProbed)
{
    EXPECT_NE(probe_in(space, "localhost"), "-1\n");
    EXPECT_EQ(echo_requests_sent(space), 1);
}

}
}
