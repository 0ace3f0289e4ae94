#pragma once

// Every event that the window routes, as a value, and the one function that runs an event's
// operation on the records. The Qt window, the browser page, the model-based test and the fuzzer
// all deliver their events here, so the table "which event runs which operation" exists once.

#include <cstdint>
#include <string>

#include "core/frame.h"

namespace bitwatch {

// The order is part of the fuzzers' input format: append new kinds at the end.
enum class EventKind : std::uint8_t {
    ClickData,        // a row1 cell, by index
    ClickParity,      // a parity cell, by index
    ClickCheck,       // a sum2 cell, by index
    ModeTextChanged,  // cmbMode's text is now text
    ModePicked,       // the entry at index was picked from cmbMode's list
    RateTextChanged,  // cmbErrorRate's text is now text
    PressOne,         // Command1
    PressReset,       // Command3
    PressRun,         // Command4
    PressFind,        // Command2
    Tick,             // Timer1
    ModelPicked,      // the companion's error model: the entry at index of kErrorModelNames
    ModelSizeChanged, // the companion's k or L is now index
};

inline constexpr int kEventKinds = static_cast<int>(EventKind::ModelSizeChanged) + 1;

struct Event {
    EventKind kind = EventKind::Tick;
    std::int16_t index = 0;
    std::string text;
};

// Runs the operation bound to the event. What no control could deliver is ignored: an index
// outside its array, a click on a hidden cell (it takes no click), a pick beyond the list, and a
// tick while Timer1 is disabled, a model beyond the list and a size outside 1 to kLongestFrame.
void RunEvent(Form& form, const Event& event);

// Whether the verdict after the event is worth saying to a screen reader user: after a click on
// a cell, "One", the first frame of a run, each frame of a slow run and the frame a search stopped
// on. Not the frames of a fast run: a hundred a second would drown out everything else.
bool AnnouncesVerdict(const Event& event, const Timer& timerBefore, const Timer& timerAfter);

// Runs the event; true when its verdict is worth saying to a screen reader user then. Both front
// ends deliver every event through this one.
bool RunEventAnnouncing(Form& form, const Event& event);

// The event in a line of text, for failure messages and logs.
std::string DescribeEvent(const Event& event);

} // namespace bitwatch
