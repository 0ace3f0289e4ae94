#include "core/check_engine.h"

#include <algorithm>

namespace bitwatch {

namespace {

int FirstCell(Side side) {
    return side == SideTransmitted ? 0 : kDataBits;
}

// Parity groups. With the group sizes of the mode table every group lies inside the 48 bits;
// a size that does not divide 48 gets a shorter last group, ending at bit 47.
bool CheckParityGroups(Form& form, Side side, const FrameBytes& bytes, int groupSize) {
    bool checkFailed = false;
    for (int first = 0; first < kDataBits; first += groupSize) {
        const int last = std::min(first + groupSize - 1, kDataBits - 1);
        const bool odd = GroupParity(bytes, first, last);
        TextLabel& cell = form.parity[FirstCell(side) + last];
        if (side == SideTransmitted) {
            cell.text = BitText(odd);
        } else if (CellIsOne(cell) != odd) {
            checkFailed = true;
        }
    }
    return checkFailed;
}

bool CheckByte(Form& form, Side side, std::uint8_t checkByte) {
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

std::string_view Verdict(bool checkFailed, bool dataDiffers) {
    if (checkFailed) {
        return dataDiffers ? kVerdictDetected : kVerdictFalsePositive;
    }
    return dataDiffers ? kVerdictUndetected : kVerdictNoErrors;
}

} // namespace

FrameBytes ReadFrameBytes(const Form& form, Side side) {
    FrameBytes bytes{};
    const int first = FirstCell(side);
    for (int k = 0; k < kDataBits; ++k) {
        if (CellIsOne(form.row1[first + k])) {
            bytes[k / 8] = static_cast<std::uint8_t>(bytes[k / 8] | (1U << (7 - k % 8)));
        }
    }
    return bytes;
}

void CheckFrame(Form& form, Side side) {
    const FrameBytes bytes = ReadFrameBytes(form, side);
    bool checkFailed = false;
    if (UsesParityGroups(form.groupSize)) {
        // A group size below 1 exists only before start-up has chosen a mode: no groups then.
        if (form.groupSize >= 1) {
            checkFailed = CheckParityGroups(form, side, bytes, form.groupSize);
        }
    } else if (const auto checkByte = CheckByteFor(form.codeMode, bytes)) {
        checkFailed = CheckByte(form, side, *checkByte);
    }

    if (side != SideReceived) {
        return;
    }
    bool dataDiffers = false;
    for (int i = 0; i < kDataBits; ++i) {
        if (form.row1[i].text != form.row1[i + kDataBits].text) {
            dataDiffers = true;
            break;
        }
    }
    form.lblResult.text = Verdict(checkFailed, dataDiffers);
}

} // namespace bitwatch
