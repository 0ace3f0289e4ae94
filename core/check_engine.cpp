#include "core/check_engine.h"

#include "core/codes/code_unit.h"

namespace bitwatch {

FrameBytes ReadFrameBytes(const Form& form, Side side) {
    FrameBytes bytes{};
    const int first = side == SideTransmitted ? 0 : kDataBits;
    for (int k = 0; k < kDataBits; ++k) {
        if (CellIsOne(form.row1[first + k])) {
            bytes[k / 8] = static_cast<std::uint8_t>(bytes[k / 8] | (1U << (7 - k % 8)));
        }
    }
    return bytes;
}

void CheckFrame(Form& form, Side side) {
    const FrameBytes bytes = ReadFrameBytes(form, side);
    const bool checkFailed = UnitOf(form.codeMode, form.groupSize).checkCells(form, side, bytes);
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
    form.lblResult.text = VerdictOf(checkFailed, dataDiffers);
}

} // namespace bitwatch
