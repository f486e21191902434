#include "platform/gbk.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace orvane {
namespace {

// Bytes of the UTF-8 sequence that starts with lead byte b (1 for a stray byte).
size_t utf8_sequence_length(unsigned char b)
{
    if (b >= 0xF0 && b < 0xF8) return 4;
    if (b >= 0xE0) return b < 0xF0 ? 3 : 1;
    if (b >= 0xC0) return 2;
    return 1;
}

// Converts with iconv, putting `replacement` in place of each unconvertible unit, whose length
// `skip` tells from its first byte.
std::string convert(const char* to, const char* from, std::string_view in,
                    std::string_view replacement, size_t (*skip)(unsigned char))
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(in);
    std::string out;
    char buffer[256];
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    while (src_left > 0) {
        char* dst = buffer;
        size_t dst_left = sizeof buffer;
        size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
        out.append(buffer, dst - buffer);
        if (rc != static_cast<size_t>(-1) || errno == E2BIG)
            continue;
        // EILSEQ or EINVAL: a unit that cannot be converted, or one cut off at the end.
        size_t n = std::min(skip(static_cast<unsigned char>(*src)), src_left);
        src += n;
        src_left -= n;
        out.append(replacement);
    }
    iconv_close(cd);
    return out;
}

size_t gbk_unit_length(unsigned char b) { return b >= 0x81 && b != 0xFF ? 2 : 1; }

}

std::string to_gbk(std::string_view utf8)
{
    return convert("GBK", "UTF-8", utf8, "?", utf8_sequence_length);
}

std::string from_gbk(std::string_view gbk)
{
    return convert("UTF-8", "GBK", gbk, "\xEF\xBF\xBD", gbk_unit_length);
}

}
