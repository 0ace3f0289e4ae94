#include "stats/code_shape.h"

#include "core/codes.h"

namespace bitwatch::stats {

std::optional<CodeShape> ShapeOfMode(std::string_view modeText) {
    if (const ModeRow* row = FindMode(modeText)) {
        return CodeShape{row->codeMode, row->groupSize, kFrameBytes};
    }
    return std::nullopt;
}

std::uint8_t CheckByteOf(const CodeShape& shape, std::span<const std::uint8_t> bytes) {
    return CheckByteFor(shape.codeMode, bytes).value_or(0);
}

} // namespace bitwatch::stats
