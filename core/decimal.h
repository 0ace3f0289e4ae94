#pragma once

// Converting the digits of a decimal number (digits, at most one full stop, an optional exponent,
// no sign) to the nearest double, whatever the locale. Two ways that give bit-identical results:
// std::from_chars where the standard library has it for floating point, and strtod_l in the "C"
// locale where it does not (the WebAssembly build's libc++). Both are correctly rounded.

#include <string_view>
#include <version> // __cpp_lib_to_chars: from_chars for floating point

namespace bitwatch {

struct DecimalValue {
    double magnitude = 0.0;
    // Too large for a double or so small that it rounds to zero; magnitude is 0 then, and which
    // end was passed is for the caller to tell from the digits.
    bool outOfRange = false;
};

// The first available of the two below.
DecimalValue ParseDecimal(std::string_view digits);

#ifdef __cpp_lib_to_chars
DecimalValue ParseDecimalFromChars(std::string_view digits);
#endif
DecimalValue ParseDecimalStrtod(std::string_view digits);

} // namespace bitwatch
