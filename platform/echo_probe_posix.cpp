#include "platform/echo_probe.h"

#include <arpa/inet.h>
#include <linux/icmp.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <span>
#include <utility>

namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::span<const std::uint8_t>;

constexpr std::size_t icmp_header_size = 8;
constexpr std::size_t min_ip_header_size = 20;

// Closes the socket when the probe ends, however it ends.
class Socket {
public:
    explicit Socket(int fd) : m_fd(fd) {}
    ~Socket() { if (m_fd >= 0) ::close(m_fd); }
    Socket(Socket&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    Socket& operator=(Socket&&) = delete;
    [[nodiscard]] int fd() const { return m_fd; }
    [[nodiscard]] bool is_open() const { return m_fd >= 0; }
private:
    int m_fd;
};

struct IcmpSocket {
    Socket socket;
    // A raw socket hands over every ICMP packet that reaches the host, IP header first; a
    // datagram ("ping") socket only the answers to its own identifier, without the IP header,
    // and reports ICMP errors about its request as a socket error.
    bool raw;
};

// What one request is known by. Identifier and sequence are kept in network byte order, as they
// stand in the packet.
struct Request {
    in_addr target;
    std::uint16_t identifier;
    std::uint16_t sequence;
};

enum class Verdict { unrelated, reply, error };

std::optional<in_addr> resolve(const std::string& host)
{
    // An empty name would go to the resolver for nothing; an embedded NUL would have the
    // address parser and the resolver look at only part of the text.
    if (host.empty() || host.find('\0') != std::string::npos)
        return std::nullopt;
    // inet_aton takes the texts that inet_addr takes, and also tells 255.255.255.255 from a
    // failure.
    in_addr address{};
    if (::inet_aton(host.c_str(), &address) != 0)
        return address;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return std::nullopt;
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return address;
}

std::optional<IcmpSocket> open_icmp_socket()
{
    Socket datagram(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP));
    if (datagram.is_open()) {
        // Without this the kernel keeps most ICMP errors about the request to itself.
        int on = 1;
        ::setsockopt(datagram.fd(), IPPROTO_IP, IP_RECVERR, &on, sizeof on);
        return IcmpSocket{std::move(datagram), false};
    }
    Socket raw(::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP));
    if (!raw.is_open())
        return std::nullopt;
    icmp_filter filter{};
    filter.data = ~((1U << ICMP_ECHOREPLY) | (1U << ICMP_DEST_UNREACH) | (1U << ICMP_SOURCE_QUENCH)
                    | (1U << ICMP_TIME_EXCEEDED) | (1U << ICMP_PARAMETERPROB));
    ::setsockopt(raw.fd(), SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
    return IcmpSocket{std::move(raw), true};
}

std::uint16_t field16(Bytes data, std::size_t offset)
{
    std::uint16_t value;
    std::memcpy(&value, data.data() + offset, sizeof value);
    return value;
}

std::uint32_t field32(Bytes data, std::size_t offset)
{
    std::uint32_t value;
    std::memcpy(&value, data.data() + offset, sizeof value);
    return value;
}

// The ICMP message inside an IP packet, or nothing when the packet is cut short.
std::optional<Bytes> ip_payload(Bytes packet)
{
    if (packet.size() < min_ip_header_size)
        return std::nullopt;
    std::size_t header_size = (packet[0] & 0x0F) * 4U;
    if (header_size < min_ip_header_size || packet.size() < header_size)
        return std::nullopt;
    return packet.subspan(header_size);
}

// Whether an ICMP error message quotes our request: the quoted IP header goes to the target and
// the quoted ICMP header is our echo request.
bool quotes_request(Bytes error, const Request& request)
{
    Bytes quoted = error.subspan(icmp_header_size);
    std::optional<Bytes> quoted_icmp = ip_payload(quoted);
    return quoted_icmp && quoted_icmp->size() >= icmp_header_size
        && field32(quoted, 16) == request.target.s_addr && (*quoted_icmp)[0] == ICMP_ECHO
        && field16(*quoted_icmp, 4) == request.identifier
        && field16(*quoted_icmp, 6) == request.sequence;
}

Verdict judge(Bytes icmp, in_addr from, const Request& request, bool check_sum)
{
    if (icmp.size() < icmp_header_size)
        return Verdict::unrelated;
    switch (icmp[0]) {
    case ICMP_ECHOREPLY:
        return from.s_addr == request.target.s_addr && field16(icmp, 4) == request.identifier
                && field16(icmp, 6) == request.sequence
                && (!check_sum || internet_checksum(icmp) == 0)
            ? Verdict::reply : Verdict::unrelated;
    case ICMP_DEST_UNREACH:
    case ICMP_SOURCE_QUENCH:
    case ICMP_TIME_EXCEEDED:
    case ICMP_PARAMETERPROB:
        return quotes_request(icmp, request) ? Verdict::error : Verdict::unrelated;
    default:
        return Verdict::unrelated;
    }
}

// The sequence numbers of this process's requests: each request in flight has its own, so a
// raw socket, which also sees the answers to the other probes, takes only its own.
std::atomic<std::uint16_t> next_sequence{0};

std::optional<Request> send_request(const IcmpSocket& icmp, in_addr target)
{
    Request request{target, htons(static_cast<std::uint16_t>(::getpid())),
                    htons(next_sequence.fetch_add(1, std::memory_order_relaxed))};
    std::array<std::uint8_t, icmp_header_size> packet{ICMP_ECHO, 0};
    std::memcpy(&packet[4], &request.identifier, 2);
    std::memcpy(&packet[6], &request.sequence, 2);
    std::uint16_t sum = htons(internet_checksum(packet));
    std::memcpy(&packet[2], &sum, 2);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr = target;
    if (::sendto(icmp.socket.fd(), packet.data(), packet.size(), 0,
                 reinterpret_cast<const sockaddr*>(&to), sizeof to) != ssize_t(packet.size()))
        return std::nullopt;
    if (!icmp.raw) {
        // The kernel has put the socket's own port into the identifier field.
        sockaddr_in local{};
        socklen_t length = sizeof local;
        if (::getsockname(icmp.socket.fd(), reinterpret_cast<sockaddr*>(&local), &length) != 0)
            return std::nullopt;
        request.identifier = local.sin_port;
    }
    return request;
}

// Reads one packet and judges it; a socket error (an ICMP error reported by a datagram socket,
// or a failing socket) ends the wait as an error.
Verdict receive(const IcmpSocket& icmp, const Request& request)
{
    std::array<std::uint8_t, 2048> buffer;
    sockaddr_in from{};
    socklen_t length = sizeof from;
    ssize_t n = ::recvfrom(icmp.socket.fd(), buffer.data(), buffer.size(), MSG_DONTWAIT,
                           reinterpret_cast<sockaddr*>(&from), &length);
    if (n < 0)
        return errno == EAGAIN || errno == EINTR ? Verdict::unrelated : Verdict::error;
    Bytes packet(buffer.data(), std::size_t(n));
    if (!icmp.raw)
        return judge(packet, from.sin_addr, request, false);
    std::optional<Bytes> message = ip_payload(packet);
    return message ? judge(*message, from.sin_addr, request, true) : Verdict::unrelated;
}

std::int32_t await_reply(const IcmpSocket& icmp, const Request& request, Clock::time_point sent,
                         int timeout_ms)
{
    Clock::time_point deadline = sent + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        // Checked before every wait, so that a socket that stays ready (a stream of other
        // packets, a pending error) cannot keep the probe beyond its time-out.
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return -1;
        pollfd waiting{icmp.socket.fd(), POLLIN, 0};
        int ready = ::poll(&waiting, 1, int(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return -1;
        switch (receive(icmp, request)) {
        case Verdict::reply:
            return std::int32_t(
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent).count());
        case Verdict::error:
            return -1;
        case Verdict::unrelated:
            break;
        }
    }
}

}

std::uint16_t internet_checksum(std::span<const std::uint8_t> data)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2)
        sum += std::uint32_t(data[i]) << 8 | data[i + 1];
    if (data.size() % 2 != 0)
        sum += std::uint32_t(data.back()) << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

std::int32_t echo_probe(const std::string& host, int timeout_ms)
{
    std::optional<in_addr> target = resolve(host);
    if (!target)
        return -1;
    std::optional<IcmpSocket> icmp = open_icmp_socket();
    if (!icmp)
        return -1;
    Clock::time_point sent = Clock::now();
    std::optional<Request> request = send_request(*icmp, *target);
    if (!request)
        return -1;
    return await_reply(*icmp, *request, sent, timeout_ms);
}

}
