#pragma once

#include <cstdint>
#include <string>

namespace bitwatch {

// The undetected-error rate as lblUER shows it: the percentage undetected / frames cut (not
// rounded) to two decimals, computed exactly in integers, in its shortest plain form with a
// leading blank (" 0", " 5", " 33.33", " 100"), except that a rate strictly between 0 and 1
// reads with a leading zero and no blank ("0.66", "0.5", "0.05").
// Requires 0 <= undetected <= frames and frames >= 1.
std::string RateText(std::int64_t undetected, std::int64_t frames);

} // namespace bitwatch
