// The two sums of the bytes: the 8-bit checksum (the sum modulo 256) and the one's-complement
// "Internet" checksum (the sum with end-around carries, complemented). They share their working.

#include "core/check_engine.h"
#include "core/codes/check_byte.h"
#include "core/codes/code_unit.h"
#include "core/explain.h"

namespace bitwatch {

namespace {

// Folds the total's carries back in until it fits a byte; each fold's total goes to folds.
int OnesComplementFold(int total, std::vector<int>* folds) {
    while (total > 255) {
        total = total % 256 + total / 256;
        if (folds != nullptr) {
            folds->push_back(total);
        }
    }
    return total;
}

int Total(std::span<const std::uint8_t> bytes) {
    int total = 0;
    for (const std::uint8_t byte : bytes) {
        total += byte;
    }
    return total;
}

std::string ChangesText(const SumWorking& sums) {
    std::vector<std::string> parts;
    for (int b = 0; b < kFrameBytes; ++b) {
        const int change = sums.changes[static_cast<std::size_t>(b)];
        if (change != 0) {
            parts.push_back(Signed(change) + " in byte " + std::to_string(b));
        }
    }
    return Joined(parts);
}

SumWorking Sums(const Form& form, bool onesComplement) {
    SumWorking s;
    s.onesComplement = onesComplement;
    s.sent = ReadFrameBytes(form, SideTransmitted);
    s.received = ReadFrameBytes(form, SideReceived);
    s.sentTotal = Total(s.sent);
    s.total = Total(s.received);
    for (std::size_t b = 0; b < s.sent.size(); ++b) {
        s.changes[b] = s.received[b] - s.sent[b];
    }
    if (onesComplement) {
        s.sum = OnesComplementFold(s.total, &s.folds);
        s.sentSum = OnesComplementFold(s.sentTotal, nullptr);
    } else {
        s.sum = s.total % 256;
        s.sentSum = s.sentTotal % 256;
    }
    return s;
}

std::string ExplainSums(const Form& form, Explanation& e, bool internet) {
    e.working = Sums(form, internet);
    const SumWorking& s = std::get<SumWorking>(e.working);
    e.recomputedCheck = static_cast<std::uint8_t>(internet ? 255 - s.sum : s.sum);
    e.checkAgrees = e.recomputedCheck == e.receivedCheck;
    if (!e.dataDiffers) {
        return e.checkAgrees ? std::string() : FalsePositiveOfCheckByte(e);
    }
    const int change = s.total - s.sentTotal;
    const int modulus = internet ? 255 : 256;
    const bool cancels = change % modulus == 0;
    const std::string changes =
        "the flips change the bytes by " + ChangesText(s) + ", " +
        (change == 0 ? "which add up to 0" : "which add up to " + Signed(change));
    // In one's-complement arithmetic 00000000 and 11111111 are both zero, and a sum folds to
    // 11111111 only from a nonzero total: a change by a multiple of 255 keeps the sum unless it
    // moves the total to or from 0.
    const bool twoZeros = internet && cancels && s.sum != s.sentSum;
    if (!e.checkAgrees) {
        if (twoZeros) {
            return "Detected: " + changes + ", a multiple of 255, but the one's-complement sum " +
                   "has two forms of zero: the sent total " + std::to_string(s.sentTotal) +
                   " folds to " + BitsText(static_cast<std::uint64_t>(s.sentSum), 8) +
                   " and the received " + std::to_string(s.total) + " to " +
                   BitsText(static_cast<std::uint64_t>(s.sum), 8) + ", so the check byte changes.";
        }
        return "Detected: " + CheckByteDisagreement(e) + ".";
    }
    if (DamagedCheckBits(e).empty()) {
        return "Undetected: " + changes +
               (internet ? ", a multiple of 255, so the folded one's-complement sum is unchanged."
                         : ", a multiple of 256, so the sum modulo 256 is unchanged.");
    }
    return "Undetected: " + changes +
           ", and the flipped check bits change the received check byte to exactly the byte "
           "recomputed from the damaged data.";
}

} // namespace

std::uint8_t ChecksumByte(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint8_t>(Total(bytes) & 0xFF);
}

std::uint8_t InternetByte(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint8_t>(0xFF - OnesComplementFold(Total(bytes), nullptr));
}

const CodeUnit kChecksumUnit{
    .family = "8-bit checksum",
    .sumModulus = 256,
    .checkBits = [](std::int16_t /*groupSize*/, int /*dataBits*/) { return kCheckBits; },
    .checkCells =
        [](Form& form, Side side, const FrameBytes& bytes) {
            return CheckByteCells(form, side, ChecksumByte(bytes));
        },
    .checkByteOf = ChecksumByte,
    .runningStep =
        [](std::uint8_t state, int bitIndex, bool one) {
            return static_cast<std::uint8_t>(one ? (state + (0x80U >> (bitIndex % 8))) & 0xFFU
                                                 : state);
        },
    .finishCheck = [](std::uint8_t state) { return state; },
    .explain = [](const Form& form, Explanation& e) { return ExplainSums(form, e, false); },
};

const CodeUnit kInternetUnit{
    .family = "one's-complement checksum",
    .sumModulus = 255,
    .checkBits = [](std::int16_t /*groupSize*/, int /*dataBits*/) { return kCheckBits; },
    .checkCells =
        [](Form& form, Side side, const FrameBytes& bytes) {
            return CheckByteCells(form, side, InternetByte(bytes));
        },
    .checkByteOf = InternetByte,
    // 0 stands for a zero total; 1 to 255 for the folded one's-complement sum.
    .runningStep =
        [](std::uint8_t state, int bitIndex, bool one) {
            const auto weight = static_cast<unsigned>(0x80U >> (bitIndex % 8));
            if (!one) {
                return state;
            }
            return static_cast<std::uint8_t>(state == 0 ? weight : (state + weight - 1) % 255 + 1);
        },
    .finishCheck = [](std::uint8_t state) { return static_cast<std::uint8_t>(255 - state); },
    .explain = [](const Form& form, Explanation& e) { return ExplainSums(form, e, true); },
};

} // namespace bitwatch
