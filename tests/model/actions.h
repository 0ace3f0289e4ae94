#pragma once

// User actions on the plain library, for the model-based random test and the fuzzer: every
// click, keystroke in a combo box, button and timer tick that the window can deliver, plus
// indexes that it never would.

#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "core/frame.h"

namespace bitwatch::model {

enum class ActionKind : std::uint8_t {
    ClickData,
    ClickParity,
    ClickCheck,
    SetModeText,
    PickMode,
    SetRateText,
    PressOne,
    PressReset,
    PressRun,
    PressFind,
    Tick,
};

struct Action {
    ActionKind kind = ActionKind::Tick;
    std::int16_t index = 0;
    std::string text;
};

std::string Describe(const Action& action);

// Runs one action as the window would route it. A tick runs only while Timer1 is enabled,
// since a disabled timer delivers none.
void Perform(Form& form, const Action& action);

// A random action, weighted towards what users do most.
Action RandomAction(std::mt19937_64& random);

// Actions decoded from arbitrary bytes, for the fuzzer.
std::vector<Action> DecodeActions(std::span<const std::uint8_t> bytes);

} // namespace bitwatch::model
