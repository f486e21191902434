#include "alert/smtp_client.h"

#include "alert/mail_date.h"
#include "alert/mime.h"

#include <algorithm>
#include <vector>

namespace orvane {
namespace {

constexpr int code_ready = 220;
constexpr int code_ok = 250;
constexpr int code_auth_ok = 235;
constexpr int code_auth_prompt = 334;
constexpr int code_data_go_ahead = 354;
constexpr int code_any = -1;

std::string angle(std::string_view address) { return "<" + std::string(address) + ">"; }

std::vector<Recipient> operator+(std::vector<Recipient> a, const std::vector<Recipient>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}

SmtpClient::~SmtpClient() = default;

bool SmtpClient::smtp_connect(std::string_view host, int port, std::string_view user,
                              std::string_view password, int timeout_ms)
{
    quit_and_close();
    m_timeout_ms = timeout_ms;
    m_connection = TcpConnection::open(host, port, connect_timeout_ms);
    if (!m_connection)
        return false;
    if (!greet(user, password)) {
        quit_and_close();
        return false;
    }
    return true;
}

bool SmtpClient::greet(std::string_view user, std::string_view password)
{
    if (!expect(code_ready))
        return false;
    const std::string name = local_host_name();
    const std::optional<SmtpReply> ehlo = exchange("EHLO " + name, code_any);
    if (!ehlo)
        return false;
    if (ehlo->code == code_ok)
        return log_in(choose_login(*ehlo), user, password);
    return exchange("HELO " + name, code_ok).has_value();
}

bool SmtpClient::log_in(Login login, std::string_view user, std::string_view password)
{
    switch (login) {
    case Login::none:
        return true;
    case Login::login:
        return exchange("AUTH LOGIN", code_auth_prompt)
            && exchange(base64_encode(user), code_auth_prompt)
            && exchange(base64_encode(password), code_auth_ok);
    case Login::plain:
        return exchange("AUTH PLAIN", code_auth_prompt)
            && exchange(base64_encode('\0' + std::string(user) + '\0' + std::string(password)),
                        code_auth_ok);
    }
    return false;
}

std::string SmtpClient::smtp_send_mail(std::string_view subject, std::string_view body,
                                       std::string_view to, std::string_view cc,
                                       std::string_view bcc, std::string_view sender,
                                       std::optional<std::string_view> reply_to)
{
    const std::vector<Recipient> to_list = parse_recipients(to);
    const std::vector<Recipient> cc_list = parse_recipients(cc);
    const std::vector<Recipient> everyone = to_list + cc_list + parse_recipients(bcc);
    if (everyone.empty())
        return "no recipient address";
    const auto unsafe = [](const Recipient& r) { return !is_safe_address(r.address); };
    if (!is_safe_address(sender) || std::any_of(everyone.begin(), everyone.end(), unsafe))
        return "an address holds white space, a control character or an angle bracket";
    if (!is_open())
        return "not connected";

    const MailMessage message{std::string(sender), to_list, cc_list, std::string(subject),
                              current_mail_date(), std::string(reply_to.value_or(sender)),
                              std::string(body)};
    const std::string error = transfer(sender, everyone, compose_message(message));
    if (!error.empty() && is_open())
        (void)exchange("RSET", code_any);
    return error;
}

std::string SmtpClient::transfer(std::string_view sender, const std::vector<Recipient>& recipients,
                                 std::string_view message)
{
    if (!exchange("MAIL FROM:" + angle(sender), code_ok))
        return "sender refused";
    for (const Recipient& r : recipients)
        if (!exchange("RCPT TO:" + angle(r.address), code_ok))
            return "recipient refused: " + r.address;
    if (!exchange("DATA", code_data_go_ahead))
        return "DATA refused";
    if (!send_bytes(data_with_end_marker(message)) || !expect(code_ok))
        return "message refused";
    return "";
}

bool SmtpClient::send_bytes(std::string_view bytes)
{
    if (!is_open())
        return false;
    if (m_connection->write_all(bytes, m_timeout_ms))
        return true;
    close();
    return false;
}

std::optional<SmtpReply> SmtpClient::read_reply()
{
    while (is_open()) {
        if (std::optional<SmtpReply> reply = take_reply(m_received))
            return reply;
        if (m_received.size() > max_reply_length)
            return std::nullopt;
        switch (m_connection->read_some(m_received, m_timeout_ms)) {
        case TcpConnection::ReadResult::data:
            continue;
        case TcpConnection::ReadResult::timed_out:
            return std::nullopt;
        case TcpConnection::ReadResult::closed:
        case TcpConnection::ReadResult::failed:
            close();
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<SmtpReply> SmtpClient::expect(int expected)
{
    std::optional<SmtpReply> reply = read_reply();
    if (reply && (expected == code_any || reply->code == expected))
        return reply;
    return std::nullopt;
}

std::optional<SmtpReply> SmtpClient::exchange(std::string_view line, int expected)
{
    if (!send_bytes(std::string(line) + "\r\n"))
        return std::nullopt;
    return expect(expected);
}

void SmtpClient::quit_and_close()
{
    if (is_open())
        (void)exchange("QUIT", code_any);
    close();
}

void SmtpClient::close()
{
    m_connection.reset();
    m_received.clear();
}

std::string data_with_end_marker(std::string_view message)
{
    std::string out;
    bool line_start = true;
    for (char c : message) {
        if (line_start && c == '.')
            out += '.';
        out += c;
        line_start = c == '\n';
    }
    if (!line_start)
        out += "\r\n";
    return out + ".\r\n";
}

}
