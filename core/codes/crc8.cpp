// CRC-8 with the generator x^8 + x^2 + x + 1 (100000111): the check byte is the remainder of the
// data, followed by eight zeros, divided by the generator over GF(2).

#include "core/check_engine.h"
#include "core/codes/check_byte.h"
#include "core/codes/code_unit.h"
#include "core/explain.h"

namespace bitwatch {

namespace {

constexpr int kBits = kDataBits + kCheckBits;
constexpr int kTop = kBits - 1; // bit 55: the first bit sent
constexpr int kGeneratorBits = 9;

// Where the generator stands when it is subtracted under the leading 1 at `position`.
std::uint64_t GeneratorAt(int position) {
    return std::uint64_t{kCrcGenerator} << (kTop - position - 8);
}

CrcWorking Division(const Explanation& e, const FrameBytes& received) {
    CrcWorking crc;
    for (const std::uint8_t byte : received) {
        crc.dividend = (crc.dividend << 8U) | byte;
    }
    crc.dividend = (crc.dividend << 8U) | e.receivedCheck;
    std::uint64_t working = crc.dividend;
    for (int position = 0; position < kDataBits; ++position) {
        if (((working >> (kTop - position)) & 1U) != 0) {
            crc.steps.push_back({position, working});
            working ^= GeneratorAt(position);
        }
    }
    crc.remainder = static_cast<std::uint8_t>(working);
    for (const FrameError& error : e.errors) {
        crc.errorPattern |= std::uint64_t{1} << (kTop - error.place);
    }
    if (e.dataDiffers && crc.remainder == 0) {
        std::uint64_t rest = crc.errorPattern;
        for (int position = 0; position < kDataBits; ++position) {
            if (((rest >> (kTop - position)) & 1U) != 0) {
                crc.quotient |= std::uint64_t{1} << (kDataBits - 1 - position);
                rest ^= GeneratorAt(position);
            }
        }
    }
    return crc;
}

std::string Explain(const Form& form, Explanation& e) {
    const FrameBytes received = ReadFrameBytes(form, SideReceived);
    e.working = Division(e, received);
    const CrcWorking& crc = std::get<CrcWorking>(e.working);
    e.recomputedCheck = Crc8(received);
    e.checkAgrees = crc.remainder == 0;
    const std::string burst =
        e.span > 0 && e.span <= 8
            ? " CRC-8 catches every burst of 8 bits or fewer, and these errors span " +
                  std::to_string(e.span) + (e.span == 1 ? " bit." : " bits.")
            : std::string();
    if (!e.dataDiffers) {
        return e.checkAgrees ? std::string()
                             : FalsePositiveOfCheckByte(e) + " The remainder " +
                                   BitsText(crc.remainder, 8) + " is not zero." + burst;
    }
    if (!e.checkAgrees) {
        return "Detected: the remainder of the division is " + BitsText(crc.remainder, 8) +
               ", not zero." + burst;
    }
    return "Undetected: the error pattern E(x) = " + PolynomialText(crc.errorPattern) +
           " is a multiple of the generator, E(x) = (x^8 + x^2 + x + 1)(" +
           PolynomialText(crc.quotient) + "), so the remainder is zero.";
}

} // namespace

std::uint8_t Crc8(std::span<const std::uint8_t> bytes) {
    constexpr unsigned kPolynomial = kCrcGenerator & 0xFFU;
    unsigned crc = 0;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int step = 0; step < 8; ++step) {
            crc = (crc & 0x80U) != 0 ? ((crc << 1U) ^ kPolynomial) : (crc << 1U);
            crc &= 0xFFU;
        }
    }
    return static_cast<std::uint8_t>(crc);
}

std::vector<std::string> DivisionRows(const CrcWorking& crc) {
    const auto indent = [](int columns) {
        return std::string(static_cast<std::size_t>(columns), ' ');
    };
    std::vector<std::string> rows{BitsText(crc.dividend, kBits)};
    for (std::size_t i = 0; i < crc.steps.size(); ++i) {
        const int position = crc.steps[i].position;
        rows.push_back(indent(position) + BitsText(kCrcGenerator, kGeneratorBits));
        const std::uint64_t after = crc.steps[i].before ^ GeneratorAt(position);
        if (i + 1 < crc.steps.size()) {
            const int next = crc.steps[i + 1].position;
            rows.push_back(indent(next) +
                           BitsText(after >> (kBits - next - kGeneratorBits), kGeneratorBits));
        }
    }
    rows.push_back(indent(kDataBits) + BitsText(crc.remainder, kCheckBits));
    return rows;
}

const CodeUnit kCrc8Unit{
    .family = "CRC-8",
    .sumModulus = 0,
    .checkBits = [](std::int16_t /*groupSize*/, int /*dataBits*/) { return kCheckBits; },
    .checkCells = [](Form& form, Side side,
                     const FrameBytes& bytes) { return CheckByteCells(form, side, Crc8(bytes)); },
    .checkByteOf = Crc8,
    // Bit-serial, most significant bit first.
    .runningStep =
        [](std::uint8_t state, int /*bitIndex*/, bool one) {
            const bool feedback = (((state >> 7U) & 1U) != 0) != one;
            const auto shifted = static_cast<unsigned>(state << 1U) & 0xFFU;
            return static_cast<std::uint8_t>(feedback ? shifted ^ (kCrcGenerator & 0xFFU)
                                                      : shifted);
        },
    .finishCheck = [](std::uint8_t state) { return state; },
    .explain = Explain,
};

} // namespace bitwatch
