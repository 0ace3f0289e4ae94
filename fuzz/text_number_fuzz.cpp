#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/text_number.h"

namespace {

// An independent reading of the same rule, written plainly: find the numeric prefix by
// matching its grammar one piece at a time, then let the C library convert it (the fuzzer
// never leaves the "C" locale, so strtod reads a full stop as the point).
double ReferenceNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() &&
           (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) {
        ++i;
    }
    std::string prefix;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        prefix += text[i++];
    }
    const auto digit = [&](std::size_t at) {
        return at < text.size() && text[at] >= '0' && text[at] <= '9';
    };
    std::size_t digits = 0;
    while (digit(i)) {
        prefix += text[i++];
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        prefix += text[i++];
        while (digit(i)) {
            prefix += text[i++];
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (digit(j)) {
            while (digit(j)) {
                ++j;
            }
            prefix.append(text.substr(i, j - i));
        }
    }
    return std::strtod(prefix.c_str(), nullptr);
}

bool SameDouble(double a, double b) {
    return a == b && std::signbit(a) == std::signbit(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = bitwatch::TextToNumber(text);
    const double expected = ReferenceNumber(text);
    if (!SameDouble(value, expected)) {
        std::fprintf(stderr, "TextToNumber gave %.17g, the reference %.17g\n", value, expected);
        std::abort();
    }
    // Text after the number never changes it.
    std::string extended(text);
    extended += "x1";
    if (!SameDouble(bitwatch::TextToNumber(extended), value)) {
        std::abort();
    }
    return 0;
}
