#include "assets/assets.h"
#include "tests/assets/picture_bytes.h"
#include "tools/draw_pictures/pictures.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QRect>

#include <algorithm>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace orvane::assets {
namespace {

using test::decode;
using test::read_u16;
using test::read_u32;

struct PictureCase {
    const char* name;
    std::string_view bytes;
    int width;
    int height;
};

const std::vector<PictureCase>& pictures()
{
    static const std::vector<PictureCase> table{
        {"test_normal", test_normal, 48, 26},
        {"test_hot", test_hot, 48, 26},
        {"test_pressed", test_pressed, 48, 26},
        {"start_normal", start_normal, 80, 26},
        {"start_hot", start_hot, 80, 26},
        {"start_pressed", start_pressed, 80, 26},
        {"stop_normal", stop_normal, 80, 26},
        {"stop_hot", stop_hot, 80, 26},
        {"stop_pressed", stop_pressed, 80, 26},
        {"minimize_normal", minimize_normal, 26, 26},
        {"minimize_hot", minimize_hot, 26, 26},
        {"minimize_pressed", minimize_pressed, 26, 26},
        {"close_normal", close_normal, 26, 26},
        {"close_hot", close_hot, 26, 26},
        {"close_pressed", close_pressed, 26, 26},
        {"box_unticked_normal", box_unticked_normal, 16, 16},
        {"box_unticked_hot", box_unticked_hot, 16, 16},
        {"box_ticked_normal", box_ticked_normal, 16, 16},
        {"box_ticked_hot", box_ticked_hot, 16, 16},
        {"side_marker", side_marker, 22, 43},
    };
    return table;
}

QRgb rgb(std::uint32_t hex)
{
    return qRgb(static_cast<int>(hex >> 16), static_cast<int>((hex >> 8) & 0xFF),
                static_cast<int>(hex & 0xFF));
}

QRgb at(const QImage& image, int x, int y)
{
    return image.pixel(x, y) | 0xFF000000u;
}

std::vector<QPoint> perimeter(const QImage& image)
{
    std::vector<QPoint> points;
    for (int x = 0; x < image.width(); ++x) {
        points.emplace_back(x, 0);
        points.emplace_back(x, image.height() - 1);
    }
    for (int y = 1; y < image.height() - 1; ++y) {
        points.emplace_back(0, y);
        points.emplace_back(image.width() - 1, y);
    }
    return points;
}

int brightness(QRgb pixel)
{
    return qGray(pixel);
}

// Keeps test names and failure messages readable instead of dumping the case's bytes.
void PrintTo(const PictureCase& c, std::ostream* out)
{
    *out << c.name;
}

class PictureFile : public ::testing::TestWithParam<PictureCase> {};

TEST_P(PictureFile, IsAnUncompressed24BitBmpOfTheRightSize)
{
    const PictureCase& c = GetParam();
    const std::string_view b = c.bytes;
    const std::uint32_t row_size = ((c.width * 3 + 3) / 4) * 4;
    const std::uint32_t pixel_bytes = row_size * c.height;
    ASSERT_EQ(b.size(), 54 + pixel_bytes + 2);
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(read_u32(b, 2), b.size());        // bfSize
    EXPECT_EQ(read_u32(b, 10), 54u);            // pixel data offset
    EXPECT_EQ(read_u32(b, 14), 40u);            // BITMAPINFOHEADER
    EXPECT_EQ(read_u32(b, 18), static_cast<std::uint32_t>(c.width));
    EXPECT_EQ(read_u32(b, 22), static_cast<std::uint32_t>(c.height));  // positive: bottom-up
    EXPECT_EQ(read_u16(b, 26), 1u);             // planes
    EXPECT_EQ(read_u16(b, 28), 24u);            // bits per pixel
    EXPECT_EQ(read_u32(b, 30), 0u);             // BI_RGB
    EXPECT_EQ(read_u32(b, 34), b.size() - 54);  // biSizeImage, with the two trailing bytes
    EXPECT_EQ(b.substr(b.size() - 2), std::string_view("\0\0", 2));
}

TEST_P(PictureFile, LoadsWithQtAtItsSize)
{
    const QImage image = decode(GetParam().bytes);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(GetParam().width, GetParam().height));
}

INSTANTIATE_TEST_SUITE_P(Assets, PictureFile, ::testing::ValuesIn(pictures()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PictureAssets, StartAndStopPicturesAre6296Bytes)
{
    for (std::string_view bytes : {start_normal, start_hot, start_pressed, stop_normal, stop_hot,
                                   stop_pressed})
        EXPECT_EQ(bytes.size(), 6296u);
}

// The switch tells its state by comparing pictures byte for byte, and each button tells its
// looks apart only by the pictures, so no two pictures may be the same.
TEST(PictureAssets, EveryPictureIsDistinct)
{
    std::set<std::string_view> seen;
    for (const PictureCase& c : pictures())
        EXPECT_TRUE(seen.insert(c.bytes).second) << c.name;
}

// The glyphs and shapes are computed pixel by pixel, so the tool must redraw them exactly as
// committed; only the captions depend on the installed font's rendering.
TEST(PictureAssets, ToolRedrawsTheCommittedPicturesWithoutCaptions)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "assets_test";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    const auto drawn = pictures::draw_all();
    int compared = 0;
    for (const PictureCase& c : pictures()) {
        const std::string file = std::string(c.name) + ".bmp";
        if (file.starts_with("test_") || file.starts_with("start_") || file.starts_with("stop_"))
            continue;
        const auto match = std::find_if(drawn.begin(), drawn.end(),
                                        [&](const auto& d) { return d.name == file; });
        ASSERT_NE(match, drawn.end()) << file;
        EXPECT_TRUE(match->bytes == c.bytes) << file << " differs from the committed file";
        ++compared;
    }
    EXPECT_EQ(compared, 11);
}

TEST(TrayIcon, IsOne64x64Image32BitWithAnAndMask)
{
    const std::string_view b = tray_icon;
    ASSERT_EQ(b.size(), 16958u);
    EXPECT_EQ(read_u16(b, 0), 0u);
    EXPECT_EQ(read_u16(b, 2), 1u);  // icon
    EXPECT_EQ(read_u16(b, 4), 1u);  // one image
    EXPECT_EQ(static_cast<std::uint8_t>(b[6]), 64);
    EXPECT_EQ(static_cast<std::uint8_t>(b[7]), 64);
    EXPECT_EQ(read_u16(b, 12), 32u);
    EXPECT_EQ(read_u32(b, 14), 16958u - 22);
    EXPECT_EQ(read_u32(b, 18), 22u);
    EXPECT_EQ(read_u32(b, 22), 40u);
    EXPECT_EQ(read_u32(b, 26), 64u);
    EXPECT_EQ(read_u32(b, 30), 128u);  // colour rows and mask rows
    EXPECT_EQ(read_u16(b, 36), 32u);
    EXPECT_EQ(read_u32(b, 38), 0u);
}

TEST(TrayIcon, LoadsWithTransparentCornersAndAnOpaqueDarkTower)
{
    const QImage icon = decode(tray_icon).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(icon.size(), QSize(64, 64));
    ASSERT_TRUE(icon.hasAlphaChannel());
    for (QPoint corner : {QPoint(0, 0), QPoint(63, 0), QPoint(0, 63), QPoint(63, 63)})
        EXPECT_EQ(qAlpha(icon.pixel(corner)), 0);
    const QRgb body = icon.pixel(24, 48);
    EXPECT_EQ(qAlpha(body), 255);
    EXPECT_LT(brightness(body), 0x50);
    int blue_lights = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const QRgb p = icon.pixel(x, y);
            if (qAlpha(p) == 255 && qBlue(p) > 200 && qRed(p) < 120)
                ++blue_lights;
        }
    }
    EXPECT_GE(blue_lights, 12);
}

struct GlyphCase {
    const char* name;
    std::string_view bytes;
    std::uint32_t background;
    bool blue_border;
};

const std::vector<GlyphCase> minimize_looks{
    {"normal", minimize_normal, 0x2D2D30, false},
    {"hot", minimize_hot, 0x424244, true},
    {"pressed", minimize_pressed, 0x3C3C3D, true},
};

const std::vector<GlyphCase> close_looks{
    {"normal", close_normal, 0x2D2D30, false},
    {"hot", close_hot, 0x424244, true},
    {"pressed", close_pressed, 0x3C3C3D, true},
};

bool is_blue(QRgb p)
{
    return qBlue(p) > 0xE0 && qRed(p) < 0x50 && qGreen(p) > 0x90 && qGreen(p) < 0xB0;
}

void expect_frame(const QImage& image, const GlyphCase& look)
{
    for (QPoint p : perimeter(image)) {
        const QRgb pixel = at(image, p.x(), p.y());
        if (look.blue_border) {
            EXPECT_TRUE(is_blue(pixel)) << look.name << " at " << p.x() << "," << p.y();
        } else {
            EXPECT_EQ(pixel, rgb(look.background)) << look.name;
        }
    }
}

TEST(MinimizePictures, WhiteBarOnRow15Columns11To14OnPlainBackground)
{
    for (const GlyphCase& look : minimize_looks) {
        const QImage image = decode(look.bytes);
        ASSERT_EQ(image.size(), QSize(26, 26));
        expect_frame(image, look);
        for (int y = 1; y < 25; ++y) {
            for (int x = 1; x < 25; ++x) {
                const bool bar = y == 15 && x >= 11 && x <= 14;
                EXPECT_EQ(at(image, x, y), bar ? rgb(0xFFFFFF) : rgb(look.background))
                    << look.name << " at " << x << "," << y;
            }
        }
    }
}

TEST(ClosePictures, WhiteCrossFillsColumns9To16Rows10To15Only)
{
    for (const GlyphCase& look : close_looks) {
        const QImage image = decode(look.bytes);
        ASSERT_EQ(image.size(), QSize(26, 26));
        expect_frame(image, look);
        for (int y = 1; y < 25; ++y) {
            for (int x = 1; x < 25; ++x) {
                if (x < 9 || x > 16 || y < 10 || y > 15) {
                    EXPECT_EQ(at(image, x, y), rgb(look.background))
                        << look.name << " at " << x << "," << y;
                }
            }
        }
        // The arms reach all four corners of the cross's box and meet in its middle.
        for (QPoint p : {QPoint(9, 10), QPoint(16, 10), QPoint(9, 15), QPoint(16, 15),
                         QPoint(12, 12), QPoint(13, 13)})
            EXPECT_GT(brightness(at(image, p.x(), p.y())), 0xC0) << look.name << " at " << p.x() << "," << p.y();
        // Softened: some pixels of the arms lie between background and white.
        EXPECT_LT(brightness(at(image, 12, 10)), 0xC0) << look.name;
    }
}

struct CaptionCase {
    const char* name;
    std::string_view bytes;
    std::uint32_t background;
    std::uint32_t border_left;
    std::uint32_t border_right;
};

TEST(CaptionPictures, BackgroundBorderAndALightCaption)
{
    const std::vector<CaptionCase> table{
        {"test_normal", test_normal, 0x252526, 0x626263, 0x626263},
        {"start_normal", start_normal, 0x252526, 0x626263, 0x626263},
        {"stop_normal", stop_normal, 0x252526, 0x626263, 0x626263},
        {"test_hot", test_hot, 0x3A3A3B, 0x0899FB, 0x43A6FE},
        {"start_hot", start_hot, 0x3A3A3B, 0x0899FB, 0x43A6FE},
        {"stop_hot", stop_hot, 0x3A3A3B, 0x0899FB, 0x43A6FE},
        {"test_pressed", test_pressed, 0x343435, 0x0097FB, 0x0097FB},
        {"start_pressed", start_pressed, 0x343435, 0x0097FB, 0x0097FB},
        {"stop_pressed", stop_pressed, 0x343435, 0x0097FB, 0x0097FB},
    };
    for (const CaptionCase& c : table) {
        const QImage image = decode(c.bytes);
        ASSERT_FALSE(image.isNull()) << c.name;
        const int right = image.width() - 1;
        const int bottom = image.height() - 1;
        EXPECT_EQ(at(image, 0, 0), rgb(c.border_left)) << c.name;
        EXPECT_EQ(at(image, 0, bottom), rgb(c.border_left)) << c.name;
        EXPECT_EQ(at(image, right, 0), rgb(c.border_right)) << c.name;
        EXPECT_EQ(at(image, right, 13), rgb(c.border_right)) << c.name;
        EXPECT_EQ(at(image, 2, 2), rgb(c.background)) << c.name;
        EXPECT_EQ(at(image, right - 2, bottom - 2), rgb(c.background)) << c.name;
        // The caption: light pixels well above the background, centred in the picture.
        QRect caption;
        int light = 0;
        for (int y = 1; y < bottom; ++y) {
            for (int x = 1; x < right; ++x) {
                if (brightness(at(image, x, y)) > brightness(rgb(c.background)) + 0x60) {
                    caption |= QRect(x, y, 1, 1);
                    ++light;
                }
            }
        }
        EXPECT_GE(light, 30) << c.name << ": no caption drawn";
        EXPECT_NEAR(caption.center().x(), image.width() / 2, 2) << c.name;
        EXPECT_NEAR(caption.center().y(), image.height() / 2, 2) << c.name;
    }
}

struct BoxCase {
    const char* name;
    std::string_view bytes;
    std::uint32_t fill;
    std::uint32_t border;
    bool ticked;
    std::uint32_t tick;
};

TEST(AgreementBoxPictures, SquareWithBorderAndATickOnlyWhenTicked)
{
    const std::vector<BoxCase> table{
        {"unticked_normal", box_unticked_normal, 0x343446, 0x434346, false, 0},
        {"unticked_hot", box_unticked_hot, 0x484858, 0x0097FB, false, 0},
        {"ticked_normal", box_ticked_normal, 0x343446, 0x434346, true, 0xB3B3B3},
        {"ticked_hot", box_ticked_hot, 0x484858, 0x0097FB, true, 0xFFFFFF},
    };
    for (const BoxCase& c : table) {
        const QImage image = decode(c.bytes);
        ASSERT_EQ(image.size(), QSize(16, 16)) << c.name;
        for (QPoint p : perimeter(image))
            EXPECT_EQ(at(image, p.x(), p.y()), rgb(c.border)) << c.name;
        int fill = 0;
        int tick = 0;
        for (int y = 1; y < 15; ++y) {
            for (int x = 1; x < 15; ++x) {
                fill += at(image, x, y) == rgb(c.fill) ? 1 : 0;
                tick += at(image, x, y) == rgb(c.tick) ? 1 : 0;
            }
        }
        if (c.ticked) {
            EXPECT_GE(tick, 8) << c.name;
            EXPECT_GE(fill, 14 * 14 / 2) << c.name;
        } else {
            EXPECT_EQ(fill, 14 * 14) << c.name;
        }
    }
}

TEST(SideMarkerPicture, GreyTrianglePointingRightOnWindowBackground)
{
    const QImage image = decode(side_marker);
    ASSERT_EQ(image.size(), QSize(22, 43));
    const QRgb grey = rgb(0x4B4B4D);
    const QRgb background = rgb(0x2D2D30);
    for (int y = 1; y < 42; ++y)
        EXPECT_EQ(at(image, 0, y), grey) << "base at row " << y;
    EXPECT_EQ(at(image, 10, 21), grey);
    // The tip: the right column is grey at its middle row and plain background elsewhere.
    EXPECT_GT(brightness(at(image, 21, 21)), (brightness(grey) + brightness(background)) / 2);
    for (int y : {0, 10, 19, 23, 32, 42})
        EXPECT_EQ(at(image, 21, y), background) << "right edge at row " << y;
    EXPECT_EQ(at(image, 15, 2), background);
    EXPECT_EQ(at(image, 15, 40), background);
}

}
}
