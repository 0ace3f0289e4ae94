#pragma once

#include <QFont>

#include "ui/layout.h"

namespace bitwatch {

// "MS Sans Serif" or "Times New Roman" at the given point size, or where they are missing the
// metric-compatible Liberation Sans or Liberation Serif. The size is set in logical pixels
// (points at 96 dots per inch), the same unit as the layout, so text keeps its size relative to
// its box whatever DPI the platform reports.
QFont DemoFont(FontFace face, double points);

inline QFont DemoFont(const layout::TextStyle& style) {
    return DemoFont(style.face, style.points);
}

} // namespace bitwatch
