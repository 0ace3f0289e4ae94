#pragma once

// A link to a frame: the whole state of the window written as a short URL-safe text, so that a
// teacher can send the frame on screen (and what comes next) to a class. Opening a link rebuilds
// the state through the window's own operations (the mode and the boxes' texts set as typed, the
// cells flipped as clicks flip them) and accepts it only if the result writes exactly the link
// again; so no link, however made, can give a state the window could not reach.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/frame.h"

namespace bitwatch {

// The most a link's text holds: with the page's address in front, a link stays within the
// 2,000 characters that every mail program and chat passes on whole.
inline constexpr std::size_t kFrameLinkLimit = 1800;

// The state as a link's text (base64url, version first, a CRC-32 last), or nothing when the
// boxes hold more text than a link carries.
std::optional<std::string> FrameLink(const Form& form);

// Puts a form that has just started up into the state the link describes. False, with the form
// left as start-up made it, for anything else: a cut, altered or foreign text, another version,
// or a state no sequence of events could reach.
bool OpenFrameLink(Form& form, std::string_view text);

} // namespace bitwatch
