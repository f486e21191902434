#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane {

// One reply of a mail server (RFC 5321, section 4.2): a code and the text of each line.
struct SmtpReply {
    int code = 0;                    // 0 when a line did not start with a three-digit code
    std::vector<std::string> lines;  // each line's text after the code and its separator
};

// Takes the first complete reply off the front of buffer, or gives nothing while the buffer
// holds only part of one. A reply ends with a line whose code is followed by a space or by the
// line's end; a line without a code ends the reply too, as a malformed one.
[[nodiscard]] std::optional<SmtpReply> take_reply(std::string& buffer);

enum class Login { none, login, plain };

// The login a reply to EHLO offers: LOGIN before PLAIN, with keywords matched regardless of
// case; an "AUTH=LOGIN" line counts only when there is no AUTH line.
[[nodiscard]] Login choose_login(const SmtpReply& ehlo);

}
