#pragma once

// What each cell is called for assistive technology, on the desktop and in the browser alike:
// its side, its kind and its place, such as "Received data bit 0 of byte 0".

#include <string>

namespace bitwatch {

enum class CellArray { Row1, Parity, Sum1, Sum2 };

std::string CellName(CellArray array, int index);

// The cell's state as a screen reader says it: its bit, and on a received cell that differs from
// its twin, "differs from transmitted" too.
std::string CellState(const std::string& bit, bool differsFromTwin);

} // namespace bitwatch
