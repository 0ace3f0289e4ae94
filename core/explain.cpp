#include "core/explain.h"

#include <bit>

namespace bitwatch {

namespace {

bool Received(const Form& form, int k) {
    return CellIsOne(form.row1[kDataBits + k]);
}

FrameBytes BytesOf(const Form& form, int first) {
    FrameBytes bytes{};
    for (int k = 0; k < kDataBits; ++k) {
        if (CellIsOne(form.row1[first + k])) {
            bytes[static_cast<std::size_t>(k / 8)] |= static_cast<std::uint8_t>(0x80U >> (k % 8));
        }
    }
    return bytes;
}

std::uint8_t CheckByteOfCells(const std::array<TextLabel, kCheckBits>& cells) {
    unsigned byte = 0;
    for (int j = 0; j < kCheckBits; ++j) {
        byte = byte * 2 + (CellIsOne(cells[j]) ? 1U : 0U);
    }
    return static_cast<std::uint8_t>(byte);
}

// "a", "a and b", "a, b and c".
std::string Joined(const std::vector<std::string>& parts) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            text += i + 1 == parts.size() ? " and " : ", ";
        }
        text += parts[i];
    }
    return text;
}

std::string ListText(const std::vector<int>& numbers) {
    std::vector<std::string> parts;
    parts.reserve(numbers.size());
    for (const int number : numbers) {
        parts.push_back(std::to_string(number));
    }
    return Joined(parts);
}

std::string Counted(int count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string Signed(int value) {
    return (value > 0 ? "+" : "") + std::to_string(value);
}

void FindErrors(const Form& form, Explanation& e) {
    const bool parity = UsesParityGroups(e.groupSize);
    const bool check = !parity && UsesCheckByte(e.codeMode);
    const int size = parity ? e.groupSize : 1;
    e.frameLength = kDataBits + (parity ? kDataBits / size : 0) + (check ? kCheckBits : 0);
    for (int k = 0; k < kDataBits; ++k) {
        const int place = parity ? k + k / size : k;
        if (form.row1[kDataBits + k].text != form.row1[k].text) {
            e.errors.push_back({FrameError::Cell::Data, k, place});
            ++e.dataErrors;
        }
        if (parity && (k + 1) % size == 0 &&
            form.parity[kDataBits + k].text != form.parity[k].text) {
            e.errors.push_back({FrameError::Cell::Parity, k, place + 1});
        }
    }
    if (check) {
        for (int j = 0; j < kCheckBits; ++j) {
            if (form.sum2[j].text != form.sum1[j].text) {
                e.errors.push_back({FrameError::Cell::Check, j, kDataBits + j});
            }
        }
    }
    e.dataDiffers = e.dataErrors > 0;
    if (!e.errors.empty()) {
        e.span = e.errors.back().place - e.errors.front().place + 1;
    }
}

std::vector<int> CheckErrors(const Explanation& e) {
    std::vector<int> bits;
    for (const FrameError& error : e.errors) {
        if (error.cell == FrameError::Cell::Check) {
            bits.push_back(error.index);
        }
    }
    return bits;
}

std::string WorkParity(const Form& form, Explanation& e) {
    const int size = e.groupSize;
    std::vector<int> caught;
    std::vector<int> damaged;
    std::vector<int> flippedParity;
    for (int first = 0; first < kDataBits; first += size) {
        GroupWorking group{first, first + size - 1};
        for (int k = group.first; k <= group.last; ++k) {
            group.ones += Received(form, k) ? 1 : 0;
        }
        group.parityBit = CellIsOne(form.parity[kDataBits + group.last]);
        group.caught = group.parityBit != (group.ones % 2 == 1);
        for (const FrameError& error : e.errors) {
            if (error.index >= group.first && error.index <= group.last) {
                ++group.flips;
                if (error.cell == FrameError::Cell::Parity) {
                    flippedParity.push_back(static_cast<int>(e.groups.size()) + 1);
                }
            }
        }
        const int number = static_cast<int>(e.groups.size()) + 1;
        if (group.caught) {
            caught.push_back(number);
        }
        if (group.flips > 0) {
            damaged.push_back(number);
        }
        e.groups.push_back(group);
    }
    e.checkAgrees = caught.empty();
    if (!e.dataDiffers && e.checkAgrees) {
        return {};
    }
    if (!e.dataDiffers) {
        return "False Positive: the data arrived intact, but the parity " +
               std::string(flippedParity.size() == 1 ? "bit of group " : "bits of groups ") +
               ListText(flippedParity) + " " + (flippedParity.size() == 1 ? "was" : "were") +
               " flipped, so " +
               (caught.size() == 1 ? "that group no longer checks."
                                   : "those groups no longer check.");
    }
    if (!e.checkAgrees) {
        const GroupWorking& first = e.groups[static_cast<std::size_t>(caught.front() - 1)];
        return "Detected: " +
               (caught.size() == 1
                    ? "group " + ListText(caught) + " holds an odd number of flips (" +
                          std::to_string(first.flips) + "), so its parity is odd."
                    : "groups " + ListText(caught) +
                          " each hold an odd number of flips, so their parity is odd.");
    }
    if (damaged.size() == 1) {
        const int flips = e.groups[static_cast<std::size_t>(damaged.front() - 1)].flips;
        return "Undetected: " + std::string(flips == 2 ? "both" : "all " + std::to_string(flips)) +
               " flips are in group " + ListText(damaged) + ", whose parity is still even.";
    }
    return "Undetected: each damaged group (" + ListText(damaged) +
           ") holds an even number of flips, counting its parity bit, so every parity is still "
           "even.";
}

std::string CheckByteDisagreement(const Explanation& e) {
    std::vector<int> bits;
    for (int j = 0; j < kCheckBits; ++j) {
        if ((((e.recomputedCheck ^ e.receivedCheck) >> (7 - j)) & 1U) != 0) {
            bits.push_back(j);
        }
    }
    return "the check byte recomputed from the received data, " + BitsText(e.recomputedCheck, 8) +
           ", differs from the received " + BitsText(e.receivedCheck, 8) + " in " +
           (bits.size() == 1 ? "bit " : "bits ") + ListText(bits);
}

std::string FalsePositiveOfCheckByte(const Explanation& e) {
    const std::vector<int> bits = CheckErrors(e);
    return "False Positive: the data arrived intact, but check " +
           std::string(bits.size() == 1 ? "bit " : "bits ") + ListText(bits) + " " +
           (bits.size() == 1 ? "was" : "were") + " flipped in transit.";
}

std::string WorkColumns(const Form& form, Explanation& e) {
    int running = 0;
    unsigned recomputed = 0;
    for (int c = 0; c < 8; ++c) {
        for (int r = 0; r < kFrameBytes; ++r) {
            e.columns.ones[static_cast<std::size_t>(c)] += Received(form, 8 * r + c) ? 1 : 0;
        }
        const int ones = e.columns.ones[static_cast<std::size_t>(c)];
        e.columns.columnParity[static_cast<std::size_t>(c)] = ones % 2 == 1;
        running += ones;
        e.columns.running[static_cast<std::size_t>(c)] = running % 2 == 1;
        recomputed = recomputed * 2 + static_cast<unsigned>(running % 2);
    }
    e.recomputedCheck = static_cast<std::uint8_t>(recomputed);
    e.checkAgrees = e.recomputedCheck == e.receivedCheck;
    if (!e.dataDiffers) {
        return e.checkAgrees ? std::string() : FalsePositiveOfCheckByte(e);
    }
    if (!e.checkAgrees) {
        return "Detected: " + CheckByteDisagreement(e) + ".";
    }
    if (CheckErrors(e).empty()) {
        std::array<bool, 8> damaged{};
        for (const FrameError& error : e.errors) {
            damaged[static_cast<std::size_t>(error.index % 8)] = true;
        }
        std::vector<int> columns;
        for (int c = 0; c < 8; ++c) {
            if (damaged[static_cast<std::size_t>(c)]) {
                columns.push_back(c);
            }
        }
        return "Undetected: " +
               std::string(columns.size() == 1 ? "the flips are all in column " +
                                                     ListText(columns) + ", an even number of them"
                                               : "columns " + ListText(columns) +
                                                     " each hold an even number of flips") +
               ", so every column parity and the check byte are unchanged.";
    }
    return "Undetected: the flipped check bits change the received check byte exactly as the "
           "data flips change the recomputed one.";
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

int Fold(int total, std::vector<int>* folds) {
    while (total > 255) {
        total = total % 256 + total / 256;
        if (folds != nullptr) {
            folds->push_back(total);
        }
    }
    return total;
}

std::string WorkSums(const Form& form, Explanation& e) {
    SumWorking& s = e.sums;
    s.sent = BytesOf(form, 0);
    s.received = BytesOf(form, kDataBits);
    for (int b = 0; b < kFrameBytes; ++b) {
        const auto index = static_cast<std::size_t>(b);
        s.sentTotal += s.sent[index];
        s.total += s.received[index];
        s.changes[index] = s.received[index] - s.sent[index];
    }
    const bool internet = e.codeMode == ModeInternet;
    if (internet) {
        s.sum = Fold(s.total, &s.folds);
        s.sentSum = Fold(s.sentTotal, nullptr);
        e.recomputedCheck = static_cast<std::uint8_t>(255 - s.sum);
    } else {
        s.sum = s.total % 256;
        s.sentSum = s.sentTotal % 256;
        e.recomputedCheck = static_cast<std::uint8_t>(s.sum);
    }
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
    if (CheckErrors(e).empty()) {
        return "Undetected: " + changes +
               (internet ? ", a multiple of 255, so the folded one's-complement sum is unchanged."
                         : ", a multiple of 256, so the sum modulo 256 is unchanged.");
    }
    return "Undetected: " + changes +
           ", and the flipped check bits change the received check byte to exactly the byte "
           "recomputed from the damaged data.";
}

std::string WorkCrc(const Form& form, Explanation& e) {
    CrcWorking& crc = e.crc;
    const FrameBytes received = BytesOf(form, kDataBits);
    for (const std::uint8_t byte : received) {
        crc.dividend = (crc.dividend << 8U) | byte;
    }
    crc.dividend = (crc.dividend << 8U) | e.receivedCheck;
    constexpr int kTop = kDataBits + kCheckBits - 1; // bit 55: the first bit sent
    std::uint64_t working = crc.dividend;
    for (int position = 0; position < kDataBits; ++position) {
        if (((working >> (kTop - position)) & 1U) != 0) {
            crc.steps.push_back({position, working});
            working ^= std::uint64_t{kCrcGenerator} << (kTop - position - 8);
        }
    }
    crc.remainder = static_cast<std::uint8_t>(working);
    e.recomputedCheck = Crc8(received);
    e.checkAgrees = crc.remainder == 0;
    for (const FrameError& error : e.errors) {
        crc.errorPattern |= std::uint64_t{1} << (kTop - error.place);
    }
    if (e.dataDiffers && e.checkAgrees) {
        std::uint64_t rest = crc.errorPattern;
        for (int position = 0; position < kDataBits; ++position) {
            if (((rest >> (kTop - position)) & 1U) != 0) {
                crc.quotient |= std::uint64_t{1} << (kDataBits - 1 - position);
                rest ^= std::uint64_t{kCrcGenerator} << (kTop - position - 8);
            }
        }
    }
    const std::string burst =
        e.span > 0 && e.span <= 8
            ? " CRC-8 catches every burst of 8 bits or fewer, and these errors span " +
                  Counted(e.span, "bit", "bits") + "."
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

std::string PolynomialText(std::uint64_t coefficients) {
    if (coefficients == 0) {
        return "0";
    }
    std::string text;
    for (int power = 63; power >= 0; --power) {
        if (((coefficients >> power) & 1U) == 0) {
            continue;
        }
        if (!text.empty()) {
            text += " + ";
        }
        text += power == 0 ? "1" : power == 1 ? "x" : "x^" + std::to_string(power);
    }
    return text;
}

std::string BitsText(std::uint64_t bits, int width) {
    std::string text;
    for (int i = width - 1; i >= 0; --i) {
        text += ((bits >> i) & 1U) != 0 ? '1' : '0';
    }
    return text;
}

std::vector<std::string> DivisionRows(const CrcWorking& crc) {
    constexpr int kBits = kDataBits + kCheckBits;
    constexpr int kGeneratorBits = 9;
    const auto indent = [](int columns) {
        return std::string(static_cast<std::size_t>(columns), ' ');
    };
    std::vector<std::string> rows{BitsText(crc.dividend, kBits)};
    for (std::size_t i = 0; i < crc.steps.size(); ++i) {
        const int position = crc.steps[i].position;
        rows.push_back(indent(position) + BitsText(kCrcGenerator, kGeneratorBits));
        const std::uint64_t after = crc.steps[i].before ^ (std::uint64_t{kCrcGenerator}
                                                           << (kBits - position - kGeneratorBits));
        if (i + 1 < crc.steps.size()) {
            const int next = crc.steps[i + 1].position;
            rows.push_back(indent(next) +
                           BitsText(after >> (kBits - next - kGeneratorBits), kGeneratorBits));
        }
    }
    rows.push_back(indent(kDataBits) + BitsText(crc.remainder, kCheckBits));
    return rows;
}

Explanation Explain(const Form& form) {
    Explanation e;
    e.codeMode = form.codeMode;
    e.groupSize = form.groupSize;
    FindErrors(form, e);
    const bool checkByte = !UsesParityGroups(e.groupSize) && UsesCheckByte(e.codeMode);
    if (checkByte) {
        e.receivedCheck = CheckByteOfCells(form.sum2);
        e.sentCheck = CheckByteOfCells(form.sum1);
    }
    if (UsesParityGroups(e.groupSize)) {
        e.reason = WorkParity(form, e);
    } else if (e.codeMode == ModeVerticalParity) {
        e.reason = WorkColumns(form, e);
    } else if (e.codeMode == ModeChecksum || e.codeMode == ModeInternet) {
        e.reason = WorkSums(form, e);
    } else if (e.codeMode == ModeCrc8) {
        e.reason = WorkCrc(form, e);
    } else if (e.dataDiffers) {
        e.reason = "Undetected: mode None sends no check bits, so the receiver cannot tell that " +
                   Counted(e.dataErrors, "data bit was", "data bits were") + " flipped.";
    }
    e.verdict = e.checkAgrees ? (e.dataDiffers ? kVerdictUndetected : kVerdictNoErrors)
                              : (e.dataDiffers ? kVerdictDetected : kVerdictFalsePositive);
    if (e.reason.empty()) {
        e.reason = "No Errors: every received bit equals the one sent, so the check agrees.";
    }
    return e;
}

} // namespace bitwatch
