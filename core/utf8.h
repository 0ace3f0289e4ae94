#pragma once

// Text is UTF-8 throughout the library. What reaches it from outside (a box's text from a front
// end, bytes from a fuzzer) may not be: each ill-formed sequence is read as one U+FFFD
// REPLACEMENT CHARACTER per maximal subpart, as Unicode recommends (and as browsers decode), so
// that every text the records hold is valid UTF-8 and every JSON written from them is valid.

#include <cstddef>
#include <string>
#include <string_view>

namespace bitwatch {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The character that starts at text[position] (position < text.size()) and how many bytes it
// takes; an ill-formed sequence gives kReplacementCharacter and the length of its maximal
// subpart (at least 1).
struct Utf8Character {
    char32_t codePoint = 0;
    std::size_t length = 0;
};
Utf8Character ReadUtf8Character(std::string_view text, std::size_t position);

void AppendUtf8(std::string& text, char32_t codePoint);

// The text with every ill-formed sequence replaced; a valid text comes back unchanged.
std::string ValidUtf8(std::string_view text);

// The longest start of a valid text that holds at most `units` UTF-16 code units (the unit in
// which Qt's line edits and the browser's inputs count their maximum length), cut between
// characters, never inside one.
std::string_view CutToUtf16Units(std::string_view validText, std::size_t units);

} // namespace bitwatch
