#include "monitor/probe.h"

#include "assets/assets.h"
#include "monitor/switch.h"
#include "platform/gbk.h"
#include "ui/form.h"
#include "ui/properties.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <latch>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvane {
namespace {

// The fake echo test and alert that the probes under test call.
std::function<std::int32_t(const std::string&, int)> fake_echo;
std::atomic<int> alerts_sent{0};

std::int32_t call_fake_echo(const std::string& host, int timeout_ms)
{
    return fake_echo(host, timeout_ms);
}

void count_alert()
{
    ++alerts_sent;
}

constexpr ProbeServices fakes{call_fake_echo, count_alert};

class Probe : public ::testing::Test {
protected:
    void SetUp() override
    {
        consecutive_failures = 0;
        alerts_sent = 0;
    }

    // Runs one probe whose echo test gives result.
    void probe(std::int32_t result)
    {
        fake_echo = [result](const std::string&, int) { return result; };
        probe_with(fakes);
    }

    std::string latency_text() const
    {
        return from_gbk(store.read_bytes(Control::透明标签1, Property::text));
    }

    PropertyStore store{Form{}};
};

struct CountRow {
    const char* name;
    std::vector<std::int32_t> results;
    int alerts;
    std::int32_t count_after;
};

TEST_F(Probe, OneAlertPerRunOfSixFailures)
{
    const std::vector<std::int32_t> six_failures(6, -1);
    const CountRow rows[] = {
        {"five failures then a success", {-1, -1, -1, -1, -1, 7}, 0, 0},
        {"zero ms is a success", {-1, -1, -1, -1, -1, 0, -1, -1, -1, -1, -1}, 0, 5},
        {"six failures", six_failures, 1, 6},
        {"twenty failures", std::vector<std::int32_t>(20, -1), 1, 20},
        {"a success re-arms", {-1, -1, -1, -1, -1, -1, 3, -1, -1, -1, -1, -1, -1}, 2, 6},
    };
    for (const CountRow& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        for (std::int32_t result : row.results)
            probe(result);
        EXPECT_EQ(alerts_sent, row.alerts);
        EXPECT_EQ(consecutive_failures, row.count_after);
    }
}

TEST_F(Probe, TheSixthFailureItselfSendsTheAlert)
{
    for (int i = 0; i < 5; ++i)
        probe(-1);
    EXPECT_EQ(alerts_sent, 0);
    probe(-1);
    EXPECT_EQ(alerts_sent, 1);
}

TEST_F(Probe, LatencyTextShowsTheResult)
{
    const std::pair<std::int32_t, const char*> rows[] = {
        {-1, "服务器当前延迟：-1ms"}, {0, "服务器当前延迟：0ms"}, {5000, "服务器当前延迟：5000ms"}};
    for (const auto& [result, text] : rows) {
        probe(result);
        EXPECT_EQ(latency_text(), text);
    }
}

TEST_F(Probe, ProbesTheAddressBoxTextUnchangedWithTheBuiltInTimeOut)
{
    const std::string typed = to_gbk(" 服务器.example\t");
    store.write_bytes(Control::编辑框1, Property::text, typed);
    std::string host;
    int timeout = 0;
    fake_echo = [&](const std::string& h, int t) {
        host = h;
        timeout = t;
        return 1;
    };
    probe_with(fakes);
    EXPECT_EQ(host, typed);
    EXPECT_EQ(timeout, 5000);
}

TEST_F(Probe, CountSurvivesStopAndStart)
{
    store.write_bytes(Control::图形按钮5, Property::normal_picture, assets::start_normal);
    switch_clicked(); // start
    for (int i = 0; i < 4; ++i)
        probe(-1);
    switch_clicked(); // stop
    switch_clicked(); // start
    EXPECT_EQ(consecutive_failures, 4);
    probe(-1);
    probe(-1);
    EXPECT_EQ(alerts_sent, 1);
    switch_clicked();
    switch_clicked();
    for (int i = 0; i < 6; ++i)
        probe(-1);
    EXPECT_EQ(alerts_sent, 1) << "only a success re-arms the alert";
}

// Workers whose echo tests all end at the same moment, then race to count their failures.
void fail_together(int workers)
{
    std::latch all_probing(workers);
    fake_echo = [&](const std::string&, int) {
        all_probing.arrive_and_wait();
        return -1;
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < workers; ++i)
        threads.emplace_back([] { probe_with(fakes); });
    for (std::thread& thread : threads)
        thread.join();
}

TEST_F(Probe, TwoWorkersFailingTogetherAtFiveSendOneAlert)
{
    for (int round = 0; round < 300; ++round) {
        SetUp();
        for (int i = 0; i < 5; ++i)
            probe(-1);
        fail_together(2);
        ASSERT_EQ(alerts_sent, 1) << "round " << round;
        ASSERT_EQ(consecutive_failures, 7);
    }
}

TEST_F(Probe, ManyWorkersFailingTogetherSendOneAlert)
{
    for (int round = 0; round < 50; ++round) {
        SetUp();
        fail_together(12);
        ASSERT_EQ(alerts_sent, 1) << "round " << round;
        ASSERT_EQ(consecutive_failures, 12);
    }
}

// The probe that finishes last is the one shown and counted last, whatever the starting order.
TEST_F(Probe, ResultsTakeEffectInTheOrderProbesFinish)
{
    std::latch release_slow(1);
    std::atomic<bool> slow_started{false};
    fake_echo = [&](const std::string&, int) {
        slow_started = true;
        release_slow.wait();
        return 12;
    };
    std::thread slow([] { probe_with(fakes); });
    while (!slow_started)
        std::this_thread::yield();
    ProbeServices failing{[](const std::string&, int) { return -1; }, count_alert};
    probe_with(failing);
    EXPECT_EQ(latency_text(), "服务器当前延迟：-1ms");
    EXPECT_EQ(consecutive_failures, 1);
    release_slow.count_down();
    slow.join();
    EXPECT_EQ(latency_text(), "服务器当前延迟：12ms");
    EXPECT_EQ(consecutive_failures, 0);
}

// The tick hands the probe to a worker of its own: the real echo test of the address typed.
TEST_F(Probe, TickStartsAWorkerThatProbesTheTypedServer)
{
    store.write_bytes(Control::编辑框1, Property::text, "127.0.0.1");
    consecutive_failures = 3;
    probe_tick();
    const std::string prefix = "服务器当前延迟：";
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    // The worker counts after it has written the text.
    while (consecutive_failures == 3 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(consecutive_failures, 0);
    const std::string shown = latency_text();
    ASSERT_EQ(shown.substr(0, prefix.size()), prefix);
    EXPECT_NE(shown, prefix + "-1ms");
    EXPECT_EQ(shown.substr(shown.size() - 2), "ms");
}

}
}
