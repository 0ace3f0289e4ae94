#include "ui/frame_link.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "channel/rate_text.h"
#include "channel/send_frame.h"
#include "ui/events.h"

namespace bitwatch {

namespace {

// Written first; a link of any other version is refused.
constexpr std::uint8_t kLinkVersion = 2; // 2: with the error model

constexpr std::array<std::string_view, 4> kVerdicts{kVerdictNoErrors, kVerdictDetected,
                                                    kVerdictUndetected, kVerdictFalsePositive};

// Every combination of the run's records that the buttons and the timer can leave.
struct RunState {
    bool enabled;
    int interval;
    std::string_view caption;
    std::int16_t stopOnUndetected;
};
constexpr std::array<RunState, 5> kRunStates{{
    {false, kStoppedInterval, kCaptionStart, kFalse}, // stopped, reset or after "One"
    {true, kSlowInterval, kCaptionFast, kFalse},      // a slow run
    {true, kFastInterval, kCaptionStop, kFalse},      // a fast run
    {true, kFastInterval, kCaptionStop, kTrue},       // a search
    {false, kFastInterval, kCaptionStart, kTrue},     // a search that found its frame
}};
constexpr std::size_t kStopped = 0;
constexpr std::size_t kSlowRun = 1;
constexpr std::size_t kFastRun = 2;
constexpr std::size_t kFound = 4;

// Every frame the channel sends draws at least one number for each data bit and one for a place
// of the k-bit or burst channel (the random channel draws far more).
constexpr std::uint64_t kLeastDrawsPerFrame = std::uint64_t{kDataBits} + 1;

// The state as a link carries it; every other record follows from these through the operations.
struct LinkState {
    std::size_t modeRow = 0;
    std::string modeText;
    std::string rateText;
    std::uint64_t sentData = 0;     // row1[0..47], bit i for cell i
    std::uint64_t receivedData = 0; // row1[48..95]
    std::uint64_t receivedParity = 0;
    std::uint8_t receivedCheck = 0;
    std::size_t verdict = 0;
    std::uint64_t frames = 0;
    std::uint64_t undetected = 0;
    std::size_t run = kStopped;
    std::uint64_t timerRestarts = 0;
    std::uint64_t draws = 0;
    std::uint8_t modelKind = 0;
    std::uint8_t modelSize = 0;
};

std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes) {
    // The reflected CRC-32 of zip and Ethernet, bit by bit: a link is read once.
    constexpr std::uint32_t kReflectedPolynomial = 0xEDB88320U;
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1U) ^ ((crc & 1U) != 0 ? kReflectedPolynomial : 0U);
        }
    }
    return ~crc;
}

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

LinkState StateOf(const Form& form) {
    LinkState state;
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

class Writer {
  public:
    void Byte(std::uint8_t byte) { bytes_.push_back(byte); }
    void Number(std::uint64_t value) {
        // LEB128: seven bits a byte, low first, the high bit saying that more follow.
        do {
            const auto low = static_cast<std::uint8_t>(value & 0x7FU);
            value >>= 7U;
            Byte(value != 0 ? static_cast<std::uint8_t>(low | 0x80U) : low);
        } while (value != 0);
    }
    void Bits48(std::uint64_t bits) {
        for (int i = 0; i < kDataBits / 8; ++i) {
            Byte(static_cast<std::uint8_t>(bits >> (8U * static_cast<unsigned>(i))));
        }
    }
    void Text(std::string_view text) {
        Number(text.size());
        bytes_.insert(bytes_.end(), text.begin(), text.end());
    }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

  private:
    std::vector<std::uint8_t> bytes_;
};

class Reader {
  public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    bool Byte(std::uint8_t& byte) {
        if (at_ >= bytes_.size()) {
            return false;
        }
        byte = bytes_[at_++];
        return true;
    }
    bool Number(std::uint64_t& value) {
        value = 0;
        for (unsigned shift = 0; shift < 64; shift += 7) {
            std::uint8_t byte = 0;
            if (!Byte(byte)) {
                return false;
            }
            const std::uint64_t low = byte & 0x7FU;
            // The tenth byte may hold only the number's top bit; a byte of zero after the first
            // would write a number another way than the writer does.
            if ((shift == 63 && low > 1) || (shift > 0 && byte == 0)) {
                return false;
            }
            value |= low << shift;
            if ((byte & 0x80U) == 0) {
                return true;
            }
        }
        return false;
    }
    bool Bits48(std::uint64_t& bits) {
        bits = 0;
        for (int i = 0; i < kDataBits / 8; ++i) {
            std::uint8_t byte = 0;
            if (!Byte(byte)) {
                return false;
            }
            bits |= std::uint64_t{byte} << (8U * static_cast<unsigned>(i));
        }
        return true;
    }
    bool Text(std::string& text) {
        std::uint64_t size = 0;
        if (!Number(size) || size > bytes_.size() - at_) {
            return false;
        }
        const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(at_);
        text.assign(begin, begin + static_cast<std::ptrdiff_t>(size));
        at_ += static_cast<std::size_t>(size);
        return true;
    }
    std::size_t left() const { return bytes_.size() - at_; }

  private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_ = 0;
};

constexpr std::string_view kBase64Url =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

std::string Base64Url(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    std::uint32_t buffer = 0;
    unsigned held = 0;
    for (const std::uint8_t byte : bytes) {
        buffer = (buffer << 8U) | byte;
        held += 8;
        while (held >= 6) {
            held -= 6;
            text += kBase64Url[(buffer >> held) & 63U];
        }
    }
    if (held > 0) {
        text += kBase64Url[(buffer << (6 - held)) & 63U];
    }
    return text;
}

// Nothing for a character outside the alphabet or bits left over that the writer sets to zero.
std::optional<std::vector<std::uint8_t>> FromBase64Url(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    std::uint32_t buffer = 0;
    unsigned held = 0;
    for (const char c : text) {
        const std::size_t value = kBase64Url.find(c);
        if (value == std::string_view::npos) {
            return std::nullopt;
        }
        buffer = ((buffer << 6U) | static_cast<std::uint32_t>(value)) & 0xFFFFU;
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes.push_back(static_cast<std::uint8_t>(buffer >> held));
        }
    }
    if (held >= 6 || (buffer & ((1U << held) - 1U)) != 0) {
        return std::nullopt;
    }
    return bytes;
}

std::vector<std::uint8_t> Encode(const LinkState& state) {
    Writer writer;
    writer.Byte(kLinkVersion);
    writer.Byte(static_cast<std::uint8_t>(state.modeRow));
    writer.Text(state.modeText);
    writer.Text(state.rateText);
    writer.Bits48(state.sentData);
    writer.Bits48(state.receivedData);
    writer.Bits48(state.receivedParity);
    writer.Byte(state.receivedCheck);
    writer.Byte(static_cast<std::uint8_t>(state.verdict));
    writer.Number(state.frames);
    writer.Number(state.undetected);
    writer.Byte(static_cast<std::uint8_t>(state.run));
    writer.Number(state.timerRestarts);
    writer.Number(state.draws);
    writer.Byte(state.modelKind);
    writer.Byte(state.modelSize);
    const std::uint32_t crc = Crc32(writer.bytes());
    for (unsigned shift = 0; shift < 32; shift += 8) {
        writer.Byte(static_cast<std::uint8_t>(crc >> shift));
    }
    return std::move(writer.bytes());
}

std::optional<LinkState> Decode(std::vector<std::uint8_t> bytes) {
    constexpr std::size_t kCrcBytes = 4;
    if (bytes.size() < kCrcBytes + 1) {
        return std::nullopt;
    }
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < kCrcBytes; ++i) {
        crc |= std::uint32_t{bytes[bytes.size() - kCrcBytes + i]} << (8U * i);
    }
    bytes.resize(bytes.size() - kCrcBytes);
    if (crc != Crc32(bytes) || bytes[0] != kLinkVersion) {
        return std::nullopt;
    }
    Reader reader(bytes);
    LinkState state;
    std::uint8_t version = 0;
    std::uint8_t modeRow = 0;
    std::uint8_t verdict = 0;
    std::uint8_t run = 0;
    const bool read =
        reader.Byte(version) && reader.Byte(modeRow) && reader.Text(state.modeText) &&
        reader.Text(state.rateText) && reader.Bits48(state.sentData) &&
        reader.Bits48(state.receivedData) && reader.Bits48(state.receivedParity) &&
        reader.Byte(state.receivedCheck) && reader.Byte(verdict) && reader.Number(state.frames) &&
        reader.Number(state.undetected) && reader.Byte(run) && reader.Number(state.timerRestarts) &&
        reader.Number(state.draws) && reader.Byte(state.modelKind) && reader.Byte(state.modelSize);
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

// What the counters and the run allow together: no more undetected frames than frames, a run
// that has sent a frame for each counted one, a slow or fast run only after its first frame, and
// a search that stopped only on an undetected frame.
bool CountsAgree(const LinkState& state) {
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

// Rebuilds the state on a form fresh from start-up, through the operations a user's events run.
// False where the state contradicts itself.
bool Rebuild(Form& form, const LinkState& state) {
    form.cmbMode.SetText(std::string(kModeTable[state.modeRow].text));
    form.cmbMode.SetText(state.modeText);
    form.cmbErrorRate.SetText(state.rateText);
    bool clicked = false;
    const auto click = [&clicked](auto toggle, Form& f, int index) {
        toggle(f, static_cast<std::int16_t>(index));
        clicked = true;
    };
    for (int i = 0; i < kDataBits; ++i) {
        if (((state.sentData >> static_cast<unsigned>(i)) & 1U) != 0) {
            click(ToggleDataBit, form, i);
        }
    }
    for (int i = 0; i < kDataBits; ++i) {
        const bool one = ((state.receivedData >> static_cast<unsigned>(i)) & 1U) != 0;
        if (one != CellIsOne(form.row1[kDataBits + i])) {
            click(ToggleDataBit, form, kDataBits + i);
        }
        const bool parityOne = ((state.receivedParity >> static_cast<unsigned>(i)) & 1U) != 0;
        if (parityOne != CellIsOne(form.parity[kDataBits + i])) {
            if (!form.parity[kDataBits + i].shown) {
                return false;
            }
            click(ToggleParityBit, form, kDataBits + i);
        }
    }
    for (int k = 0; k < kCheckBits; ++k) {
        const bool one = ((state.receivedCheck >> static_cast<unsigned>(k)) & 1U) != 0;
        if (one != CellIsOne(form.sum2[k])) {
            if (!form.sum2[k].shown) {
                return false;
            }
            click(ToggleCheckBit, form, k);
        }
    }
    // A verdict other than the frame's own stays only from before a reset, which cleared the
    // frame and the counters.
    const std::string_view verdict = kVerdicts[state.verdict];
    if (form.lblResult.text != verdict) {
        if (clicked || state.frames != 0) {
            return false;
        }
        form.lblResult.text = verdict;
    }
    form.frameCount = static_cast<std::int64_t>(state.frames);
    form.undetectedCount = static_cast<std::int64_t>(state.undetected);
    form.lblUER.text = state.frames == 0 ? std::string(kRateAfterReset)
                                         : RateText(form.undetectedCount, form.frameCount);
    const RunState& run = kRunStates[state.run];
    form.Timer1.SetEnabled(false);
    form.Timer1.SetInterval(run.interval);
    form.Timer1.SetEnabled(run.enabled);
    form.Timer1.RestoreRestarts(state.timerRestarts);
    form.Command4.caption = run.caption;
    form.stopOnUndetected = run.stopOnUndetected;
    form.random = RandomSource::AfterDraws(state.draws);
    RunEvent(form, {EventKind::ModelPicked, state.modelKind, {}});
    RunEvent(form, {EventKind::ModelSizeChanged, state.modelSize, {}});
    return true;
}

} // namespace

std::optional<std::string> FrameLink(const Form& form) {
    std::string link = Base64Url(Encode(StateOf(form)));
    if (link.size() > kFrameLinkLimit) {
        return std::nullopt;
    }
    return link;
}

bool OpenFrameLink(Form& form, std::string_view link) {
    if (link.size() > kFrameLinkLimit) {
        return false;
    }
    const auto bytes = FromBase64Url(link);
    if (!bytes) {
        return false;
    }
    const auto state = Decode(*bytes);
    if (!state || !CountsAgree(*state)) {
        return false;
    }
    // Tried on a form of its own first, so that a link refused halfway leaves nothing behind.
    // Accepted only if the rebuilt state writes the same link: every text as the box holds it,
    // every cell as the operations left it, the mode as the texts applied it.
    Form trial;
    Startup(trial);
    if (!Rebuild(trial, *state) || Base64Url(Encode(StateOf(trial))) != link) {
        return false;
    }
    return Rebuild(form, *state);
}

} // namespace bitwatch
