#include "ui/frame_link_state.h"

#include <algorithm>
#include <limits>

#include "ui/link_encoding.h"

namespace bitwatch::link {

namespace {

// Written first; a link of any other version is refused.
constexpr std::uint8_t kLinkVersion = 2; // 2: with the error model

constexpr int kDataBytes = kDataBits / 8;

constexpr std::size_t kSlowRun = 1;
constexpr std::size_t kFastRun = 2;
constexpr std::size_t kFound = 4;

// Every frame the channel sends draws at least one number for each data bit and one for a place
// of the k-bit or burst channel (the random channel draws far more).
constexpr std::uint64_t kLeastDrawsPerFrame = std::uint64_t{kDataBits} + 1;

template <std::size_t N>
std::uint64_t Bits(const std::array<TextLabel, N>& cells, std::size_t first, std::size_t count) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (CellIsOne(cells[first + i])) {
            bits |= std::uint64_t{1} << i;
        }
    }
    return bits;
}

std::size_t IndexOf(std::string_view verdict) {
    const auto* found = std::find(kVerdicts.begin(), kVerdicts.end(), verdict);
    return static_cast<std::size_t>(found - kVerdicts.begin());
}

std::size_t RunOf(const Form& form) {
    for (std::size_t i = 0; i < kRunStates.size(); ++i) {
        const RunState& run = kRunStates[i];
        if (run.enabled == form.Timer1.enabled() && run.interval == form.Timer1.interval() &&
            run.caption == form.Command4.caption && run.stopOnUndetected == form.stopOnUndetected) {
            return i;
        }
    }
    return kRunStates.size();
}

} // namespace

FrameState StateOf(const Form& form) {
    FrameState state;
    for (std::size_t i = 0; i < kModeTable.size(); ++i) {
        if (kModeTable[i].codeMode == form.codeMode && kModeTable[i].groupSize == form.groupSize) {
            state.modeRow = i;
        }
    }
    state.modeText = form.cmbMode.text();
    state.rateText = form.cmbErrorRate.text();
    state.sentData = Bits(form.row1, 0, kDataBits);
    state.receivedData = Bits(form.row1, kDataBits, kDataBits);
    state.receivedParity = Bits(form.parity, kDataBits, kDataBits);
    state.receivedCheck = static_cast<std::uint8_t>(Bits(form.sum2, 0, kCheckBits));
    state.verdict = IndexOf(form.lblResult.text);
    state.frames = static_cast<std::uint64_t>(form.frameCount);
    state.undetected = static_cast<std::uint64_t>(form.undetectedCount);
    state.run = RunOf(form);
    state.timerRestarts = form.Timer1.restarts();
    state.draws = form.random.drawCount();
    state.modelKind = static_cast<std::uint8_t>(form.errorModel.kind);
    state.modelSize = static_cast<std::uint8_t>(form.errorModel.size);
    return state;
}

std::vector<std::uint8_t> Encode(const FrameState& state) {
    ByteWriter writer;
    writer.Byte(kLinkVersion);
    writer.Byte(static_cast<std::uint8_t>(state.modeRow));
    writer.Text(state.modeText);
    writer.Text(state.rateText);
    writer.FixedBits(state.sentData, kDataBytes);
    writer.FixedBits(state.receivedData, kDataBytes);
    writer.FixedBits(state.receivedParity, kDataBytes);
    writer.Byte(state.receivedCheck);
    writer.Byte(static_cast<std::uint8_t>(state.verdict));
    writer.Number(state.frames);
    writer.Number(state.undetected);
    writer.Byte(static_cast<std::uint8_t>(state.run));
    writer.Number(state.timerRestarts);
    writer.Number(state.draws);
    writer.Byte(state.modelKind);
    writer.Byte(state.modelSize);
    return Sealed(std::move(writer.bytes()));
}

std::optional<FrameState> Decode(std::vector<std::uint8_t> bytes) {
    const auto unsealed = Unsealed(std::move(bytes));
    if (!unsealed || unsealed->empty() || unsealed->front() != kLinkVersion) {
        return std::nullopt;
    }
    ByteReader reader(*unsealed);
    FrameState state;
    std::uint8_t version = 0;
    std::uint8_t modeRow = 0;
    std::uint8_t verdict = 0;
    std::uint8_t run = 0;
    const bool read =
        reader.Byte(version) && reader.Byte(modeRow) && reader.Text(state.modeText) &&
        reader.Text(state.rateText) && reader.FixedBits(state.sentData, kDataBytes) &&
        reader.FixedBits(state.receivedData, kDataBytes) &&
        reader.FixedBits(state.receivedParity, kDataBytes) && reader.Byte(state.receivedCheck) &&
        reader.Byte(verdict) && reader.Number(state.frames) && reader.Number(state.undetected) &&
        reader.Byte(run) && reader.Number(state.timerRestarts) && reader.Number(state.draws) &&
        reader.Byte(state.modelKind) && reader.Byte(state.modelSize);
    if (!read || reader.left() != 0 || modeRow >= kModeTable.size() ||
        verdict >= kVerdicts.size() || run >= kRunStates.size() ||
        state.modelKind >= kErrorModelNames.size() || state.modelSize < 1 ||
        state.modelSize > kLongestFrame) {
        return std::nullopt;
    }
    state.modeRow = modeRow;
    state.verdict = verdict;
    state.run = run;
    return state;
}

// No more undetected frames than frames, a run that has sent a frame for each counted one, a slow
// or fast run only after its first frame, and a search that stopped only on an undetected frame.
bool CountsAgree(const FrameState& state) {
    constexpr auto kLargestCount =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (state.frames > kLargestCount || state.undetected > state.frames ||
        state.frames > state.draws / kLeastDrawsPerFrame) {
        return false;
    }
    if ((state.run == kSlowRun || state.run == kFastRun) && state.frames == 0) {
        return false;
    }
    return state.run != kFound || state.undetected > 0;
}

} // namespace bitwatch::link
