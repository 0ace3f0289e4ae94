#pragma once

// The companion beside the window, "Why?": the explanation of the received frame as it now
// stands and the exact odds of an undetected error beside the window's measured rate, as one
// fragment of plain HTML (headings, tables, a monospace division) that the desktop's text view
// and the browser page both show. Everything from the records is escaped.

#include <string>

#include "core/frame.h"

namespace bitwatch {

inline constexpr std::string_view kCompanionTitle = "Why? - Kelm's Bitwatch Demo";

// The probability of "Undetected Errors" per frame for the current mode and the rate text as
// the channel reads it (the same value as bitwatch-stats' exact column).
double ExactUndetectedProbability(const Form& form);

std::string CompanionHtml(const Form& form);

// Whether the companion should follow this state: not every frame of a fast run or a search,
// which come a hundred a second; it catches up on the frame they stop on.
bool CompanionFollows(const Form& form);

} // namespace bitwatch
