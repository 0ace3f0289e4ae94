#pragma once

// What must hold after every user action, checked against a reference of the codes and the
// mode table written independently of the library.

#include <cstdint>
#include <string>

#include "actions.h"
#include "core/frame.h"

namespace bitwatch::model {

// What the checker remembers between actions.
struct ModelState {
    std::int32_t codeMode = ModeNone;
    std::int16_t groupSize = kNoGroups;
    // The verdict describes the frame on screen: false after a reset, which leaves it alone.
    bool verdictCurrent = true;
    std::int64_t frameCount = 0;
    // The companion's error model as its events set it.
    ErrorModel model;
};

// The parts of the form before the action that decide what the action does.
struct Before {
    bool timerEnabled = false;
    std::string runCaption;
    bool parityShown = false;
    bool checkShown = false;
};

Before Snapshot(const Form& form, const Event& action);

// Empty when every invariant holds, otherwise what broke.
std::string CheckInvariants(const Form& form, const Event& action, const Before& before,
                            ModelState& state);

// Runs the event on the form as the window runs it, then checks every invariant: empty when they
// all hold, otherwise what broke. The model test and the fuzzers play their events through this.
std::string RunAndCheck(Form& form, const Event& event, ModelState& state);

// The reference forms of the codes and the rate text.
std::uint8_t ReferenceCheckByte(std::int32_t codeMode, const bool (&bits)[48]);
std::string ReferenceRateText(std::int64_t undetected, std::int64_t frames);

} // namespace bitwatch::model
