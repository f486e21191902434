#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace orvane {

// One TCP client connection. Every wait is bounded by a time-out, and nothing here raises a
// signal or throws: failures come back as plain values.
class TcpConnection {
public:
    enum class ReadResult { data, closed, timed_out, failed };

    // Connects to host (dotted IPv4 used as is, any other name looked up, its first IPv4
    // address taken) within connect_timeout_ms; null when that fails.
    [[nodiscard]] static std::unique_ptr<TcpConnection> open(std::string_view host, int port,
                                                             int connect_timeout_ms);
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Writes every byte; false when the peer is gone or stops taking data for timeout_ms.
    [[nodiscard]] bool write_all(std::string_view bytes, int timeout_ms);
    // Appends what arrives within timeout_ms (at least one byte on `data`) to out.
    [[nodiscard]] ReadResult read_some(std::string& out, int timeout_ms);

private:
    explicit TcpConnection(int fd) : m_fd(fd) {}
    int m_fd;
};

// The local computer's host name, or "localhost" when it has none.
[[nodiscard]] std::string local_host_name();

}
