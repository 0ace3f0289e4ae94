#include "ui/accessible_names.h"

#include "core/frame.h"

namespace bitwatch {

namespace {

std::string Position(int index) {
    const int bit = index % kDataBits;
    return "bit " + std::to_string(bit % 8) + " of byte " + std::to_string(bit / 8);
}

std::string SideName(int index) {
    return index < kDataBits ? "Transmitted" : "Received";
}

} // namespace

std::string CellName(CellArray array, int index) {
    switch (array) {
    case CellArray::Row1:
        return SideName(index) + " data " + Position(index);
    case CellArray::Parity:
        return SideName(index) + " parity bit after data " + Position(index);
    case CellArray::Sum1:
        return "Transmitted check bit " + std::to_string(index);
    case CellArray::Sum2:
        return "Received check bit " + std::to_string(index);
    }
    return {};
}

std::string CellState(const std::string& bit, bool differsFromTwin) {
    return differsFromTwin ? bit + ", differs from transmitted" : bit;
}

} // namespace bitwatch
