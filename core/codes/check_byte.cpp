#include "core/codes/check_byte.h"

#include "core/explain.h"

namespace bitwatch {

bool CheckByteCells(Form& form, Side side, std::uint8_t checkByte) {
    bool checkFailed = false;
    for (int j = 0; j < kCheckBits; ++j) {
        const bool one = CheckCellBit(checkByte, j);
        if (side == SideTransmitted) {
            form.sum1[j].text = BitText(one);
        } else if (CellIsOne(form.sum2[j]) != one) {
            checkFailed = true;
        }
    }
    return checkFailed;
}

std::vector<int> DamagedCheckBits(const Explanation& e) {
    std::vector<int> bits;
    for (const FrameError& error : e.errors) {
        if (error.cell == FrameError::Cell::Check) {
            bits.push_back(error.index);
        }
    }
    return bits;
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
    const std::vector<int> bits = DamagedCheckBits(e);
    return "False Positive: the data arrived intact, but check " +
           std::string(bits.size() == 1 ? "bit " : "bits ") + ListText(bits) + " " +
           (bits.size() == 1 ? "was" : "were") + " flipped in transit.";
}

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

std::string Signed(int value) {
    return (value > 0 ? "+" : "") + std::to_string(value);
}

} // namespace bitwatch
