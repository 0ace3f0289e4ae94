#pragma once

// The encodings a link is written in, whatever it carries: numbers as LEB128 and fixed-width
// bit sets in bytes, the bytes sealed with a CRC-32 that a cut or altered link fails, and the
// whole as base64url, which an address carries as it is.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bitwatch::link {

class ByteWriter {
  public:
    void Byte(std::uint8_t byte) { bytes_.push_back(byte); }
    // LEB128: seven bits a byte, low first, the high bit saying that more follow.
    void Number(std::uint64_t value);
    // The low 8 * byteCount bits, low byte first.
    void FixedBits(std::uint64_t bits, int byteCount);
    // Its length, then its bytes.
    void Text(std::string_view text);
    std::vector<std::uint8_t>& bytes() { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
};

// Each read is false, with nothing more to read, where the bytes end early or are not as a
// ByteWriter writes them.
class ByteReader {
  public:
    explicit ByteReader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    bool Byte(std::uint8_t& byte);
    bool Number(std::uint64_t& value);
    bool FixedBits(std::uint64_t& bits, int byteCount);
    bool Text(std::string& text);
    std::size_t left() const { return bytes_.size() - at_; }

  private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_ = 0;
};

// The reflected CRC-32 of zip and Ethernet.
std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes);

// The bytes with their CRC-32 after them, low byte first; and back, nothing where the CRC-32
// does not match.
std::vector<std::uint8_t> Sealed(std::vector<std::uint8_t> bytes);
std::optional<std::vector<std::uint8_t>> Unsealed(std::vector<std::uint8_t> bytes);

std::string Base64Url(const std::vector<std::uint8_t>& bytes);
// Nothing for a character outside the alphabet or bits left over that Base64Url sets to zero.
std::optional<std::vector<std::uint8_t>> FromBase64Url(std::string_view text);

} // namespace bitwatch::link
