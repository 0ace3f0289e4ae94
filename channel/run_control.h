#pragma once

// When frames are sent, and the undetected-error rate. The run state is the caption of the
// run button together with Timer1; the caption is the only record CycleRun consults.

#include "core/frame.h"

namespace bitwatch {

// One tick of Timer1: send a frame, count it, show the rate; a search stops on an undetected
// error with that frame left on screen.
void RunTick(Form& form);

// The run button: "Start" starts a slow run (sending its first frame at once), "Fast" speeds it
// up, anything else stops.
void CycleRun(Form& form);

// "One": stops any run and sends a single frame that is not counted.
void SendOne(Form& form);

// "Find UE": runs fast until the first undetected error. The counters go on accumulating.
void FindUndetected(Form& form);

} // namespace bitwatch
