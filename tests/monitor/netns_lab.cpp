#include "tests/monitor/netns_lab.h"

#include "platform/echo_probe.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

namespace orvane::testing {
namespace {

std::string unique_namespace_name()
{
    static std::atomic<int> counter{0};
    return "orvmon-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

std::filesystem::path resolver_dir(const std::string& space)
{
    return std::filesystem::path("/etc/netns") / space;
}

// Turns an echo request (ICMP message) into its reply, in place.
void make_reply(std::uint8_t* icmp, std::size_t size)
{
    icmp[0] = 0;
    icmp[2] = icmp[3] = 0;
    std::uint16_t sum = htons(internet_checksum({icmp, size}));
    std::memcpy(icmp + 2, &sum, 2);
}

void send_reply(int fd, std::uint8_t* icmp, std::size_t size, const sockaddr_in& to)
{
    make_reply(icmp, size);
    ::sendto(fd, icmp, size, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

}

bool run_command(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

NetNamespace::NetNamespace() : m_name(unique_namespace_name())
{
    m_ok = run_command("ip netns add " + m_name) && run("ip link set lo up");
}

NetNamespace::~NetNamespace()
{
    std::error_code ignored;
    std::filesystem::remove_all(resolver_dir(m_name), ignored);
    (void)run_command("ip netns del " + m_name);
}

bool NetNamespace::run(const std::string& command) const
{
    return run_command("ip netns exec " + m_name + " " + command);
}

bool NetNamespace::sysctl(const std::string& key, const std::string& value) const
{
    // Written straight into /proc/sys, which shows the writer's namespace: no sysctl tool needed.
    std::string path = "/proc/sys/" + key;
    std::replace(path.begin(), path.end(), '.', '/');
    return run("sh -c 'echo \"" + value + "\" > " + path + "'");
}

bool NetNamespace::set_resolver(const std::string& resolv_conf) const
{
    std::error_code error;
    std::filesystem::create_directories(resolver_dir(m_name), error);
    std::ofstream(resolver_dir(m_name) / "resolv.conf") << resolv_conf;
    return !error && std::filesystem::exists(resolver_dir(m_name) / "resolv.conf");
}

bool enter_namespace(const std::string& name)
{
    int fd = ::open(("/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool entered = ::setns(fd, CLONE_NEWNET) == 0;
    ::close(fd);
    return entered;
}

bool run_in_real_time()
{
    sched_param priority{};
    priority.sched_priority = 10;
    return ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &priority) == 0;
}

bool NetNamespace::enter(const std::function<void()>& body) const
{
    bool entered = false;
    std::thread([&] {
        entered = enter_namespace(m_name);
        if (entered)
            body();
    }).join();
    return entered;
}

VethPair::VethPair()
{
    ok = near.ok() && far.ok()
        && near.run("ip link add v0 type veth peer name v1 netns " + far.name())
        && near.run(std::string("ip addr add ") + near_address + "/24 dev v0")
        && far.run(std::string("ip addr add ") + far_address + "/24 dev v1")
        && near.run("ip link set v0 up") && far.run("ip link set v1 up");
}

EchoResponder::EchoResponder(const NetNamespace& space, std::string address,
                             std::chrono::milliseconds delay, Mode mode)
    : m_address(std::move(address)), m_delay(delay), m_mode(mode),
      m_thread(&EchoResponder::serve, this, space.name())
{
}

EchoResponder::~EchoResponder()
{
    m_stop = true;
    m_thread.join();
}

bool EchoResponder::ready()
{
    while (m_state == 0)
        std::this_thread::yield();
    return m_state == 1;
}

void EchoResponder::serve(std::string space)
{
    int fd = -1;
    sockaddr_in self{};
    self.sin_family = AF_INET;
    if (enter_namespace(space) && ::inet_pton(AF_INET, m_address.c_str(), &self.sin_addr) == 1)
        fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&self), sizeof self) != 0) {
        m_state = -1;
        if (fd >= 0)
            ::close(fd);
        return;
    }
    run_in_real_time();
    m_state = 1;
    std::array<std::uint8_t, 2048> packet;
    while (!m_stop) {
        pollfd waiting{fd, POLLIN, 0};
        if (::poll(&waiting, 1, 20) <= 0)
            continue;
        sockaddr_in from{};
        socklen_t length = sizeof from;
        ssize_t n = ::recvfrom(fd, packet.data(), packet.size(), 0,
                               reinterpret_cast<sockaddr*>(&from), &length);
        auto received = std::chrono::steady_clock::now();
        std::size_t header = n > 0 ? (packet[0] & 0x0F) * 4U : 0;
        if (n < 0 || std::size_t(n) < header + 8 || packet[header] != 8)
            continue;
        std::uint8_t* icmp = packet.data() + header;
        std::size_t size = std::size_t(n) - header;
        if (m_mode == Mode::gather_six) {
            m_held.push_back({std::vector<std::uint8_t>(icmp, icmp + size), from});
            if (m_held.size() == 6)
                answer_held_in_reverse(fd);
            continue;
        }
        if (m_mode == Mode::decoys_first) {
            icmp[7] ^= 1; // another sequence
            send_reply(fd, icmp, size, from);
            icmp[7] ^= 1;
            icmp[5] ^= 1; // another identifier
            send_reply(fd, icmp, size, from);
            icmp[5] ^= 1;
        }
        std::this_thread::sleep_until(received + m_delay);
        ++m_answered; // before the reply, so that whoever has the reply sees the count
        send_reply(fd, icmp, size, from);
    }
    ::close(fd);
}

void EchoResponder::answer_held_in_reverse(int fd)
{
    for (auto request = m_held.rbegin(); request != m_held.rend(); ++request) {
        std::this_thread::sleep_for(m_delay);
        ++m_answered;
        send_reply(fd, request->icmp.data(), request->icmp.size(), request->from);
    }
    m_held.clear();
}

}
