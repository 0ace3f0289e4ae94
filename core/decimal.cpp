#include "core/decimal.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h> // newlocale and strtod_l are POSIX, not ISO C++
#include <string>
#include <system_error>

namespace bitwatch {

DecimalValue ParseDecimal(std::string_view digits) {
#ifdef __cpp_lib_to_chars
    return ParseDecimalFromChars(digits);
#else
    return ParseDecimalStrtod(digits);
#endif
}

#ifdef __cpp_lib_to_chars
DecimalValue ParseDecimalFromChars(std::string_view digits) {
    DecimalValue value;
    const char* last = digits.data() + digits.size();
    const auto [stop, error] =
        std::from_chars(digits.data(), last, value.magnitude, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        value.outOfRange = true;
        value.magnitude = 0.0;
    } else if (error != std::errc{} || stop != last) {
        value.magnitude = 0.0;
    }
    return value;
}
#endif

DecimalValue ParseDecimalStrtod(std::string_view digits) {
    // strtod reads the locale's decimal point; strtod_l with the "C" locale always a full stop.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string text(digits); // strtod needs the end marked
    DecimalValue value;
    errno = 0;
    char* end = nullptr;
    value.magnitude = strtod_l(text.c_str(), &end, cLocale);
    // ERANGE also marks a subnormal result, which from_chars counts as in range.
    if (errno == ERANGE && (std::isinf(value.magnitude) || value.magnitude == 0.0)) {
        value.outOfRange = true;
        value.magnitude = 0.0;
    }
    return value;
}

} // namespace bitwatch
