#pragma once

// Every record of the form as one line of JSON: what a front end shows and what a test compares.
// Cells are [text, colour, shown]; colours are the records' 0xBBGGRR numbers. Texts are written as
// UTF-8, escaping only what JSON requires (quote, backslash, control characters); an ill-formed
// sequence is written as U+FFFD, so any text gives valid JSON.

#include <string>

#include "core/frame.h"

namespace bitwatch {

std::string RecordsJson(const Form& form);

// A text as a JSON string, quotes included.
std::string JsonString(std::string_view text);

} // namespace bitwatch
