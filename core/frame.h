#pragma once

// The state of the demonstration: the frame's cells, the five window variables and the
// controls that the operations read and write, plus the operations that put it into a known
// condition (ApplyMode, ResetAll, Startup).

#include <array>
#include <cstdint>
#include <string_view>

#include "core/error_model.h"
#include "core/modes.h"
#include "core/random_source.h"
#include "ui/controls.h"

namespace bitwatch {

enum Side : int { SideTransmitted = 0, SideReceived = 1 };

inline constexpr Colour ColourTxData = 0x008000;
inline constexpr Colour ColourTxCheck = 0x00C000;
inline constexpr Colour ColourRxData = 0x800000;
inline constexpr Colour ColourRxCheck = 0xC00000;
inline constexpr Colour ColourMismatch = 0x0000FF;
// The verdict's dark red, the arrow between the two sides, and the standard light grey dialog
// background that every colour above was chosen against (the page paints it; the desktop keeps
// its palette's, see UseALightPalette).
inline constexpr Colour ColourResult = 0x000080;
inline constexpr Colour ColourArrow = 0x800080;
inline constexpr Colour ColourWindow = 0xEFEFEF;

// A received cell that differs from its twin says so by its colour; this is the one reading of
// that colour, for every front end.
constexpr bool DiffersFromTwin(Colour cellColour) {
    return cellColour == ColourMismatch;
}

inline constexpr int kDataBits = 48;
inline constexpr int kCellsPerArray = 2 * kDataBits;
inline constexpr int kCheckBits = 8;

// stopOnUndetected is a 16-bit boolean whose true is -1.
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

inline constexpr std::string_view kBitZero = "0";
inline constexpr std::string_view kBitOne = "1";

// Check cell j shows bit 7 - j of the check byte: the most significant bit stands on the left.
constexpr bool CheckCellBit(std::uint8_t checkByte, int cell) {
    return ((static_cast<unsigned>(checkByte) >> static_cast<unsigned>(7 - cell)) & 1U) != 0;
}

inline constexpr std::string_view kVerdictNoErrors = "No Errors";
inline constexpr std::string_view kVerdictDetected = "Errors Detected";
inline constexpr std::string_view kVerdictUndetected = "Undetected Errors";
inline constexpr std::string_view kVerdictFalsePositive = "False Positive";

inline constexpr std::string_view kCaptionStart = "Start";
inline constexpr std::string_view kCaptionFast = "Fast";
inline constexpr std::string_view kCaptionStop = "Stop";

inline constexpr std::string_view kRateAfterReset = "0.00";

inline constexpr int kStoppedInterval = 10000;
inline constexpr int kSlowInterval = 1000;
inline constexpr int kFastInterval = 10;

inline constexpr std::array<std::string_view, 6> kErrorRateList{"0", "1", "2", "3", "4", "5"};

// Every record of the window that the operations use. Cells i and i + 48 of row1 and parity
// are twins, as are sum1[j] and sum2[j].
struct Form {
    Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    std::array<TextLabel, kCellsPerArray> row1{};
    std::array<TextLabel, kCellsPerArray> parity{};
    std::array<TextLabel, kCheckBits> sum1{};
    std::array<TextLabel, kCheckBits> sum2{};

    TextLabel lblResult;
    TextLabel lblUER;
    std::array<TextLabel, 2> Label1{};
    std::array<TextLabel, 4> Label2{};

    PushButton Command1;
    PushButton Command2;
    PushButton Command3;
    PushButton Command4;

    ComboBox cmbMode;
    ComboBox cmbErrorRate;

    std::array<Line, 2> Line1{};
    Line Line3;
    Line Line4;
    Line Line5;

    Timer Timer1;

    // The counters are 64-bit so that a run never overflows them: at 100 frames a second a
    // 32-bit counter would pass its limit after about 248 days.
    std::int64_t undetectedCount = 0;
    std::int64_t frameCount = 0;
    std::int16_t groupSize = 0;
    std::int32_t codeMode = ModeNone;
    std::int16_t stopOnUndetected = kFalse;

    // The companion's choice of channel; no operation of the window changes it.
    ErrorModel errorModel;

    RandomSource random;
};

// Takes the mode from cmbMode's text (an exact name of kModeTable; any other text keeps the mode),
// shows the mode's cells and lines, then resets. Runs on every change of the mode text.
void ApplyMode(Form& form);

// Clears the frame and the statistics and stops any run. The mode, both combo boxes, the shown
// flags of the check cells and lines, and the verdict stay as they are.
void ResetAll(Form& form);

// Fills both lists, sets the mode text to "None" (which applies that mode) and resets.
void Startup(Form& form);

// True when a cell's text is exactly "1".
inline bool CellIsOne(const TextLabel& cell) {
    return cell.text == kBitOne;
}

inline std::string_view BitText(bool one) {
    return one ? kBitOne : kBitZero;
}

} // namespace bitwatch
