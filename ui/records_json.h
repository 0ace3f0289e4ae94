#pragma once

// Every record of the form as one line of JSON: what a front end shows and what a test compares.
// Labels are [text, colour, shown], cells [text, colour, shown, differs from its twin]; colours
// are the records' 0xBBGGRR numbers. Each control's record is under its name in the window's
// table (ui/window_table.h). Texts are written as the JSON writer writes them (UTF-8, escaping
// only what JSON requires), so any text gives valid JSON.

#include <string>

#include "core/frame.h"
#include "ui/json_writer.h"

namespace bitwatch::window {
struct Row;
}

namespace bitwatch {

std::string RecordsJson(const Form& form);

// The pieces RecordsJson is written from: one element of a row's record, and the companion's
// channel with the frame's length that bounds its k or L.
void WriteElement(JsonWriter& json, const Form& form, const window::Row& row, int index);
void WriteErrorModel(JsonWriter& json, const Form& form);

} // namespace bitwatch
