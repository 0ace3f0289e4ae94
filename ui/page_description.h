#pragma once

#include <string>

namespace bitwatch::web {

// Everything the browser page needs to build the window, as JSON: the client area, every
// control's box in pixels, its text style, stacking level and accessible name, the lines, the
// event each control delivers (by the number RunEvent takes) and the tab order. Taken from the
// same tables as the Qt window, so the page adds no layout of its own.
std::string PageDescriptionJson();

} // namespace bitwatch::web
