#include "core/frame.h"

#include <string>

namespace bitwatch {

namespace {

constexpr Colour kResultColour = 0x000080;

bool ParityCellShown(int index, std::int16_t groupSize) {
    return (index + 1) % groupSize == 0;
}

void ApplyParityShownRule(Form& form) {
    // groupSize is 0 only in a freshly created form, before Startup has set the mode; no
    // parity cell is shown then, and the modulo by zero never happens.
    for (int i = 0; i < kCellsPerArray; ++i) {
        form.parity[i].shown = form.groupSize > 0 && ParityCellShown(i, form.groupSize);
    }
}

bool UsesCheckByte(std::int32_t codeMode) {
    return codeMode == ModeVerticalParity || codeMode == ModeChecksum || codeMode == ModeInternet ||
           codeMode == ModeCrc8;
}

template <std::size_t N>
void SetCells(std::array<TextLabel, N>& cells, int first, int last, std::string_view text) {
    for (int i = first; i <= last; ++i) {
        cells[i].text = text;
    }
}

template <std::size_t N>
void ColourCells(std::array<TextLabel, N>& cells, int first, int last, Colour colour) {
    for (int i = first; i <= last; ++i) {
        cells[i].foreColour = colour;
    }
}

} // namespace

Form::Form() {
    constexpr int lastTx = kDataBits - 1;
    constexpr int lastRx = kCellsPerArray - 1;
    SetCells(row1, 0, lastRx, kBitZero);
    SetCells(parity, 0, lastRx, kBitZero);
    SetCells(sum1, 0, kCheckBits - 1, kBitZero);
    SetCells(sum2, 0, kCheckBits - 1, kBitZero);
    ColourCells(row1, 0, lastTx, ColourTxData);
    ColourCells(row1, kDataBits, lastRx, ColourRxData);
    ColourCells(parity, 0, lastTx, ColourTxCheck);
    ColourCells(parity, kDataBits, lastRx, ColourRxCheck);
    ColourCells(sum1, 0, kCheckBits - 1, ColourTxCheck);
    ColourCells(sum2, 0, kCheckBits - 1, ColourRxCheck);

    Label1[0] = {"Transmitted", ColourTxData, true};
    Label1[1] = {"Received", ColourRxData, true};
    lblResult = {std::string(kVerdictNoErrors), kResultColour, true};
    Label2[0].text = "Bit Error Rate";
    Label2[1].text = "%";
    Label2[2].text = "Undetected Error Rate";
    lblUER.text = "0.0";
    Label2[3].text = "%";

    Command1.caption = "One";
    Command2.caption = "Find UE";
    Command3.caption = "Reset";
    Command4.caption = kCaptionStart;

    cmbMode.OnTextChanged([this] { ApplyMode(*this); });
}

void ApplyMode(Form& form) {
    for (const ModeRow& row : kModeTable) {
        if (form.cmbMode.text() == row.text) {
            form.codeMode = row.codeMode;
            form.groupSize = row.groupSize;
            break;
        }
    }
    ApplyParityShownRule(form);
    for (int j = 0; j < kCheckBits; ++j) {
        form.sum1[j].shown = false;
        form.sum2[j].shown = false;
    }
    const bool linesShown = form.codeMode != ModeParity;
    form.Line1[0].shown = linesShown;
    form.Line1[1].shown = linesShown;
    if (UsesCheckByte(form.codeMode)) {
        for (int j = 0; j < kCheckBits; ++j) {
            form.sum1[j].shown = true;
            form.sum1[j].foreColour = ColourTxCheck;
            form.sum2[j].shown = true;
            form.sum2[j].foreColour = ColourRxCheck;
        }
    }
    ResetAll(form);
}

void ResetAll(Form& form) {
    constexpr int lastTx = kDataBits - 1;
    constexpr int lastRx = kCellsPerArray - 1;
    SetCells(form.row1, 0, lastRx, kBitZero);
    SetCells(form.parity, 0, lastRx, kBitZero);
    ColourCells(form.row1, 0, lastTx, ColourTxData);
    ColourCells(form.parity, 0, lastTx, ColourTxCheck);
    ColourCells(form.row1, kDataBits, lastRx, ColourRxData);
    ColourCells(form.parity, kDataBits, lastRx, ColourRxCheck);

    // An all-zero frame's one's-complement check byte is all ones.
    const std::string_view fill = form.codeMode == ModeInternet ? kBitOne : kBitZero;
    SetCells(form.sum1, 0, kCheckBits - 1, fill);
    SetCells(form.sum2, 0, kCheckBits - 1, fill);
    ColourCells(form.sum1, 0, kCheckBits - 1, ColourTxCheck);
    ColourCells(form.sum2, 0, kCheckBits - 1, ColourRxCheck);

    form.undetectedCount = 0;
    form.frameCount = 0;
    form.lblUER.text = kRateAfterReset;
    ApplyParityShownRule(form);

    form.stopOnUndetected = kFalse;
    form.Timer1.SetEnabled(false);
    form.Timer1.SetInterval(kStoppedInterval);
    form.Command4.caption = kCaptionStart;
}

void Startup(Form& form) {
    form.cmbErrorRate.ClearList();
    for (std::string_view entry : kErrorRateList) {
        form.cmbErrorRate.AppendEntry(std::string(entry));
    }
    form.cmbErrorRate.SetText("1");

    form.cmbMode.ClearList();
    for (std::string_view entry : kModeList) {
        form.cmbMode.AppendEntry(std::string(entry));
    }
    // Runs ApplyMode to completion before going on.
    form.cmbMode.SetText("None");

    form.groupSize = kNoGroups;
    ResetAll(form);
}

} // namespace bitwatch
