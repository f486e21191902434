#include "platform/tcp_client.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orvane {
namespace {

bool resolve_ipv4(std::string_view host, in_addr& out)
{
    const std::string name(host);
    if (inet_pton(AF_INET, name.c_str(), &out) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return false;
    out = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

// Waits until fd is ready for `events`; false on time-out or error.
bool wait_for(int fd, short events, int timeout_ms)
{
    pollfd p{fd, events, 0};
    int rc;
    do {
        rc = poll(&p, 1, timeout_ms);
    } while (rc < 0 && errno == EINTR);
    return rc > 0;
}

bool connect_within(int fd, const sockaddr_in& address, int timeout_ms)
{
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return true;
    if (errno != EINPROGRESS || !wait_for(fd, POLLOUT, timeout_ms))
        return false;
    int error = 0;
    socklen_t length = sizeof error;
    return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

}

std::unique_ptr<TcpConnection> TcpConnection::open(std::string_view host, int port,
                                                   int connect_timeout_ms)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (port <= 0 || port > 65535 || !resolve_ipv4(host, address.sin_addr))
        return nullptr;
    // Non-blocking so that neither connecting nor a peer that stops reading can hold us.
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return nullptr;
    if (!connect_within(fd, address, connect_timeout_ms)) {
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<TcpConnection>(new TcpConnection(fd));
}

TcpConnection::~TcpConnection() { close(m_fd); }

bool TcpConnection::write_all(std::string_view bytes, int timeout_ms)
{
    while (!bytes.empty()) {
        // MSG_NOSIGNAL: a peer that has gone must not end the process with SIGPIPE.
        ssize_t n = send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            bytes.remove_prefix(static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && wait_for(m_fd, POLLOUT, timeout_ms))
            continue;
        return false;
    }
    return true;
}

TcpConnection::ReadResult TcpConnection::read_some(std::string& out, int timeout_ms)
{
    if (!wait_for(m_fd, POLLIN, timeout_ms))
        return ReadResult::timed_out;
    char buffer[4096];
    ssize_t n;
    do {
        n = recv(m_fd, buffer, sizeof buffer, 0);
    } while (n < 0 && errno == EINTR);
    if (n == 0)
        return ReadResult::closed;
    if (n < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK ? ReadResult::timed_out : ReadResult::failed;
    out.append(buffer, static_cast<size_t>(n));
    return ReadResult::data;
}

std::string local_host_name()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        return "localhost";
    return name;
}

}
