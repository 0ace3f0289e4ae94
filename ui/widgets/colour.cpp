#include "ui/widgets/colour.h"

namespace bitwatch {

QColor ToQColor(Colour colour) {
    const int red = static_cast<int>(colour & 0xFFU);
    const int green = static_cast<int>((colour >> 8U) & 0xFFU);
    const int blue = static_cast<int>((colour >> 16U) & 0xFFU);
    return {red, green, blue};
}

} // namespace bitwatch
