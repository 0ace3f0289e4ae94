#include "stats/running_check.h"

#include "core/codes.h"
#include "core/modes.h"

namespace bitwatch::stats {

std::uint8_t RunningStep(const CodeShape& shape, std::uint8_t state, int bitIndex, bool one) {
    const auto weight = static_cast<unsigned>(0x80U >> (bitIndex % 8));
    switch (shape.codeMode) {
    case ModeVerticalParity: // the exclusive or of the bytes: the column parities
        return static_cast<std::uint8_t>(one ? state ^ weight : state);
    case ModeChecksum:
        return static_cast<std::uint8_t>(one ? (state + weight) & 0xFFU : state);
    case ModeInternet: {
        // 0 stands for a zero total; 1 to 255 for the folded one's-complement sum.
        if (!one) {
            return state;
        }
        return static_cast<std::uint8_t>(state == 0 ? weight : (state + weight - 1) % 255 + 1);
    }
    case ModeCrc8: { // bit-serial CRC, most significant bit first
        const bool feedback = (((state >> 7U) & 1U) != 0) != one;
        const auto shifted = static_cast<unsigned>(state << 1U) & 0xFFU;
        return static_cast<std::uint8_t>(feedback ? shifted ^ (kCrcGenerator & 0xFFU) : shifted);
    }
    default:
        return state;
    }
}

std::uint8_t FinishCheck(const CodeShape& shape, std::uint8_t state) {
    switch (shape.codeMode) {
    case ModeVerticalParity: {
        unsigned running = 0;
        unsigned check = 0;
        for (int column = 0; column < 8; ++column) {
            running ^= (state >> (7 - column)) & 1U;
            check = check * 2 + running;
        }
        return static_cast<std::uint8_t>(check);
    }
    case ModeInternet:
        return static_cast<std::uint8_t>(255 - state);
    default:
        return state;
    }
}

} // namespace bitwatch::stats
