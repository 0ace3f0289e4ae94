#pragma once

#include "core/codes.h"
#include "core/frame.h"

namespace bitwatch {

// Applies the current code to one side of the frame. On the transmitted side it writes the
// check cells of the code; on the received side it compares the recomputed check bits with the
// received check cells and the received data with the transmitted data, and writes the verdict
// into lblResult. Cells that the code does not use are neither read nor written.
void CheckFrame(Form& form, Side side);

// The data bytes of one side as its cells hold them.
FrameBytes ReadFrameBytes(const Form& form, Side side);

} // namespace bitwatch
