#include "core/modes.h"

#include <string>

#include "core/codes/code_unit.h"

namespace bitwatch {

const ModeRow* FindMode(std::string_view modeText) {
    for (const ModeRow& row : kModeTable) {
        if (row.text == modeText) {
            return &row;
        }
    }
    return nullptr;
}

std::string_view ModeNamesList() {
    static const std::string names = [] {
        std::string joined;
        for (const ModeRow& row : kModeTable) {
            if (!joined.empty()) {
                joined += ", ";
            }
            joined += row.text;
        }
        return joined;
    }();
    return names;
}

std::optional<std::uint8_t> CheckByteFor(std::int32_t codeMode,
                                         std::span<const std::uint8_t> bytes) {
    const CodeRow& row = CodeOf(codeMode);
    if (!row.checkByte) {
        return std::nullopt;
    }
    return row.unit->checkByteOf(bytes);
}

} // namespace bitwatch
