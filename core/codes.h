#pragma once

// The frame's bytes and the codes' check bytes as pure functions over them (each defined with
// its code's unit in core/codes/). Data bit k is bit position k mod 8
// (0 the most significant) of byte k div 8; check bytes are returned with bit 7 as the
// leftmost check cell.

#include <array>
#include <cstdint>
#include <span>

namespace bitwatch {

inline constexpr int kFrameBytes = 6;
using FrameBytes = std::array<std::uint8_t, kFrameBytes>;

inline bool DataBit(const FrameBytes& bytes, int k) {
    return ((bytes[k / 8] >> (7 - k % 8)) & 1U) != 0;
}

// The check-byte codes work on any number of bytes; the frame has six.

// Check bit c is the parity of the ones in columns 0 to c of all bytes together: a running
// column parity, not the parity of column c alone.
std::uint8_t VerticalParityByte(std::span<const std::uint8_t> bytes);

// The sum of the bytes modulo 256.
std::uint8_t ChecksumByte(std::span<const std::uint8_t> bytes);

// 255 minus the one's-complement sum (with end-around carry) of the bytes: the 8-bit
// counterpart of the Internet checksum.
std::uint8_t InternetByte(std::span<const std::uint8_t> bytes);

// The CRC-8 generator x^8 + x^2 + x + 1 (100000111); a shift register keeps its low byte,
// kCrcGenerator & 0xFF.
inline constexpr std::uint16_t kCrcGenerator = 0x107;

// CRC-8 with generator kCrcGenerator, initial value 0, no reflection and no final exclusive or,
// most significant bit of the first byte first.
std::uint8_t Crc8(std::span<const std::uint8_t> bytes);

// Even parity of data bits first .. last (inclusive): true when they hold an odd number of ones.
bool GroupParity(const FrameBytes& bytes, int first, int last);

} // namespace bitwatch
