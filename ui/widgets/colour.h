#pragma once

#include <QColor>

#include "ui/controls.h"

namespace bitwatch {

// The one conversion from the records' 0xBBGGRR values (blue in the high byte) to Qt.
QColor ToQColor(Colour colour);

} // namespace bitwatch
