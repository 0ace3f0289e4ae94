#pragma once

// What each control is called for assistive technology, on the desktop and in the browser
// alike. Captions and the run button have no name of their own: they read as their text. A
// button's name starts with its caption, so that a speech-input user who says what is seen
// ("click Find UE") reaches it.

#include <string>
#include <string_view>

namespace bitwatch::names {

inline constexpr std::string_view kOne = "One: send one frame";
inline constexpr std::string_view kReset = "Reset";
inline constexpr std::string_view kFind = "Find UE: find the first undetected error";
inline constexpr std::string_view kRateBox = "Bit error rate in percent";
inline constexpr std::string_view kModeBox = "Code mode";
inline constexpr std::string_view kLogo = "Bitwatch logo";
// Descriptions of the two labels that read as their changing text.
inline constexpr std::string_view kVerdict = "Verdict";
inline constexpr std::string_view kRate = "Undetected error rate in percent";

} // namespace bitwatch::names

namespace bitwatch {

// A cell's side, kind and place, such as "Received data bit 0 of byte 0".
enum class CellArray { Row1, Parity, Sum1, Sum2 };

std::string CellName(CellArray array, int index);

// The cell's state as a screen reader says it: its bit, and on a received cell that differs from
// its twin, "differs from transmitted" too.
std::string CellState(const std::string& bit, bool differsFromTwin);

} // namespace bitwatch
