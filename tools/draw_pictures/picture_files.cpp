#include "tools/draw_pictures/picture_files.h"

#include <cstdint>

namespace orvane::pictures {

namespace {

constexpr std::uint32_t file_header_size = 14;
constexpr std::uint32_t info_header_size = 40;
constexpr std::uint32_t icon_directory_size = 6 + 16;
constexpr int max_icon_side = 256;

void put_u16(std::string& out, std::uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void put_u32(std::string& out, std::uint32_t value)
{
    put_u16(out, value & 0xFFFF);
    put_u16(out, value >> 16);
}

std::uint32_t padded_row_size(int width, int bits_per_pixel)
{
    return ((static_cast<std::uint32_t>(width) * bits_per_pixel + 31) / 32) * 4;
}

void put_info_header(std::string& out, int width, int height, int bits_per_pixel,
                     std::uint32_t image_size)
{
    put_u32(out, info_header_size);
    put_u32(out, static_cast<std::uint32_t>(width));
    put_u32(out, static_cast<std::uint32_t>(height));
    put_u16(out, 1);  // planes
    put_u16(out, static_cast<std::uint32_t>(bits_per_pixel));
    put_u32(out, 0);  // BI_RGB
    put_u32(out, image_size);
    put_u32(out, 0);  // horizontal resolution: unspecified
    put_u32(out, 0);  // vertical resolution: unspecified
    put_u32(out, 0);  // colours used: all
    put_u32(out, 0);  // important colours: all
}

void put_rgb_rows(std::string& out, const QImage& image)
{
    const std::uint32_t row_size = padded_row_size(image.width(), 24);
    for (int y = image.height() - 1; y >= 0; --y) {
        const std::size_t row_start = out.size();
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            out.push_back(static_cast<char>(qBlue(pixel)));
            out.push_back(static_cast<char>(qGreen(pixel)));
            out.push_back(static_cast<char>(qRed(pixel)));
        }
        out.resize(row_start + row_size, '\0');
    }
}

void put_bgra_rows(std::string& out, const QImage& image)
{
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            out.push_back(static_cast<char>(qBlue(pixel)));
            out.push_back(static_cast<char>(qGreen(pixel)));
            out.push_back(static_cast<char>(qRed(pixel)));
            out.push_back(static_cast<char>(qAlpha(pixel)));
        }
    }
}

// One bit per pixel, set where the pixel is fully transparent, rows bottom-up padded to 4 bytes.
void put_and_mask(std::string& out, const QImage& image)
{
    const std::uint32_t row_size = padded_row_size(image.width(), 1);
    for (int y = image.height() - 1; y >= 0; --y) {
        std::string row(row_size, '\0');
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) == 0)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
        }
        out += row;
    }
}

}

std::string encode_bmp(const QImage& image)
{
    constexpr std::uint32_t trailing_zeros = 2;
    const std::uint32_t pixel_bytes = padded_row_size(image.width(), 24) * image.height();
    const std::uint32_t data_offset = file_header_size + info_header_size;
    std::string out;
    out.reserve(data_offset + pixel_bytes + trailing_zeros);
    out += "BM";
    put_u32(out, data_offset + pixel_bytes + trailing_zeros);
    put_u32(out, 0);  // reserved
    put_u32(out, data_offset);
    put_info_header(out, image.width(), image.height(), 24, pixel_bytes + trailing_zeros);
    put_rgb_rows(out, image);
    out.append(trailing_zeros, '\0');
    return out;
}

std::string encode_ico(const QImage& image)
{
    if (image.width() > max_icon_side || image.height() > max_icon_side)
        return {};
    const std::uint32_t colour_bytes = padded_row_size(image.width(), 32) * image.height();
    const std::uint32_t mask_bytes = padded_row_size(image.width(), 1) * image.height();
    const std::uint32_t resource_size = info_header_size + colour_bytes + mask_bytes;
    std::string out;
    out.reserve(icon_directory_size + resource_size);
    put_u16(out, 0);  // reserved
    put_u16(out, 1);  // resource type: icon
    put_u16(out, 1);  // image count
    // A side of 256 is written as 0 in the one-byte fields of the directory entry.
    out.push_back(static_cast<char>(image.width() % max_icon_side));
    out.push_back(static_cast<char>(image.height() % max_icon_side));
    out.push_back(0);  // palette size: none
    out.push_back(0);  // reserved
    put_u16(out, 1);   // planes
    put_u16(out, 32);  // bits per pixel
    put_u32(out, resource_size);
    put_u32(out, icon_directory_size);
    // The height of an icon's bitmap counts the colour rows and the mask rows together.
    put_info_header(out, image.width(), image.height() * 2, 32, colour_bytes + mask_bytes);
    put_bgra_rows(out, image);
    put_and_mask(out, image);
    return out;
}

}
