#pragma once

// Random and decoded user events for the model-based random test and the fuzzer: every click,
// keystroke in a combo box, button and timer tick that the window can deliver, plus indexes that
// it never would. They run through the same RunEvent as the window's own events.

#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "ui/events.h"

namespace bitwatch::model {

// A random event, weighted towards what users do most.
Event RandomEvent(std::mt19937_64& random);

// Events decoded from arbitrary bytes, for the fuzzer.
std::vector<Event> DecodeEvents(std::span<const std::uint8_t> bytes);

} // namespace bitwatch::model
