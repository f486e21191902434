#include "alert/smtp_reply.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace orvane {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

std::vector<std::string> words(const std::string& line)
{
    std::istringstream in(upper(line));
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

bool lists(const std::vector<std::string>& ws, std::string_view mechanism)
{
    return std::find(ws.begin() + 1, ws.end(), mechanism) != ws.end();
}

}

std::optional<SmtpReply> take_reply(std::string& buffer)
{
    SmtpReply reply;
    size_t start = 0;
    for (;;) {
        const size_t end = buffer.find('\n', start);
        if (end == std::string::npos)
            return std::nullopt;
        std::string line = buffer.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        start = end + 1;
        const bool coded = line.size() >= 3 && is_digit(line[0]) && is_digit(line[1]) && is_digit(line[2]);
        const bool more = coded && line.size() > 3 && line[3] == '-';
        reply.lines.push_back(!coded ? line : line.size() > 4 ? line.substr(4) : std::string());
        if (!more) {
            reply.code = coded && (line.size() == 3 || line[3] == ' ') ? std::stoi(line.substr(0, 3)) : 0;
            buffer.erase(0, start);
            return reply;
        }
    }
}

Login choose_login(const SmtpReply& ehlo)
{
    bool auth_line = false, login = false, plain = false, legacy_login = false;
    for (const std::string& line : ehlo.lines) {
        const std::vector<std::string> ws = words(line);
        if (ws.empty())
            continue;
        if (ws[0] == "AUTH") {
            auth_line = true;
            login = login || lists(ws, "LOGIN");
            plain = plain || lists(ws, "PLAIN");
        } else if (ws[0].starts_with("AUTH=")) {
            legacy_login = legacy_login || ws[0] == "AUTH=LOGIN" || lists(ws, "LOGIN");
        }
    }
    if (login || (!auth_line && legacy_login))
        return Login::login;
    return plain ? Login::plain : Login::none;
}

}
