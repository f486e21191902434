#include "tools/draw_pictures/pictures.h"

#include "tools/draw_pictures/picture_files.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

namespace orvane::pictures {

namespace {

const QColor window_background{0x2D, 0x2D, 0x30};
const QColor plain_blue{0x00, 0x97, 0xFB};
const QColor gradient_blue_start{0x08, 0x99, 0xFB};
const QColor gradient_blue_end{0x43, 0xA6, 0xFE};
const QColor white{0xFF, 0xFF, 0xFF};

enum class Border { none, grey, blue, blue_gradient };

struct Look {
    const char* suffix;
    QColor background;
    QColor foreground;
    Border border;
};

// The three looks of the caption buttons (test, start, stop).
const std::array<Look, 3> caption_looks{{
    {"normal", QColor(0x25, 0x25, 0x26), QColor(0xC8, 0xC8, 0xC8), Border::grey},
    {"hot", QColor(0x3A, 0x3A, 0x3B), QColor(0xF4, 0xF4, 0xF4), Border::blue_gradient},
    {"pressed", QColor(0x34, 0x34, 0x35), QColor(0xC8, 0xC8, 0xC8), Border::blue},
}};

// The three looks of the window's minimize and close buttons.
const std::array<Look, 3> glyph_looks{{
    {"normal", window_background, white, Border::none},
    {"hot", QColor(0x42, 0x42, 0x44), white, Border::blue},
    {"pressed", QColor(0x3C, 0x3C, 0x3D), white, Border::blue},
}};

QColor mix(const QColor& from, const QColor& to, double amount)
{
    const auto channel = [amount](int a, int b) {
        return static_cast<int>(std::lround(a + (b - a) * std::clamp(amount, 0.0, 1.0)));
    };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

QImage filled(int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QColor border_colour(Border border, int x, int width)
{
    switch (border) {
    case Border::grey:
        return QColor(0x62, 0x62, 0x63);
    case Border::blue:
        return plain_blue;
    case Border::blue_gradient:
        return mix(gradient_blue_start, gradient_blue_end, static_cast<double>(x) / (width - 1));
    case Border::none:
        break;
    }
    return {};
}

void draw_border(QImage& image, Border border)
{
    if (border == Border::none)
        return;
    const int w = image.width();
    const int h = image.height();
    for (int x = 0; x < w; ++x) {
        image.setPixelColor(x, 0, border_colour(border, x, w));
        image.setPixelColor(x, h - 1, border_colour(border, x, w));
    }
    for (int y = 1; y < h - 1; ++y) {
        image.setPixelColor(0, y, border_colour(border, 0, w));
        image.setPixelColor(w - 1, y, border_colour(border, w - 1, w));
    }
}

QImage caption_button(int width, const QString& caption, const Look& look)
{
    constexpr int height = 26;
    constexpr int caption_pixel_height = 12;
    QImage image = filled(width, height, look.background);
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(caption_pixel_height);
    font.setHintingPreference(QFont::PreferFullHinting);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(look.foreground);
    painter.drawText(QRect(0, 0, width, height), Qt::AlignCenter, caption);
    painter.end();
    draw_border(image, look.border);
    return image;
}

double distance_to_segment(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax;
    const double dy = by - ay;
    const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

struct Segment {
    double ax, ay, bx, by;
};

// Paints strokes along the segments, full strength within `core` of a line and fading to nothing
// one pixel further out: a soft edge computed per pixel instead of a painter's antialiasing.
void draw_soft_strokes(QImage& image, const QRect& area, const std::vector<Segment>& segments,
                       double core, const QColor& colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            double nearest = 1e9;
            for (const Segment& s : segments)
                nearest = std::min(nearest, distance_to_segment(x + 0.5, y + 0.5, s.ax, s.ay, s.bx, s.by));
            const double strength = 1.0 - (nearest - core);
            if (strength > 0.0)
                image.setPixelColor(x, y, mix(image.pixelColor(x, y), colour, strength));
        }
    }
}

QImage glyph_button(const Look& look, const std::function<void(QImage&)>& draw_glyph)
{
    QImage image = filled(26, 26, look.background);
    draw_glyph(image);
    draw_border(image, look.border);
    return image;
}

void draw_minimize_bar(QImage& image)
{
    for (int x = 11; x <= 14; ++x)
        image.setPixelColor(x, 15, white);
}

// The cross fills columns 9 to 16 and rows 10 to 15; its arms run corner to corner of that box.
void draw_close_cross(QImage& image)
{
    const QRect box(9, 10, 8, 6);
    draw_soft_strokes(image, box,
                      {{9.5, 10.5, 16.5, 15.5}, {16.5, 10.5, 9.5, 15.5}}, 0.2, white);
}

QImage agreement_box(bool hot, bool ticked)
{
    const QColor fill = hot ? QColor(0x48, 0x48, 0x58) : QColor(0x34, 0x34, 0x46);
    const QColor border = hot ? plain_blue : QColor(0x43, 0x43, 0x46);
    QImage image = filled(16, 16, border);
    for (int y = 1; y < 15; ++y)
        for (int x = 1; x < 15; ++x)
            image.setPixelColor(x, y, fill);
    if (ticked) {
        const QColor tick = hot ? white : QColor(0xB3, 0xB3, 0xB3);
        draw_soft_strokes(image, QRect(2, 2, 12, 12),
                          {{4.0, 8.0, 6.8, 10.8}, {6.8, 10.8, 12.0, 5.0}}, 0.55, tick);
    }
    return image;
}

// Coverage of each pixel by the triangle, sampled on a 4 by 4 grid so the slanted edges are soft.
QImage side_marker()
{
    constexpr int width = 22;
    constexpr int height = 43;
    constexpr int samples = 4;
    const QColor grey(0x4B, 0x4B, 0x4D);
    QImage image = filled(width, height, window_background);
    const double middle = height / 2.0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int inside = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const double px = x + (sx + 0.5) / samples;
                    const double py = y + (sy + 0.5) / samples;
                    if (std::abs(py - middle) <= middle * (1.0 - px / width))
                        ++inside;
                }
            }
            image.setPixelColor(x, y, mix(window_background, grey,
                                          static_cast<double>(inside) / (samples * samples)));
        }
    }
    return image;
}

void draw_drive_bay(QPainter& painter, double top)
{
    const QColor blue_light(0x2A, 0xA8, 0xFF);
    painter.setPen(QPen(QColor(0x5C, 0x5C, 0x66), 1.0));
    painter.setBrush(QColor(0x1C, 0x1C, 0x21));
    painter.drawRoundedRect(QRectF(19.5, top + 0.5, 25.0, 9.0), 1.5, 1.5);
    painter.setPen(QPen(QColor(0x3E, 0x3E, 0x46), 1.0));
    painter.drawLine(QPointF(22.5, top + 5.0), QPointF(34.5, top + 5.0));
    QRadialGradient glow(QPointF(39.5, top + 5.0), 4.5);
    glow.setColorAt(0.0, QColor(0x43, 0xA6, 0xFE, 200));
    glow.setColorAt(1.0, QColor(0x08, 0x99, 0xFB, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(39.5, top + 5.0), 4.5, 4.5);
    painter.setBrush(blue_light);
    painter.drawEllipse(QPointF(39.5, top + 5.0), 1.8, 1.8);
}

// A dark server tower seen from the front, with three drive bays and a power ring, all lit blue.
QImage tray_icon()
{
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient body(QPointF(0, 4), QPointF(0, 60));
    body.setColorAt(0.0, QColor(0x4C, 0x4C, 0x55));
    body.setColorAt(1.0, QColor(0x22, 0x22, 0x27));
    painter.setPen(QPen(QColor(0x14, 0x14, 0x18), 1.5));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(14.75, 3.75, 34.5, 56.5), 5.0, 5.0);
    painter.setPen(QPen(QColor(0x6A, 0x6A, 0x74), 1.0));
    painter.drawLine(QPointF(19.0, 5.5), QPointF(45.0, 5.5));
    for (double top : {10.0, 22.0, 34.0})
        draw_drive_bay(painter, top);
    painter.setBrush(Qt::NoBrush);
    // The power sign: a ring open at the top (Qt counts arcs in sixteenths of a degree).
    painter.setPen(QPen(QColor(0x08, 0x99, 0xFB), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(28.4, 47.9, 7.2, 7.2), 120 * 16, 300 * 16);
    painter.setPen(QPen(QColor(0x43, 0xA6, 0xFE), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(32.0, 46.5), QPointF(32.0, 50.5));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

void add_bmp_set(std::vector<PictureFile>& files, const std::string& stem,
                 const std::array<Look, 3>& looks, const std::function<QImage(const Look&)>& draw)
{
    for (const Look& look : looks)
        files.push_back({stem + "_" + look.suffix + ".bmp", encode_bmp(draw(look))});
}

}

std::vector<PictureFile> draw_all()
{
    std::vector<PictureFile> files;
    add_bmp_set(files, "test", caption_looks,
                [](const Look& look) { return caption_button(48, QStringLiteral("测试"), look); });
    add_bmp_set(files, "start", caption_looks,
                [](const Look& look) { return caption_button(80, QStringLiteral("开始监控"), look); });
    add_bmp_set(files, "stop", caption_looks,
                [](const Look& look) { return caption_button(80, QStringLiteral("停止监控"), look); });
    add_bmp_set(files, "minimize", glyph_looks,
                [](const Look& look) { return glyph_button(look, draw_minimize_bar); });
    add_bmp_set(files, "close", glyph_looks,
                [](const Look& look) { return glyph_button(look, draw_close_cross); });
    files.push_back({"box_unticked_normal.bmp", encode_bmp(agreement_box(false, false))});
    files.push_back({"box_unticked_hot.bmp", encode_bmp(agreement_box(true, false))});
    files.push_back({"box_ticked_normal.bmp", encode_bmp(agreement_box(false, true))});
    files.push_back({"box_ticked_hot.bmp", encode_bmp(agreement_box(true, true))});
    files.push_back({"side_marker.bmp", encode_bmp(side_marker())});
    files.push_back({"tray_icon.ico", encode_ico(tray_icon())});
    return files;
}

}
