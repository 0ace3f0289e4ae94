#include "core/utf8.h"

namespace bitwatch {

namespace {

bool Continuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF) {
    return byte >= low && byte <= high;
}

} // namespace

Utf8Character ReadUtf8Character(std::string_view text, std::size_t position) {
    const auto byteAt = [&](std::size_t offset) -> int {
        return position + offset < text.size() ? static_cast<unsigned char>(text[position + offset])
                                               : -1;
    };
    const auto lead = static_cast<unsigned char>(text[position]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    // The well-formed sequences of Unicode's table 3-7: the lead byte fixes the length and the
    // range of the second byte; every later byte is 80..BF.
    std::size_t length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    char32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1FU;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0FU;
        secondLow = lead == 0xE0 ? 0xA0 : 0x80;
        secondHigh = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07U;
        secondLow = lead == 0xF0 ? 0x90 : 0x80;
        secondHigh = lead == 0xF4 ? 0x8F : 0xBF; // nothing beyond U+10FFFF
    } else {
        return {kReplacementCharacter, 1};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const int byte = byteAt(i);
        const bool fits = byte >= 0 && (i == 1 ? Continuation(static_cast<unsigned char>(byte),
                                                              secondLow, secondHigh)
                                               : Continuation(static_cast<unsigned char>(byte)));
        if (!fits) {
            return {kReplacementCharacter, i}; // the maximal subpart ends before this byte
        }
        codePoint = (codePoint << 6U) | (static_cast<unsigned>(byte) & 0x3FU);
    }
    return {codePoint, length};
}

void AppendUtf8(std::string& text, char32_t codePoint) {
    const auto put = [&text](char32_t bits) {
        text += static_cast<char>(bits);
    };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0U | (codePoint >> 6U));
        put(0x80U | (codePoint & 0x3FU));
    } else if (codePoint < 0x10000) {
        put(0xE0U | (codePoint >> 12U));
        put(0x80U | ((codePoint >> 6U) & 0x3FU));
        put(0x80U | (codePoint & 0x3FU));
    } else {
        put(0xF0U | (codePoint >> 18U));
        put(0x80U | ((codePoint >> 12U) & 0x3FU));
        put(0x80U | ((codePoint >> 6U) & 0x3FU));
        put(0x80U | (codePoint & 0x3FU));
    }
}

std::string ValidUtf8(std::string_view text) {
    std::string valid;
    valid.reserve(text.size());
    for (std::size_t position = 0; position < text.size();) {
        const Utf8Character character = ReadUtf8Character(text, position);
        if (character.codePoint == kReplacementCharacter) {
            AppendUtf8(valid, kReplacementCharacter);
        } else {
            valid.append(text, position, character.length);
        }
        position += character.length;
    }
    return valid;
}

std::string_view CutToUtf16Units(std::string_view validText, std::size_t units) {
    std::size_t used = 0;
    std::size_t position = 0;
    while (position < validText.size()) {
        const Utf8Character character = ReadUtf8Character(validText, position);
        const std::size_t width = character.codePoint >= 0x10000 ? 2 : 1;
        if (used + width > units) {
            break;
        }
        used += width;
        position += character.length;
    }
    return validText.substr(0, position);
}

} // namespace bitwatch
