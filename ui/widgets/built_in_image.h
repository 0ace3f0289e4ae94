#pragma once

#include <cstdint>

#include <QImage>

namespace bitwatch {

// An image compiled into the program as the pixels Qt draws (premultiplied ARGB words, row by
// row), so that showing it needs no decoding and no look for image plugins at start-up. The
// build makes each one from its PNG with bitwatch_image_to_source.
struct BuiltInImage {
    int width;
    int height;
    const std::uint32_t* pixels;
};

// The logo of the window's lower left corner, from resources/logo.png.
extern const BuiltInImage kLogoImage;

// The image over the built-in pixels, without a copy.
inline QImage ToQImage(const BuiltInImage& image) {
    return QImage(reinterpret_cast<const uchar*>(image.pixels), image.width, image.height,
                  static_cast<qsizetype>(image.width) * 4, QImage::Format_ARGB32_Premultiplied);
}

} // namespace bitwatch
