#include "channel/rate_text.h"

namespace bitwatch {

namespace {

// The rate in hundredths of a percent, floor(undetected * 10000 / frames), computed exactly:
// a floating-point quotient can land just below a whole number of hundredths (57 in 100 would
// read 56.99), and the product needs more than 64 bits for the largest counts.
std::int64_t RateHundredths(std::int64_t undetected, std::int64_t frames) {
    if (frames <= 0 || undetected <= 0) {
        return 0;
    }
    __extension__ using Wide = unsigned __int128;
    const Wide product = static_cast<Wide>(undetected) * 10000U;
    return static_cast<std::int64_t>(product / static_cast<Wide>(frames));
}

} // namespace

std::string RateText(std::int64_t undetected, std::int64_t frames) {
    const std::int64_t hundredths = RateHundredths(undetected, frames);
    const std::int64_t whole = hundredths / 100;
    const std::int64_t fraction = hundredths % 100;

    // The shortest plain decimal: no trailing zeros, no point for a whole number, no digit
    // before the point below 1, and a leading blank for a number that is not negative.
    std::string text = " ";
    if (whole != 0 || fraction == 0) {
        text += std::to_string(whole);
    }
    if (fraction != 0) {
        text += '.';
        text += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) {
            text += static_cast<char>('0' + fraction % 10);
        }
    }
    // A rate strictly between 0 and 1 would read " .66"; it is shown as "0.66".
    if (hundredths > 0 && hundredths < 100) {
        text = "0" + text.substr(1);
    }
    return text;
}

} // namespace bitwatch
