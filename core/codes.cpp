#include "core/codes.h"

#include <bit>

namespace bitwatch {

std::uint8_t VerticalParityByte(std::span<const std::uint8_t> bytes) {
    unsigned columnParities = 0;
    for (std::uint8_t byte : bytes) {
        columnParities ^= byte;
    }
    unsigned running = 0;
    unsigned check = 0;
    for (int column = 0; column < 8; ++column) {
        const unsigned weight = 1U << (7 - column);
        running ^= (columnParities & weight) != 0 ? 1U : 0U;
        if (running != 0) {
            check |= weight;
        }
    }
    return static_cast<std::uint8_t>(check);
}

std::uint8_t ChecksumByte(std::span<const std::uint8_t> bytes) {
    unsigned total = 0;
    for (std::uint8_t byte : bytes) {
        total += byte;
    }
    return static_cast<std::uint8_t>(total & 0xFFU);
}

std::uint8_t InternetByte(std::span<const std::uint8_t> bytes) {
    unsigned total = 0;
    for (std::uint8_t byte : bytes) {
        total += byte;
    }
    while (total > 0xFFU) {
        total = (total & 0xFFU) + (total >> 8U);
    }
    return static_cast<std::uint8_t>(0xFFU - total);
}

std::uint8_t Crc8(std::span<const std::uint8_t> bytes) {
    constexpr unsigned kPolynomial = kCrcGenerator & 0xFFU;
    unsigned crc = 0;
    for (std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int step = 0; step < 8; ++step) {
            crc = (crc & 0x80U) != 0 ? ((crc << 1U) ^ kPolynomial) : (crc << 1U);
            crc &= 0xFFU;
        }
    }
    return static_cast<std::uint8_t>(crc);
}

bool GroupParity(const FrameBytes& bytes, int first, int last) {
    int ones = 0;
    for (int k = first; k <= last; ++k) {
        ones += DataBit(bytes, k) ? 1 : 0;
    }
    return ones % 2 != 0;
}

} // namespace bitwatch
