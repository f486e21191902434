#include "alert/mime.h"

#include <algorithm>

namespace orvane {
namespace {

constexpr std::string_view base64_alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view encoded_word_prefix = "=?gb2312?B?";
constexpr std::string_view encoded_word_suffix = "?=";
constexpr std::string_view folding = "\r\n ";
constexpr size_t max_line_length = 998;

size_t base64_length(size_t bytes) { return (bytes + 2) / 3 * 4; }

// Bytes of the GBK character that starts at text[i]; a lead byte cut off at the end stands alone.
size_t gbk_char_length(std::string_view text, size_t i)
{
    const auto b = static_cast<unsigned char>(text[i]);
    return b >= 0x81 && b != 0xFF && i + 1 < text.size() ? 2 : 1;
}

std::string without_control_bytes(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return out;
}

std::string encoded_words(std::string_view gbk)
{
    const size_t room = max_encoded_word_length - encoded_word_prefix.size() - encoded_word_suffix.size();
    std::string out;
    size_t start = 0;
    while (start < gbk.size()) {
        size_t end = start;
        while (end < gbk.size()) {
            const size_t next = end + gbk_char_length(gbk, end);
            if (base64_length(next - start) > room)
                break;
            end = next;
        }
        if (!out.empty())
            out += folding;
        out += encoded_word_prefix;
        out += base64_encode(gbk.substr(start, end - start));
        out += encoded_word_suffix;
        start = end;
    }
    return out;
}

std::string_view trimmed(std::string_view s)
{
    constexpr std::string_view blanks = " \t\r\n";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

Recipient parse_entry(std::string_view entry)
{
    const size_t open = entry.find('<');
    if (open == std::string_view::npos)
        return {"", std::string(trimmed(entry))};
    const size_t close = entry.find('>', open);
    const std::string_view inside = entry.substr(open + 1, close == std::string_view::npos
                                                               ? std::string_view::npos
                                                               : close - open - 1);
    return {std::string(trimmed(entry.substr(0, open))), std::string(trimmed(inside))};
}

std::string format_recipient(const Recipient& r)
{
    if (r.name.empty())
        return r.address;
    return encode_header_text(r.name) + " <" + r.address + ">";
}

// Length of the last physical line of a header under construction.
size_t last_line_length(std::string_view header)
{
    const size_t newline = header.rfind('\n');
    return newline == std::string_view::npos ? header.size() : header.size() - newline - 1;
}

// "Name: a,b,c" with a fold after a comma wherever the next entry would overrun the line.
std::string address_field(std::string_view name, const std::vector<Recipient>& list)
{
    std::string field(name);
    field += ": ";
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string entry = format_recipient(list[i]);
        if (i > 0) {
            field += ',';
            if (last_line_length(field) + entry.size() > max_line_length)
                field += folding;
        }
        field += entry;
    }
    return field + "\r\n";
}

std::string field(std::string_view name, std::string_view value)
{
    return std::string(name) + ": " + std::string(value) + "\r\n";
}

}

std::string base64_encode(std::string_view bytes)
{
    std::string out;
    out.reserve(base64_length(bytes.size()));
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        unsigned group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (size_t k = 0; k < 4; ++k)
            out += k <= n ? base64_alphabet[group >> (18 - 6 * k) & 0x3F] : '=';
    }
    return out;
}

std::string base64_lines(std::string_view bytes)
{
    const std::string encoded = base64_encode(bytes);
    std::string out;
    for (size_t i = 0; i < encoded.size(); i += base64_line_length) {
        out += encoded.substr(i, base64_line_length);
        out += "\r\n";
    }
    return out;
}

bool is_ascii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string encode_header_text(std::string_view gbk)
{
    const std::string text = without_control_bytes(gbk);
    if (is_ascii(text) && text.size() <= max_plain_header_text)
        return text;
    return encoded_words(text);
}

std::vector<Recipient> parse_recipients(std::string_view list)
{
    std::vector<Recipient> out;
    while (!list.empty()) {
        const size_t separator = list.find_first_of(",;");
        Recipient entry = parse_entry(list.substr(0, separator));
        if (!entry.address.empty())
            out.push_back(std::move(entry));
        list.remove_prefix(separator == std::string_view::npos ? list.size() : separator + 1);
    }
    return out;
}

bool is_safe_address(std::string_view address)
{
    return std::none_of(address.begin(), address.end(), [](char c) {
        return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F || c == '<' || c == '>';
    });
}

std::string compose_message(const MailMessage& m)
{
    const std::string charset = is_ascii(m.body) ? "us-ascii" : "gb2312";
    std::string out = field("From", m.from) + address_field("To", m.to);
    if (!m.cc.empty())
        out += address_field("Cc", m.cc);
    out += field("Subject", encode_header_text(m.subject));
    out += field("Date", m.date);
    if (!m.reply_to.empty())
        out += field("Reply-To", m.reply_to);
    out += field("MIME-Version", "1.0");
    out += field("Content-Type", "text/plain; charset=\"" + charset + "\"");
    out += field("Content-Transfer-Encoding", "base64");
    out += "\r\n";
    return out + base64_lines(m.body);
}

}
