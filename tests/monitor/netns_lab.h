#pragma once

#include <netinet/in.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// Network namespaces, veth links and an echo responder of the test's own, so that probes have
// real hosts to talk to without any packet leaving the machine. Needs root.
namespace orvane::testing {

// Runs a shell command; true when it exits with 0.
[[nodiscard]] bool run_command(const std::string& command);

// A network namespace with a unique name, removed (with its links and resolver file) when the
// object goes. Its loopback is up.
class NetNamespace {
public:
    NetNamespace();
    ~NetNamespace();
    NetNamespace(const NetNamespace&) = delete;
    NetNamespace& operator=(const NetNamespace&) = delete;

    [[nodiscard]] const std::string& name() const { return m_name; }
    [[nodiscard]] bool ok() const { return m_ok; }
    // Runs a shell command inside the namespace.
    [[nodiscard]] bool run(const std::string& command) const;
    [[nodiscard]] bool sysctl(const std::string& key, const std::string& value) const;
    // Gives the namespace its own resolver file, as `ip netns exec` applies it.
    [[nodiscard]] bool set_resolver(const std::string& resolv_conf) const;
    // Runs body on a thread that has entered the namespace, and waits for it. False when the
    // namespace cannot be entered.
    [[nodiscard]] bool enter(const std::function<void()>& body) const;

private:
    std::string m_name;
    bool m_ok;
};

// Moves the calling thread into the namespace; only this thread changes namespace.
[[nodiscard]] bool enter_namespace(const std::string& name);

// Gives the calling thread a real-time priority, so that timings taken on a machine busy with
// other work are not stretched by waits for the processor. False when that is not permitted.
bool run_in_real_time();

// Two namespaces joined by a veth pair: near holds near_address, far holds far_address (both
// /24), each end up. Every address used lives inside these two namespaces.
struct VethPair {
    VethPair();
    NetNamespace near, far;
    bool ok;
    static constexpr const char* near_address = "10.77.0.1";
    static constexpr const char* far_address = "10.77.0.2";
};

// Answers ICMP echo requests to one address in a namespace itself, from a raw socket bound to
// that address. The namespace's kernel must be told not to answer (icmp echo ignored).
class EchoResponder {
public:
    enum class Mode {
        delayed,       // the reply, after the delay
        decoys_first,  // at once replies with another sequence and another identifier, then
                       // the reply after the delay
        gather_six,    // holds requests until it has six, then replies to them in the reverse
                       // order of their coming, one every delay
    };

    EchoResponder(const NetNamespace& space, std::string address, std::chrono::milliseconds delay,
                  Mode mode = Mode::delayed);
    ~EchoResponder();
    EchoResponder(const EchoResponder&) = delete;
    EchoResponder& operator=(const EchoResponder&) = delete;

    // Whether the responder's socket is open and listening.
    [[nodiscard]] bool ready();
    [[nodiscard]] int answered() const { return m_answered; }

private:
    struct HeldRequest {
        std::vector<std::uint8_t> icmp;
        sockaddr_in from;
    };

    void serve(std::string space);
    void answer_held_in_reverse(int fd);

    std::string m_address;
    std::chrono::milliseconds m_delay;
    Mode m_mode;
    std::atomic<int> m_state{0}; // 0 starting, 1 listening, -1 failed
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_answered{0};
    std::vector<HeldRequest> m_held;
    std::thread m_thread;
};

}
