#pragma once

// The simulated link between the two halves of the frame. A random error and a user's click on
// a received cell are the same event: the bit is inverted, the cell is recoloured against its
// twin and the received side is verified again.

#include <cstdint>

#include "core/frame.h"

namespace bitwatch {

// Fills the transmitted data at random, computes and transmits the check bits, then damages
// the received copy through the chosen error model: at the bit error rate of cmbErrorRate
// (144 draws in all, or 152 when the check byte is shown), or exactly k bits or one burst of
// the frame in the order it is sent (48 draws and those of channel/error_draws.h).
void SendFrame(Form& form);

// The bits the channel may damage: the received data cells, the shown received parity cells
// and the received check cells when shown.
int SentLength(const Form& form);

// Copies every transmitted parity and check cell to its received twin.
void CopyCheckBits(Form& form);

// A received index (48 to 95) flips the received bit; a transmitted index (0 to 47) changes the
// frame as sent and re-transmits it without error. Any other index does nothing.
void ToggleDataBit(Form& form, std::int16_t index);

// Only received parity cells (48 to 95) can be flipped; the transmitted ones are computed.
void ToggleParityBit(Form& form, std::int16_t index);

// Flips received check cell index (0 to 7); any other index does nothing.
void ToggleCheckBit(Form& form, std::int16_t index);

// The flip probability for a rate text in percent: its numeric value divided by 100 in double
// precision, then rounded to single precision.
float FlipProbability(std::string_view rateText);

} // namespace bitwatch
