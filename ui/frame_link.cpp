#include "ui/frame_link.h"

#include "channel/rate_text.h"
#include "channel/send_frame.h"
#include "ui/events.h"
#include "ui/frame_link_state.h"
#include "ui/link_encoding.h"

namespace bitwatch {

namespace {

using link::FrameState;

// Rebuilds the state on a form fresh from start-up, through the operations a user's events run.
// False where the state contradicts itself.
bool Rebuild(Form& form, const FrameState& state) {
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
    const std::string_view verdict = link::kVerdicts[state.verdict];
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
    const link::RunState& run = link::kRunStates[state.run];
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
    std::string text = link::Base64Url(link::Encode(link::StateOf(form)));
    if (text.size() > kFrameLinkLimit) {
        return std::nullopt;
    }
    return text;
}

bool OpenFrameLink(Form& form, std::string_view text) {
    if (text.size() > kFrameLinkLimit) {
        return false;
    }
    const auto bytes = link::FromBase64Url(text);
    if (!bytes) {
        return false;
    }
    const auto state = link::Decode(*bytes);
    if (!state || !link::CountsAgree(*state)) {
        return false;
    }
    // Tried on a form of its own first, so that a link refused halfway leaves nothing behind.
    // Accepted only if the rebuilt state writes the same link: every text as the box holds it,
    // every cell as the operations left it, the mode as the texts applied it.
    Form trial;
    Startup(trial);
    if (!Rebuild(trial, *state) || link::Base64Url(link::Encode(link::StateOf(trial))) != text) {
        return false;
    }
    return Rebuild(form, *state);
}

} // namespace bitwatch
