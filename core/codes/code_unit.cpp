#include "core/codes/code_unit.h"

namespace bitwatch {

const CodeUnit& UnitOf(std::int32_t codeMode, std::int16_t groupSize) {
    return UsesParityGroups(groupSize) ? kParityGroupsUnit : *CodeOf(codeMode).unit;
}

int SentBits(std::int32_t codeMode, std::int16_t groupSize, int dataBits) {
    return dataBits + UnitOf(codeMode, groupSize).checkBits(groupSize, dataBits);
}

std::string_view VerdictOf(bool checkFailed, bool dataDiffers) {
    if (checkFailed) {
        return dataDiffers ? kVerdictDetected : kVerdictFalsePositive;
    }
    return dataDiffers ? kVerdictUndetected : kVerdictNoErrors;
}

} // namespace bitwatch
