#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvane::testing {

// A mail server on a loopback port that plays scripted replies and records what the client
// sent. Each accepted connection takes the next session script: its first reply is the
// greeting, and each line the client sends gets the next reply. After a reply starting with
// 354 the message up to the lone dot is recorded as one entry. A reply of `silent` sends
// nothing; `hang_up` closes the connection. Past the script, QUIT gets 221 and a close, any
// other line 500.
class ScriptedSmtpServer {
public:
    static constexpr const char* silent = "";
    static constexpr const char* hang_up = "<hang up>";

    explicit ScriptedSmtpServer(std::vector<std::vector<std::string>> sessions);
    ~ScriptedSmtpServer();

    [[nodiscard]] int port() const { return m_port; }
    [[nodiscard]] std::vector<std::string> transcript(size_t session) const;
    [[nodiscard]] size_t sessions_opened() const;
    // The session of every recorded entry, in the order the server received them.
    [[nodiscard]] std::vector<size_t> record_order() const;
    // Waits until the client has closed that session's connection; false after 10 s.
    [[nodiscard]] bool wait_closed(size_t session) const;

private:
    void accept_loop();
    void serve(int fd, size_t session);
    void record(size_t session, std::string entry);

    int m_listener = -1;
    int m_port = 0;
    std::vector<std::vector<std::string>> m_scripts;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::vector<std::string>> m_transcripts;
    std::vector<bool> m_closed;
    std::vector<size_t> m_order;
    std::vector<int> m_open_fds;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
    std::thread m_acceptor;
};

}
