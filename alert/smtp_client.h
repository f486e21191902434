#pragma once

#include "alert/mime.h"
#include "alert/smtp_reply.h"
#include "platform/tcp_client.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

inline constexpr int smtp_port = 25;
// The longest silence while waiting for one reply; the wait restarts with each chunk of data.
inline constexpr int reply_timeout_ms = 2000;
inline constexpr int connect_timeout_ms = 5000;
// A reply longer than this is not a mail server talking: the wait for it fails.
inline constexpr size_t max_reply_length = 64 * 1024;

// An SMTP client (RFC 5321 with AUTH LOGIN and AUTH PLAIN of RFC 4954) holding one connection
// at a time. It does not lock: whoever shares one client keeps two callers apart.
class SmtpClient {
public:
    SmtpClient() = default;
    ~SmtpClient();
    SmtpClient(const SmtpClient&) = delete;
    SmtpClient& operator=(const SmtpClient&) = delete;

    // Ends any open connection with QUIT, then connects, greets and logs in where the server
    // offers a login this client uses. True when the connection is open and ready to send.
    [[nodiscard]] bool smtp_connect(std::string_view host, int port, std::string_view user,
                                    std::string_view password, int timeout_ms = reply_timeout_ms);

    // Sends one mail over the open connection: an empty text on success, an error text
    // otherwise. Lists hold "," or ";" separated entries; no reply_to means the sender's
    // address, an empty one no Reply-To line. The connection stays open either way.
    [[nodiscard]] std::string smtp_send_mail(std::string_view subject, std::string_view body,
                                             std::string_view to, std::string_view cc,
                                             std::string_view bcc, std::string_view sender,
                                             std::optional<std::string_view> reply_to = {});

    [[nodiscard]] bool is_open() const { return m_connection != nullptr; }

private:
    [[nodiscard]] bool greet(std::string_view user, std::string_view password);
    [[nodiscard]] bool log_in(Login, std::string_view user, std::string_view password);
    // MAIL FROM, RCPT TO for each recipient, DATA and the message: an error text or empty.
    [[nodiscard]] std::string transfer(std::string_view sender,
                                       const std::vector<Recipient>& recipients,
                                       std::string_view message);
    // The one place that writes to the server; a failed write closes the connection.
    [[nodiscard]] bool send_bytes(std::string_view bytes);
    // The one place that waits for a reply; nothing on silence, a lost connection or overflow.
    [[nodiscard]] std::optional<SmtpReply> read_reply();
    // Waits for a reply and gives it only when its code is `expected`.
    [[nodiscard]] std::optional<SmtpReply> expect(int expected);
    // Sends one command line and expects its reply.
    [[nodiscard]] std::optional<SmtpReply> exchange(std::string_view line, int expected);
    void quit_and_close();
    void close();

    std::unique_ptr<TcpConnection> m_connection;
    std::string m_received;
    int m_timeout_ms = reply_timeout_ms;
};

// The message as DATA carries it: a dot that starts a line is doubled, so that no line of the
// message ends the transfer early, and the lone dot line follows.
[[nodiscard]] std::string data_with_end_marker(std::string_view message);

}
