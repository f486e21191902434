#pragma once

#include <string>
#include <string_view>
#include <vector>

// Pure encoders for the alert's MIME message (RFC 2045, RFC 2047, RFC 5322). Texts are GBK
// bytes, sent under the charset name "gb2312". Nothing here talks to the network.
namespace orvane {

inline constexpr size_t max_encoded_word_length = 75;
inline constexpr size_t base64_line_length = 76;
// A header line may hold at most 998 bytes; an ASCII text longer than this, with its field
// name, would break it, so it is encoded (and so folded) like a Chinese one.
inline constexpr size_t max_plain_header_text = 900;

[[nodiscard]] std::string base64_encode(std::string_view bytes);
// The base64 of bytes in lines of base64_line_length characters, each ended by CRLF.
[[nodiscard]] std::string base64_lines(std::string_view bytes);

[[nodiscard]] bool is_ascii(std::string_view bytes);

// A text for a header field: control bytes become spaces, so that no typed line break can add
// header lines or end the message early. ASCII text of a safe length is written unchanged;
// any other becomes "=?gb2312?B?...?=" words of whole characters, joined by CRLF and a space.
[[nodiscard]] std::string encode_header_text(std::string_view gbk);

struct Recipient {
    std::string name;     // display name, may be empty
    std::string address;
    bool operator==(const Recipient&) const = default;
};

// Entries separated by "," or ";", each an address or a name followed by "<address>"; white
// space around name and address is dropped, and entries without an address are skipped.
[[nodiscard]] std::vector<Recipient> parse_recipients(std::string_view list);

// An address that can go into an SMTP command line as it is: no control byte, no white space,
// no angle bracket.
[[nodiscard]] bool is_safe_address(std::string_view address);

struct MailMessage {
    std::string from;
    std::vector<Recipient> to, cc;
    std::string subject;
    std::string date;      // as format_mail_date gives it
    std::string reply_to;  // empty: no Reply-To line
    std::string body;
};

// Header block, empty line and base64 body, every line ended by CRLF.
[[nodiscard]] std::string compose_message(const MailMessage&);

}
