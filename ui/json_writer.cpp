#include "ui/json_writer.h"

#include <array>
#include <charconv>

#include "core/utf8.h"

namespace bitwatch {

namespace {

// The text's characters and its closing quote; the opening quote is written already.
void AppendEscaped(std::string& json, std::string_view text) {
    constexpr std::string_view kHex = "0123456789abcdef";
    for (std::size_t position = 0; position < text.size();) {
        const Utf8Character character = ReadUtf8Character(text, position);
        const char32_t c = character.codePoint;
        if (c == '"' || c == '\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c < 0x20) {
            json += "\\u00";
            json += kHex[c >> 4U];
            json += kHex[c & 15U];
        } else if (c == kReplacementCharacter) {
            AppendUtf8(json, c); // also stands for an ill-formed sequence
        } else {
            json.append(text, position, character.length);
        }
        position += character.length;
    }
    json += '"';
}

} // namespace

JsonWriter& JsonWriter::String(std::string_view text) {
    Lead('"');
    AppendEscaped(out_, text);
    afterValue_ = true;
    return *this;
}

JsonWriter& JsonWriter::Integer(std::int64_t value) {
    // Written into a buffer of its own behind its separator, so that a number costs no
    // allocation and one append.
    std::array<char, 24> text{};
    char* first = text.data();
    if (afterValue_) {
        *first++ = ',';
    }
    const std::to_chars_result written = std::to_chars(first, text.data() + text.size(), value);
    out_.append(text.data(), written.ptr);
    afterValue_ = true;
    return *this;
}

std::string JsonString(std::string_view text) {
    std::string json;
    json.reserve(text.size() + 2);
    JsonWriter(json).String(text);
    return json;
}

} // namespace bitwatch
