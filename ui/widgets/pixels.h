#pragma once

// The layout's boxes, in twips, as the pixel rectangles Qt places widgets with.

#include <QRect>
#include <QSize>

#include "ui/layout.h"

namespace bitwatch {

inline QRect ToPixels(const layout::Box& box) {
    constexpr int px = layout::kTwipsPerPixel;
    return {box.left / px, box.top / px, box.width / px, box.height / px};
}

// The window's inside.
inline QSize ClientSize() {
    constexpr int px = layout::kTwipsPerPixel;
    return {layout::kClientWidth / px, layout::kClientHeight / px};
}

} // namespace bitwatch
