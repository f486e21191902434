#include "tests/alert/scripted_smtp_server.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace orvane::testing {
namespace {

bool send_text(int fd, const std::string& text)
{
    return send(fd, text.data(), text.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(text.size());
}

// Reads until buffer holds `terminator`; false when the peer closes or the server stops.
bool read_until(int fd, std::string& buffer, const std::string& terminator)
{
    while (buffer.find(terminator) == std::string::npos) {
        char chunk[4096];
        const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0)
            return false;
        buffer.append(chunk, static_cast<size_t>(n));
    }
    return true;
}

std::string take_through(std::string& buffer, const std::string& terminator)
{
    const size_t end = buffer.find(terminator);
    std::string taken = buffer.substr(0, end);
    buffer.erase(0, end + terminator.size());
    return taken;
}

}

ScriptedSmtpServer::ScriptedSmtpServer(std::vector<std::vector<std::string>> sessions)
    : m_scripts(std::move(sessions))
{
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0
        || listen(m_listener, 8) != 0
        || getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on loopback");
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread(&ScriptedSmtpServer::accept_loop, this);
}

ScriptedSmtpServer::~ScriptedSmtpServer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        for (int fd : m_open_fds)
            shutdown(fd, SHUT_RDWR);
    }
    shutdown(m_listener, SHUT_RDWR);
    m_acceptor.join();
    for (std::thread& t : m_threads)
        t.join();
    close(m_listener);
}

void ScriptedSmtpServer::accept_loop()
{
    for (;;) {
        const int fd = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            return;
        std::lock_guard lock(m_mutex);
        if (m_stopping) {
            close(fd);
            return;
        }
        const size_t session = m_transcripts.size();
        m_transcripts.emplace_back();
        m_closed.push_back(false);
        m_open_fds.push_back(fd);
        m_threads.emplace_back(&ScriptedSmtpServer::serve, this, fd, session);
    }
}

void ScriptedSmtpServer::serve(int fd, size_t session)
{
    const std::vector<std::string> script = session < m_scripts.size() ? m_scripts[session]
                                                                         : std::vector<std::string>{};
    size_t next = 0;
    std::string buffer;
    auto reply = [&](const std::string& fallback) {
        const std::string text = next < script.size() ? script[next++] : fallback;
        if (text == hang_up)
            return false;
        return text.empty() || send_text(fd, text + "\r\n");
    };
    bool open = reply("421 no script");
    while (open && read_until(fd, buffer, "\r\n")) {
        const std::string line = take_through(buffer, "\r\n");
        record(session, line);
        const bool scripted = next < script.size();
        const bool data_follows = scripted && script[next].starts_with("354");
        open = reply(line == "QUIT" ? "221 bye" : "500 unscripted");
        if (!scripted && line == "QUIT")
            break;
        if (open && data_follows) {
            open = read_until(fd, buffer, "\r\n.\r\n");
            if (open) {
                record(session, take_through(buffer, "\r\n.\r\n") + "\r\n");
                open = reply("250 queued");
            }
        }
    }
    std::lock_guard lock(m_mutex);
    std::erase(m_open_fds, fd);
    close(fd);
    m_closed[session] = true;
    m_changed.notify_all();
}

void ScriptedSmtpServer::record(size_t session, std::string entry)
{
    std::lock_guard lock(m_mutex);
    m_transcripts[session].push_back(std::move(entry));
    m_order.push_back(session);
    m_changed.notify_all();
}

std::vector<std::string> ScriptedSmtpServer::transcript(size_t session) const
{
    std::lock_guard lock(m_mutex);
    return session < m_transcripts.size() ? m_transcripts[session] : std::vector<std::string>{};
}

size_t ScriptedSmtpServer::sessions_opened() const
{
    std::lock_guard lock(m_mutex);
    return m_transcripts.size();
}

std::vector<size_t> ScriptedSmtpServer::record_order() const
{
    std::lock_guard lock(m_mutex);
    return m_order;
}

bool ScriptedSmtpServer::wait_closed(size_t session) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(10), [&] {
        return session < m_closed.size() && m_closed[session];
    });
}

}
