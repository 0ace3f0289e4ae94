#pragma once

#include <string>

namespace bitwatch {

// Everything the browser page needs to build the window, as JSON, written from the window's table
// (ui/window_table.h): the client area and its background, each control's box in pixels, text
// style, stacking level, accessible name and record, the lines, the event each control delivers
// (by the number RunEvent takes) and the Tab order. The page adds no layout of its own.
std::string PageDescriptionJson();

} // namespace bitwatch
