#include "core/text_number.h"

#include <cstdint>
#include <limits>

#include "core/decimal.h"

namespace bitwatch {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Where the numeric prefix of text (after blanks and sign) ends, and enough about it to tell an
// overflow from an underflow when from_chars cannot represent it.
struct NumericPrefix {
    std::size_t end = 0;
    bool hasDigits = false;
    bool allZero = true;
    // Decimal exponent of the leading nonzero digit, before the written exponent is added.
    std::int64_t leadExponent = 0;
    std::int64_t writtenExponent = 0;
};

NumericPrefix ScanNumber(std::string_view text, std::size_t pos) {
    NumericPrefix prefix;
    std::int64_t integerDigits = 0;
    std::int64_t zerosAfterPoint = 0;
    bool seenPoint = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (!IsDigit(c)) {
            break;
        }
        prefix.hasDigits = true;
        if (prefix.allZero && c != '0') {
            prefix.allZero = false;
            prefix.leadExponent = seenPoint ? -(zerosAfterPoint + 1) : 0;
        }
        if (!seenPoint && !prefix.allZero) {
            ++integerDigits;
        }
        if (seenPoint && prefix.allZero) {
            ++zerosAfterPoint;
        }
    }
    if (!prefix.allZero && prefix.leadExponent == 0) {
        prefix.leadExponent = integerDigits - 1;
    }
    prefix.end = pos;
    if (!prefix.hasDigits || pos >= text.size() || (text[pos] != 'e' && text[pos] != 'E')) {
        return prefix;
    }

    std::size_t exponentPos = pos + 1;
    bool negativeExponent = false;
    if (exponentPos < text.size() && (text[exponentPos] == '+' || text[exponentPos] == '-')) {
        negativeExponent = text[exponentPos] == '-';
        ++exponentPos;
    }
    if (exponentPos >= text.size() || !IsDigit(text[exponentPos])) {
        return prefix; // "1e" and "1e+" stop before the e
    }
    // Saturate: any exponent past this is already far outside a double's range.
    constexpr std::int64_t kExponentCap = 1'000'000'000;
    std::int64_t exponent = 0;
    for (; exponentPos < text.size() && IsDigit(text[exponentPos]); ++exponentPos) {
        if (exponent < kExponentCap) {
            exponent = exponent * 10 + (text[exponentPos] - '0');
        }
    }
    prefix.writtenExponent = negativeExponent ? -exponent : exponent;
    prefix.end = exponentPos;
    return prefix;
}

} // namespace

double TextToNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const NumericPrefix prefix = ScanNumber(text, pos);
    if (!prefix.hasDigits) {
        return 0.0;
    }
    if (prefix.allZero) {
        return negative ? -0.0 : 0.0;
    }

    const DecimalValue value = ParseDecimal(text.substr(pos, prefix.end - pos));
    double magnitude = value.magnitude;
    if (value.outOfRange) {
        const bool overflow = prefix.leadExponent + prefix.writtenExponent > 0;
        magnitude = overflow ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -magnitude : magnitude;
}

} // namespace bitwatch
