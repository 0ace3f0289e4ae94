#include "ui/window_table.h"

#include <array>

namespace bitwatch::window {

namespace {

// Stacking levels from the bottom; the buttons and boxes overlap nothing and share the top one.
enum Level : int {
    kCaptionLevel = 1,
    kVerdictLevel,
    kDataLevel,
    kRateCaptionLevel,
    kRateLevel,
    kParityLevel,
    kRuleLevel,
    kSum1Level,
    kSum2Level,
    kLine3Level,
    kLine4Level,
    kLine5Level,
    kLogoLevel,
    kControlLevel,
};

// A row names only what it has; every member it leaves out keeps its default. GCC 12 still warns
// of the members a designated initializer leaves out, though the language gives them defaults.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

// The Tab order runs over the buttons with the rate box among them, and ends in the mode box.
constexpr std::array kRows{
    Row{.name = "Label1",
        .kind = Kind::Label,
        .count = 2,
        .level = kCaptionLevel,
        .box = [](int i) { return layout::kLabel1[i]; },
        .style = [](int i) { return layout::kLabel1Text[i]; },
        .record = {.label = [](const Form& f, int i) -> const TextLabel& {
            return f.Label1[i];
        }}},
    Row{.name = "lblResult",
        .kind = Kind::Label,
        .level = kVerdictLevel,
        .description = names::kVerdict,
        .live = true,
        .announced = true,
        .box = [](int) { return layout::kResult; },
        .style = [](int) { return layout::kResultText; },
        .record = {.label = [](const Form& f, int) -> const TextLabel& {
            return f.lblResult;
        }}},
    Row{.name = "row1",
        .kind = Kind::Cells,
        .count = kCellsPerArray,
        .level = kDataLevel,
        .cells = CellArray::Row1,
        .box = layout::Row1Box,
        .style = [](int) { return layout::kDataText; },
        .press = EventKind::ClickData,
        .record = {.label = [](const Form& f, int i) -> const TextLabel& {
            return f.row1[i];
        }}},
    Row{.name = "Label2",
        .kind = Kind::Label,
        .count = 4,
        .level = kRateCaptionLevel,
        .box = [](int i) { return layout::kLabel2[i]; },
        .style = [](int i) { return layout::kLabel2Text[i]; },
        .record = {.label = [](const Form& f, int i) -> const TextLabel& {
            return f.Label2[i];
        }}},
    Row{.name = "lblUER",
        .kind = Kind::Label,
        .level = kRateLevel,
        .description = names::kRate,
        .live = true,
        .box = [](int) { return layout::kRate; },
        .style = [](int) { return layout::kRateText; },
        .record = {.label = [](const Form& f, int) -> const TextLabel& {
            return f.lblUER;
        }}},
    Row{.name = "parity",
        .kind = Kind::Cells,
        .count = kCellsPerArray,
        .level = kParityLevel,
        .cells = CellArray::Parity,
        .box = layout::ParityBox,
        .style = [](int) { return layout::kParityText; },
        .press = EventKind::ClickParity,
        .record = {.label = [](const Form& f, int i) -> const TextLabel& {
            return f.parity[i];
        }}},
    Row{.name = "Line1",
        .kind = Kind::Line,
        .count = 2,
        .level = kRuleLevel,
        .segment = [](int i) { return layout::kLine1[i]; },
        .record = {.line = [](const Form& f, int i) -> const Line& {
            return f.Line1[i];
        }}},
    // The transmitted check cells are computed, never clicked.
    Row{.name = "sum1",
        .kind = Kind::Cells,
        .count = kCheckBits,
        .level = kSum1Level,
        .cells = CellArray::Sum1,
        .box = layout::Sum1Box,
        .style = [](int) { return layout::kCheckText; },
        .record = {.label = [](const Form& f, int i) -> const TextLabel& {
            return f.sum1[i];
        }}},
    Row{.name = "sum2",
        .kind = Kind::Cells,
        .count = kCheckBits,
        .level = kSum2Level,
        .cells = CellArray::Sum2,
        .box = layout::Sum2Box,
        .style = [](int) { return layout::kCheckText; },
        .press = EventKind::ClickCheck,
        .record = {.label = [](const Form& f, int i) -> const TextLabel& {
            return f.sum2[i];
        }}},
    Row{.name = "Line3",
        .kind = Kind::Line,
        .level = kLine3Level,
        .segment = [](int) { return layout::kLine3; },
        .colour = ColourArrow,
        .record = {.line = [](const Form& f, int) -> const Line& {
            return f.Line3;
        }}},
    Row{.name = "Line4",
        .kind = Kind::Line,
        .level = kLine4Level,
        .segment = [](int) { return layout::kLine4; },
        .colour = ColourArrow,
        .record = {.line = [](const Form& f, int) -> const Line& {
            return f.Line4;
        }}},
    Row{.name = "Line5",
        .kind = Kind::Line,
        .level = kLine5Level,
        .segment = [](int) { return layout::kLine5; },
        .colour = ColourArrow,
        .record = {.line = [](const Form& f, int) -> const Line& {
            return f.Line5;
        }}},
    Row{.name = "imgTorv",
        .kind = Kind::Logo,
        .level = kLogoLevel,
        .accessibleName = names::kLogo,
        .box =
            [](int) {
                return layout::kLogo;
            }},
    Row{.name = "Command1",
        .kind = Kind::Button,
        .level = kControlLevel,
        .tabPlace = 1,
        .accessibleName = names::kOne,
        .box = [](int) { return layout::kCommand1; },
        .style = [](int) { return layout::kButtonText; },
        .press = EventKind::PressOne,
        .record = {.button = [](const Form& f) -> const PushButton& {
            return f.Command1;
        }}},
    Row{.name = "Command3",
        .kind = Kind::Button,
        .level = kControlLevel,
        .tabPlace = 2,
        .accessibleName = names::kReset,
        .box = [](int) { return layout::kCommand3; },
        .style = [](int) { return layout::kButtonText; },
        .press = EventKind::PressReset,
        .record = {.button = [](const Form& f) -> const PushButton& {
            return f.Command3;
        }}},
    // No name of its own: it reads as its caption, "Start", "Fast" or "Stop".
    Row{.name = "Command4",
        .kind = Kind::Button,
        .level = kControlLevel,
        .tabPlace = 3,
        .box = [](int) { return layout::kCommand4; },
        .style = [](int) { return layout::kButtonText; },
        .press = EventKind::PressRun,
        .record = {.button = [](const Form& f) -> const PushButton& {
            return f.Command4;
        }}},
    Row{.name = "cmbErrorRate",
        .kind = Kind::Box,
        .level = kControlLevel,
        .tabPlace = 4,
        .accessibleName = names::kRateBox,
        .labelledBy = "Label2_0",
        .box = [](int) { return layout::kErrorRate; },
        .style = [](int) { return layout::kErrorRateText; },
        .change = EventKind::RateTextChanged,
        .record = {.box = [](const Form& f) -> const ComboBox& {
            return f.cmbErrorRate;
        }}},
    Row{.name = "Command2",
        .kind = Kind::Button,
        .level = kControlLevel,
        .tabPlace = 5,
        .accessibleName = names::kFind,
        .box = [](int) { return layout::kCommand2; },
        .style = [](int) { return layout::kButtonText; },
        .press = EventKind::PressFind,
        .record = {.button = [](const Form& f) -> const PushButton& {
            return f.Command2;
        }}},
    // No caption on screen labels the mode box: its accessible name does.
    Row{.name = "cmbMode",
        .kind = Kind::Box,
        .level = kControlLevel,
        .tabPlace = 6,
        .accessibleName = names::kModeBox,
        .box = [](int) { return layout::kMode; },
        .style = [](int) { return layout::kModeText; },
        .change = EventKind::ModeTextChanged,
        .pick = EventKind::ModePicked,
        .record = {.box = [](const Form& f) -> const ComboBox& {
            return f.cmbMode;
        }}},
    Row{.name = "Timer1",
        .kind = Kind::Timer,
        .press = EventKind::Tick,
        .record = {.timer = [](const Form& f) -> const Timer& {
            return f.Timer1;
        }}},
};

#pragma GCC diagnostic pop

} // namespace

std::span<const Row> Rows() {
    return kRows;
}

const Row* FindRow(std::string_view name) {
    for (const Row& row : kRows) {
        if (row.name == name) {
            return &row;
        }
    }
    return nullptr;
}

std::string ElementName(const Row& row, int index) {
    std::string name(row.name);
    if (row.count > 1) {
        name += '_';
        name += std::to_string(index);
    }
    return name;
}

} // namespace bitwatch::window
