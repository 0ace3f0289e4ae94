#pragma once

// Every record of the form as one line of JSON: what a front end shows and what a test compares.
// Labels are [text, colour, shown], cells [text, colour, shown, differs from its twin]; colours
// are the records' 0xBBGGRR numbers. Each control's record is under its name in the window's
// table (ui/window_table.h). Texts are written as
// UTF-8, escaping only what JSON requires (quote, backslash, control characters); an ill-formed
// sequence is written as U+FFFD, so any text gives valid JSON.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/frame.h"

namespace bitwatch::window {
struct Row;
}

namespace bitwatch {

std::string RecordsJson(const Form& form);

// A text as a JSON string, quotes included.
std::string JsonString(std::string_view text);

// The pieces RecordsJson is written from, appended to json without allocating beyond its growth:
// a text as a JSON string, one element of a row's record, and the companion's channel
// with the frame's length that bounds its k or L.
void AppendJsonString(std::string& json, std::string_view text);
void AppendJsonInteger(std::string& json, std::int64_t value);
void AppendElementJson(std::string& json, const Form& form, const window::Row& row, int index);
void AppendErrorModelJson(std::string& json, const Form& form);

} // namespace bitwatch
