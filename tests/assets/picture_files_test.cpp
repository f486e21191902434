#include "tools/draw_pictures/picture_files.h"
#include "tests/assets/picture_bytes.h"

#include <gtest/gtest.h>

#include <QImage>

namespace orvane::pictures {
namespace {

using test::decode;
using test::read_u32;

QImage two_by_three()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(0x10, 0x20, 0x30));
    image.setPixel(1, 0, qRgb(0x40, 0x50, 0x60));
    image.setPixel(2, 0, qRgb(0x70, 0x80, 0x90));
    image.setPixel(0, 1, qRgb(0xA0, 0xB0, 0xC0));
    image.setPixel(1, 1, qRgb(0xD0, 0xE0, 0xF0));
    image.setPixel(2, 1, qRgb(0x01, 0x02, 0x03));
    return image;
}

TEST(EncodeBmp, WritesBottomUpBgrRowsPaddedToFourBytes)
{
    const std::string bytes = encode_bmp(two_by_three());
    ASSERT_EQ(bytes.size(), 54u + 2 * 12 + 2);
    // The bottom row comes first, each pixel blue-green-red, then three padding bytes.
    EXPECT_EQ(bytes.substr(54, 12), std::string("\xC0\xB0\xA0\xF0\xE0\xD0\x03\x02\x01\0\0\0", 12));
    EXPECT_EQ(bytes.substr(66, 12), std::string("\x30\x20\x10\x60\x50\x40\x90\x80\x70\0\0\0", 12));
    EXPECT_EQ(read_u32(bytes, 2), bytes.size());
    EXPECT_EQ(read_u32(bytes, 34), bytes.size() - 54);
}

TEST(EncodeBmp, RoundTripsThroughQt)
{
    const QImage original = two_by_three();
    const QImage loaded = decode(encode_bmp(original)).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(loaded, original);
}

TEST(EncodeIco, MarksOnlyFullyTransparentPixelsInTheMask)
{
    QImage image(8, 2, QImage::Format_ARGB32);
    image.fill(qRgba(0x11, 0x22, 0x33, 0xFF));
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    image.setPixel(7, 1, qRgba(0, 0, 0, 0));
    image.setPixel(3, 1, qRgba(0x40, 0x40, 0x40, 0x01));
    const std::string bytes = encode_ico(image);
    const std::size_t mask = 22 + 40 + 8 * 2 * 4;
    ASSERT_EQ(bytes.size(), mask + 2 * 4);
    // Rows bottom-up: the bottom row's last pixel, then the top row's first.
    EXPECT_EQ(bytes.substr(mask, 8), std::string("\x01\0\0\0\x80\0\0\0", 8));
    const QImage loaded = decode(bytes).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(loaded.size(), image.size());
    EXPECT_EQ(qAlpha(loaded.pixel(0, 0)), 0);
    EXPECT_EQ(loaded.pixel(4, 0), image.pixel(4, 0));
}

TEST(EncodeIco, RefusesImagesLargerThanAnIconEntryCanName)
{
    QImage largest(256, 256, QImage::Format_ARGB32);
    largest.fill(Qt::transparent);
    const std::string bytes = encode_ico(largest);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes[6], '\0');  // 256 is written as 0
    EXPECT_TRUE(encode_ico(QImage(257, 16, QImage::Format_ARGB32)).empty());
}

}
}
