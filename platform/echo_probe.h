#pragma once

#include <cstdint>
#include <span>
#include <string>

// The reachability test behind the probe: one ICMP echo request and its answer.
namespace orvane {

// Sends one ICMP Echo Request with an empty data field to host and waits up to timeout_ms for
// the matching Echo Reply. Returns the round-trip time in whole milliseconds (truncated), or -1
// when the host does not resolve, when an ICMP error about the request comes back, when no
// reply comes in time, or when no ICMP socket can be had.
//
// host is a dotted IPv4 address (anything inet_addr accepts) or a host name, of which the first
// IPv4 address is used; an empty name is not looked up and gives -1. Safe to call from many
// threads at once: each call has its own socket, and answers are matched to their own request.
// It uses an unprivileged ICMP datagram socket where net.ipv4.ping_group_range admits the
// process's group, and a raw socket (root or CAP_NET_RAW) otherwise.
[[nodiscard]] std::int32_t echo_probe(const std::string& host, int timeout_ms);

// The Internet checksum (RFC 1071) of an ICMP message, as it goes into the checksum field; a
// message that carries a correct checksum sums to 0.
[[nodiscard]] std::uint16_t internet_checksum(std::span<const std::uint8_t> message);

}
