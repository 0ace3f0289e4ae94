#include "stats/code_shape.h"

#include "core/codes.h"
#include "core/frame.h"

namespace bitwatch::stats {

std::optional<CodeShape> ShapeOfMode(std::string_view modeText) {
    for (const ModeRow& row : kModeTable) {
        if (row.text == modeText) {
            return CodeShape{row.codeMode, row.groupSize, kFrameBytes};
        }
    }
    return std::nullopt;
}

std::uint8_t CheckByteOf(const CodeShape& shape, std::span<const std::uint8_t> bytes) {
    switch (shape.codeMode) {
    case ModeVerticalParity:
        return VerticalParityByte(bytes);
    case ModeChecksum:
        return ChecksumByte(bytes);
    case ModeInternet:
        return InternetByte(bytes);
    case ModeCrc8:
        return Crc8(bytes);
    default:
        return 0;
    }
}

} // namespace bitwatch::stats
