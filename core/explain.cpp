#include "core/explain.h"

#include "core/codes/code_unit.h"

namespace bitwatch {

namespace {

std::uint8_t CheckByteOfCells(const std::array<TextLabel, kCheckBits>& cells) {
    unsigned byte = 0;
    for (int j = 0; j < kCheckBits; ++j) {
        byte = byte * 2 + (CellIsOne(cells[j]) ? 1U : 0U);
    }
    return static_cast<std::uint8_t>(byte);
}

// The damaged cells in the order the frame is sent: the 48 data bits; in the parity codes each
// shown parity bit right after its group's last data bit; in the check-byte codes the 8 check
// bits after the data.
void FindErrors(const Form& form, Explanation& e) {
    const bool parity = UsesParityGroups(e.groupSize);
    const bool check = !parity && UsesCheckByte(e.codeMode);
    const int size = parity ? e.groupSize : 1;
    e.frameLength = SentBits(e.codeMode, e.groupSize);
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

Explanation Explain(const Form& form) {
    Explanation e;
    e.codeMode = form.codeMode;
    e.groupSize = form.groupSize;
    FindErrors(form, e);
    if (!UsesParityGroups(e.groupSize) && UsesCheckByte(e.codeMode)) {
        e.receivedCheck = CheckByteOfCells(form.sum2);
        e.sentCheck = CheckByteOfCells(form.sum1);
    }
    e.reason = UnitOf(e.codeMode, e.groupSize).explain(form, e);
    e.verdict = VerdictOf(!e.checkAgrees, e.dataDiffers);
    if (e.reason.empty()) {
        e.reason = "No Errors: every received bit equals the one sent, so the check agrees.";
    }
    return e;
}

} // namespace bitwatch
