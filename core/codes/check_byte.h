#pragma once

// What the four check-byte codes share: the check cells written from or compared with a check
// byte, and the sentences of a check byte's verdict.

#include <cstdint>
#include <string>
#include <vector>

#include "core/frame.h"

namespace bitwatch {

struct Explanation;

// Writes the check byte into the transmitted check cells, or compares the received ones with
// it; true when a received cell disagrees.
bool CheckByteCells(Form& form, Side side, std::uint8_t checkByte);

// The check bits that differ from those sent.
std::vector<int> DamagedCheckBits(const Explanation& e);

// "the check byte recomputed from the received data, ..., differs from the received ... in bits
// ...", for a check byte that disagrees.
std::string CheckByteDisagreement(const Explanation& e);

// The reason of a False Positive: only check bits were flipped.
std::string FalsePositiveOfCheckByte(const Explanation& e);

// Numbers and words in sentences: "a", "a and b", "a, b and c"; "+4".
std::string Joined(const std::vector<std::string>& parts);
std::string ListText(const std::vector<int>& numbers);
std::string Signed(int value);

} // namespace bitwatch
