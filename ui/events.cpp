#include "ui/events.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "channel/run_control.h"
#include "channel/send_frame.h"

namespace bitwatch {

namespace {

template <std::size_t N> bool ShownCell(const std::array<TextLabel, N>& cells, int index) {
    return index >= 0 && index < static_cast<int>(N) && cells[index].shown;
}

void PickMode(Form& form, int index) {
    const auto& entries = form.cmbMode.entries();
    if (index < 0 || index >= static_cast<int>(entries.size())) {
        return;
    }
    // Picking an entry first puts its text into the box, which is a change of the text (and
    // applies the mode) unless the box already reads it; the pick then applies the mode again.
    const std::string& entry = entries[static_cast<std::size_t>(index)];
    if (form.cmbMode.text() != entry) {
        form.cmbMode.SetText(entry);
    }
    ApplyMode(form);
}

constexpr std::array<std::string_view, kEventKinds> kKindNames = {
    "click row1", "click parity", "click sum2", "mode text", "mode pick",   "rate text",  "One",
    "Reset",      "run button",   "Find UE",    "tick",      "error model", "model size",
};

std::string Printable(const std::string& text) {
    constexpr std::size_t kShown = 40;
    std::string printable;
    const std::size_t shown = std::min(text.size(), kShown);
    for (std::size_t i = 0; i < shown; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F) {
            printable += static_cast<char>(c);
        } else {
            constexpr std::string_view kHex = "0123456789abcdef";
            printable += "\\x";
            printable += kHex[c >> 4U];
            printable += kHex[c & 15U];
        }
    }
    if (shown < text.size()) {
        printable += "... (" + std::to_string(text.size()) + " bytes)";
    }
    return printable;
}

} // namespace

void RunEvent(Form& form, const Event& event) {
    switch (event.kind) {
    case EventKind::ClickData:
        // Data cells are always shown; ToggleDataBit ignores indexes outside row1.
        ToggleDataBit(form, event.index);
        break;
    case EventKind::ClickParity:
        if (ShownCell(form.parity, event.index)) {
            ToggleParityBit(form, event.index);
        }
        break;
    case EventKind::ClickCheck:
        if (ShownCell(form.sum2, event.index)) {
            ToggleCheckBit(form, event.index);
        }
        break;
    case EventKind::ModeTextChanged:
        form.cmbMode.SetText(event.text);
        break;
    case EventKind::ModePicked:
        PickMode(form, event.index);
        break;
    case EventKind::RateTextChanged:
        // No operation runs; the channel reads the text at every send.
        form.cmbErrorRate.SetText(event.text);
        break;
    case EventKind::PressOne:
        SendOne(form);
        break;
    case EventKind::PressReset:
        ResetAll(form);
        break;
    case EventKind::PressRun:
        CycleRun(form);
        break;
    case EventKind::PressFind:
        FindUndetected(form);
        break;
    case EventKind::Tick:
        if (form.Timer1.enabled()) {
            RunTick(form);
        }
        break;
    case EventKind::ModelPicked:
        // The next frame is sent through the model; the frame on screen stays as it came.
        if (event.index >= 0 && event.index < static_cast<int>(kErrorModelNames.size())) {
            form.errorModel.kind = static_cast<ErrorModelKind>(event.index);
        }
        break;
    case EventKind::ModelSizeChanged:
        if (event.index >= 1 && event.index <= kLongestFrame) {
            form.errorModel.size = event.index;
        }
        break;
    }
}

bool RunEventAnnouncing(Form& form, const Event& event) {
    const Timer timerBefore = form.Timer1;
    RunEvent(form, event);
    return AnnouncesVerdict(event, timerBefore, form.Timer1);
}

bool AnnouncesVerdict(const Event& event, const Timer& timerBefore, const Timer& timerAfter) {
    switch (event.kind) {
    case EventKind::ClickData:
    case EventKind::ClickParity:
    case EventKind::ClickCheck:
    case EventKind::PressOne:
        return true;
    case EventKind::PressRun:
        return !timerBefore.enabled() && timerAfter.enabled();
    case EventKind::Tick:
        return timerBefore.enabled() &&
               (timerBefore.interval() == kSlowInterval || !timerAfter.enabled());
    default:
        return false;
    }
}

std::string DescribeEvent(const Event& event) {
    const auto kind = static_cast<std::size_t>(event.kind);
    std::string text(kind < kKindNames.size() ? kKindNames[kind] : "unknown event");
    switch (event.kind) {
    case EventKind::ClickData:
    case EventKind::ClickParity:
    case EventKind::ClickCheck:
    case EventKind::ModePicked:
    case EventKind::ModelPicked:
    case EventKind::ModelSizeChanged:
        text += " " + std::to_string(event.index);
        break;
    case EventKind::ModeTextChanged:
    case EventKind::RateTextChanged:
        text += " \"" + Printable(event.text) + "\"";
        break;
    default:
        break;
    }
    return text;
}

} // namespace bitwatch
