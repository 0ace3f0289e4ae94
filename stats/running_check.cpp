#include "stats/running_check.h"

#include "core/codes/code_unit.h"

namespace bitwatch::stats {

std::uint8_t RunningStep(const CodeShape& shape, std::uint8_t state, int bitIndex, bool one) {
    return UnitOf(shape.codeMode, shape.groupSize).runningStep(state, bitIndex, one);
}

std::uint8_t FinishCheck(const CodeShape& shape, std::uint8_t state) {
    return UnitOf(shape.codeMode, shape.groupSize).finishCheck(state);
}

} // namespace bitwatch::stats
