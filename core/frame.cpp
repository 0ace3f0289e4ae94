#include "core/frame.h"

#include <array>
#include <cstdint>
#include <string>

namespace bitwatch {

namespace {

void ApplyParityShownRule(Form& form) {
    // groupSize is 0 only in a freshly created form, before Startup has set the mode; no
    // parity cell is shown then, and the modulo by zero never happens.
    for (int i = 0; i < kCellsPerArray; ++i) {
        form.parity[i].shown = form.groupSize > 0 && (i + 1) % form.groupSize == 0;
    }
}

template <std::size_t N>
void FillCells(std::array<TextLabel, N>& cells, int first, int last, std::string_view text,
               Colour colour) {
    for (int i = first; i <= last; ++i) {
        cells[i].text = text;
        cells[i].foreColour = colour;
    }
}

// Every cell back to its bit and colour after a reset. A new form is in ModeNone, so its check
// cells read "0" as a reset in that mode leaves them.
void ClearCells(Form& form) {
    constexpr int lastTx = kDataBits - 1;
    constexpr int lastRx = kCellsPerArray - 1;
    constexpr int lastCheck = kCheckBits - 1;
    FillCells(form.row1, 0, lastTx, kBitZero, ColourTxData);
    FillCells(form.row1, kDataBits, lastRx, kBitZero, ColourRxData);
    FillCells(form.parity, 0, lastTx, kBitZero, ColourTxCheck);
    FillCells(form.parity, kDataBits, lastRx, kBitZero, ColourRxCheck);

    // The check cells show the all-zero frame's check byte: all ones in the one's-complement sum.
    FillCells(form.sum1, 0, lastCheck, kBitZero, ColourTxCheck);
    FillCells(form.sum2, 0, lastCheck, kBitZero, ColourRxCheck);
    const std::array<std::uint8_t, kDataBits / 8> zeroFrame{};
    const std::uint8_t zeroCheck = CheckByteFor(form.codeMode, zeroFrame).value_or(0);
    for (int j = 0; j < kCheckBits; ++j) {
        form.sum1[j].text = CheckCellBit(zeroCheck, j) ? kBitOne : kBitZero;
        form.sum2[j].text = form.sum1[j].text;
    }
}

} // namespace

Form::Form() {
    ClearCells(*this);

    Label1[0] = {"Transmitted", ColourTxData, true};
    Label1[1] = {"Received", ColourRxData, true};
    lblResult = {std::string(kVerdictNoErrors), ColourResult, true};
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
    if (const ModeRow* row = FindMode(form.cmbMode.text())) {
        form.codeMode = row->codeMode;
        form.groupSize = row->groupSize;
    }
    ApplyParityShownRule(form);
    const bool checkByteShown = UsesCheckByte(form.codeMode);
    for (int j = 0; j < kCheckBits; ++j) {
        form.sum1[j].shown = checkByteShown;
        form.sum2[j].shown = checkByteShown;
    }
    const bool linesShown = CodeOf(form.codeMode).linesShown;
    form.Line1[0].shown = linesShown;
    form.Line1[1].shown = linesShown;
    // The check cells' colours are set by the reset below as well.
    ResetAll(form);
}

void ResetAll(Form& form) {
    ClearCells(form);

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

    // Already so after "None" was applied; start-up sets it and resets once more in its own
    // right, so that it ends in mode None's state whatever the mode text did.
    form.groupSize = kNoGroups;
    ResetAll(form);
}

} // namespace bitwatch
