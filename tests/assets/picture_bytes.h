#pragma once

#include <QImage>

#include <cstdint>
#include <string_view>

namespace orvane::test {

inline std::uint32_t read_u16(std::string_view bytes, std::size_t offset)
{
    return static_cast<std::uint8_t>(bytes[offset])
        | static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[offset + 1])) << 8;
}

inline std::uint32_t read_u32(std::string_view bytes, std::size_t offset)
{
    return read_u16(bytes, offset) | read_u16(bytes, offset + 2) << 16;
}

inline QImage decode(std::string_view bytes)
{
    return QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                            static_cast<int>(bytes.size()));
}

}
