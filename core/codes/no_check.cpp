// Mode None: no check bits, so nothing damaged in the data can be told from an intact frame.

#include "core/codes/code_unit.h"
#include "core/explain.h"

namespace bitwatch {

namespace {

std::string Explain(const Form& /*form*/, Explanation& e) {
    e.working = NoCheckWorking{};
    e.checkAgrees = true;
    if (!e.dataDiffers) {
        return {};
    }
    return "Undetected: mode None sends no check bits, so the receiver cannot tell that " +
           std::to_string(e.dataErrors) +
           (e.dataErrors == 1 ? " data bit was flipped." : " data bits were flipped.");
}

} // namespace

const CodeUnit kNoCheckUnit{
    .family = "none",
    .sumModulus = 0,
    .checkBits = [](std::int16_t /*groupSize*/, int /*dataBits*/) { return 0; },
    .checkCells = [](Form& /*form*/, Side /*side*/, const FrameBytes& /*bytes*/) { return false; },
    .checkByteOf = [](std::span<const std::uint8_t> /*bytes*/) { return std::uint8_t{0}; },
    .runningStep = [](std::uint8_t state, int /*bitIndex*/, bool /*one*/) { return state; },
    .finishCheck = [](std::uint8_t state) { return state; },
    .explain = Explain,
};

} // namespace bitwatch
