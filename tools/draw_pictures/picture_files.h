#pragma once

#include <QImage>

#include <string>

// Encoders for the two file kinds the program holds as exact bytes. Both write every header field
// themselves, so the bytes depend only on the pixels and never on an image library's version.
namespace orvane::pictures {

// A Windows bitmap, 24 bits per pixel, uncompressed, bottom-up rows padded to 4 bytes, followed
// by two zero bytes as Windows' own writers leave them. Alpha is ignored.
[[nodiscard]] std::string encode_bmp(const QImage& image);

// A Windows icon file holding this one image at 32 bits per pixel with alpha, plus the AND mask
// that marks the fully transparent pixels. An empty result means the image is too large for an
// icon directory entry (over 256 pixels a side).
[[nodiscard]] std::string encode_ico(const QImage& image);

}
