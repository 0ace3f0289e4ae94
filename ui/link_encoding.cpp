#include "ui/link_encoding.h"

namespace bitwatch::link {

namespace {

constexpr std::string_view kBase64Url =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

constexpr std::size_t kCrcBytes = 4;

} // namespace

void ByteWriter::Number(std::uint64_t value) {
    do {
        const auto low = static_cast<std::uint8_t>(value & 0x7FU);
        value >>= 7U;
        Byte(value != 0 ? static_cast<std::uint8_t>(low | 0x80U) : low);
    } while (value != 0);
}

void ByteWriter::FixedBits(std::uint64_t bits, int byteCount) {
    for (int i = 0; i < byteCount; ++i) {
        Byte(static_cast<std::uint8_t>(bits >> (8U * static_cast<unsigned>(i))));
    }
}

void ByteWriter::Text(std::string_view text) {
    Number(text.size());
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

bool ByteReader::Byte(std::uint8_t& byte) {
    if (at_ >= bytes_.size()) {
        return false;
    }
    byte = bytes_[at_++];
    return true;
}

bool ByteReader::Number(std::uint64_t& value) {
    value = 0;
    for (unsigned shift = 0; shift < 64; shift += 7) {
        std::uint8_t byte = 0;
        if (!Byte(byte)) {
            return false;
        }
        const std::uint64_t low = byte & 0x7FU;
        // The tenth byte may hold only the number's top bit; a byte of zero after the first
        // would write a number another way than the writer does.
        if ((shift == 63 && low > 1) || (shift > 0 && byte == 0)) {
            return false;
        }
        value |= low << shift;
        if ((byte & 0x80U) == 0) {
            return true;
        }
    }
    return false;
}

bool ByteReader::FixedBits(std::uint64_t& bits, int byteCount) {
    bits = 0;
    for (int i = 0; i < byteCount; ++i) {
        std::uint8_t byte = 0;
        if (!Byte(byte)) {
            return false;
        }
        bits |= std::uint64_t{byte} << (8U * static_cast<unsigned>(i));
    }
    return true;
}

bool ByteReader::Text(std::string& text) {
    std::uint64_t size = 0;
    if (!Number(size) || size > bytes_.size() - at_) {
        return false;
    }
    const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(at_);
    text.assign(begin, begin + static_cast<std::ptrdiff_t>(size));
    at_ += static_cast<std::size_t>(size);
    return true;
}

std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes) {
    // Bit by bit: a link is read once.
    constexpr std::uint32_t kReflectedPolynomial = 0xEDB88320U;
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1U) ^ ((crc & 1U) != 0 ? kReflectedPolynomial : 0U);
        }
    }
    return ~crc;
}

std::vector<std::uint8_t> Sealed(std::vector<std::uint8_t> bytes) {
    const std::uint32_t crc = Crc32(bytes);
    for (unsigned shift = 0; shift < 8 * kCrcBytes; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(crc >> shift));
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> Unsealed(std::vector<std::uint8_t> bytes) {
    if (bytes.size() < kCrcBytes) {
        return std::nullopt;
    }
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < kCrcBytes; ++i) {
        crc |= std::uint32_t{bytes[bytes.size() - kCrcBytes + i]} << (8U * i);
    }
    bytes.resize(bytes.size() - kCrcBytes);
    if (crc != Crc32(bytes)) {
        return std::nullopt;
    }
    return bytes;
}

std::string Base64Url(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    std::uint32_t buffer = 0;
    unsigned held = 0;
    for (const std::uint8_t byte : bytes) {
        buffer = (buffer << 8U) | byte;
        held += 8;
        while (held >= 6) {
            held -= 6;
            text += kBase64Url[(buffer >> held) & 63U];
        }
    }
    if (held > 0) {
        text += kBase64Url[(buffer << (6 - held)) & 63U];
    }
    return text;
}

std::optional<std::vector<std::uint8_t>> FromBase64Url(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    std::uint32_t buffer = 0;
    unsigned held = 0;
    for (const char c : text) {
        const std::size_t value = kBase64Url.find(c);
        if (value == std::string_view::npos) {
            return std::nullopt;
        }
        buffer = ((buffer << 6U) | static_cast<std::uint32_t>(value)) & 0xFFFFU;
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes.push_back(static_cast<std::uint8_t>(buffer >> held));
        }
    }
    if (held >= 6 || (buffer & ((1U << held) - 1U)) != 0) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace bitwatch::link
