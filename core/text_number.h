#pragma once

#include <string_view>

namespace bitwatch {

// The leading numeric part of a text, 0 where there is none. Leading blanks are skipped; then
// an optional sign, digits with at most one decimal point (a full stop, whatever the locale) and
// an exponent only where digits follow it; the rest is ignored. Never throws and never gives
// NaN; a value too large for a double gives infinity with its sign. The work is proportional to
// the numeric part, not to the whole text.
double TextToNumber(std::string_view text);

} // namespace bitwatch
