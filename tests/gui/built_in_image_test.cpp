#include "ui/widgets/built_in_image.h"

#include <cstring>

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace bitwatch {
namespace {

// The built-in logo is its PNG as the window drew it when it read the file: pixel for pixel,
// in the format of a pixmap on screen. (Only the PNG's colour space, which the raster engine
// does not use, is left behind.)
TEST(BuiltInImage, LogoIsItsPngAsTheWindowDrawsIt) {
    const QImage png(QStringLiteral(BITWATCH_RESOURCES_DIR "/logo.png"));
    ASSERT_FALSE(png.isNull());
    const QImage expected = QPixmap::fromImage(png).toImage();
    const QImage built = ToQImage(kLogoImage);
    ASSERT_EQ(built.size(), expected.size());
    ASSERT_EQ(built.format(), expected.format());
    for (int y = 0; y < built.height(); ++y) {
        ASSERT_EQ(std::memcmp(built.constScanLine(y), expected.constScanLine(y),
                              static_cast<std::size_t>(built.width()) * 4),
                  0)
            << "row " << y;
    }
}

} // namespace
} // namespace bitwatch
