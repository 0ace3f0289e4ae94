#include "web/page_description.h"

#include <array>
#include <string_view>
#include <vector>

#include "core/frame.h"
#include "ui/accessible_names.h"
#include "ui/events.h"
#include "ui/layout.h"
#include "ui/records_json.h"

namespace bitwatch::web {

namespace {

// Stacking levels from the bottom; the buttons and boxes overlap nothing.
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

std::string Pixels(int twips) {
    return std::to_string(twips / layout::kTwipsPerPixel);
}

std::string BoxJson(const layout::Box& box) {
    return "[" + Pixels(box.left) + "," + Pixels(box.top) + "," + Pixels(box.width) + "," +
           Pixels(box.height) + "]";
}

std::string StyleJson(const layout::TextStyle& style) {
    const char* align = style.align == layout::Align::Left    ? "left"
                        : style.align == layout::Align::Right ? "right"
                                                              : "center";
    std::string points = std::to_string(style.points);
    points.erase(points.find_last_not_of('0') + 1);
    if (points.back() == '.') {
        points.pop_back();
    }
    return std::string("{\"face\":\"") + (style.face == FontFace::Serif ? "serif" : "sans") +
           "\",\"points\":" + points + ",\"align\":\"" + align + "\"}";
}

std::string Kind(EventKind kind) {
    return std::to_string(static_cast<int>(kind));
}

std::string Join(const std::vector<std::string>& items) {
    std::string joined;
    for (const std::string& item : items) {
        joined += joined.empty() ? "" : ",";
        joined += item;
    }
    return joined;
}

std::string CellsJson(CellArray array, const char* name, int count, layout::Box (*box)(int),
                      const layout::TextStyle& style, int level, const std::string& click) {
    std::vector<std::string> cells;
    for (int i = 0; i < count; ++i) {
        cells.push_back(
            std::string("{\"id\":\"") + name + "_" + std::to_string(i) + "\",\"record\":[\"" +
            name + "\"," + std::to_string(i) + "],\"box\":" + BoxJson(box(i)) +
            ",\"style\":" + StyleJson(style) + ",\"level\":" + std::to_string(level) +
            ",\"name\":" + JsonString(CellName(array, i)) + ",\"click\":" + click + "}");
    }
    return Join(cells);
}

layout::Box Sum1(int j) {
    return layout::Sum1Box(j);
}
layout::Box Sum2(int j) {
    return layout::Sum2Box(j);
}
layout::Box Row1(int i) {
    return layout::Row1Box(i);
}
layout::Box Parity(int i) {
    return layout::ParityBox(i);
}

std::string LabelJson(const std::string& id, const std::string& record, const layout::Box& box,
                      const layout::TextStyle& style, int level, std::string_view description,
                      bool live) {
    return "{\"id\":\"" + id + "\",\"record\":" + record + ",\"box\":" + BoxJson(box) +
           ",\"style\":" + StyleJson(style) + ",\"level\":" + std::to_string(level) +
           ",\"description\":" + JsonString(description) + ",\"live\":" + (live ? "1" : "0") + "}";
}

std::string LineJson(const std::string& id, const layout::Segment& segment, int level,
                     const char* colour) {
    return "{\"id\":\"" + id + "\",\"from\":[" + Pixels(segment.x1) + "," + Pixels(segment.y1) +
           "],\"to\":[" + Pixels(segment.x2) + "," + Pixels(segment.y2) +
           "],\"width\":" + std::to_string(segment.widthPixels) +
           ",\"level\":" + std::to_string(level) + ",\"colour\":" + colour + "}";
}

std::string ButtonJson(const char* id, const layout::Box& box, std::string_view name,
                       EventKind press) {
    return std::string("{\"id\":\"") + id + "\",\"box\":" + BoxJson(box) +
           ",\"style\":" + StyleJson(layout::kButtonText) + ",\"name\":" + JsonString(name) +
           ",\"press\":" + Kind(press) + "}";
}

std::string ComboJson(const char* id, const layout::Box& box, const layout::TextStyle& style,
                      std::string_view name, EventKind change, const std::string& pick,
                      const char* labelledBy) {
    return std::string("{\"id\":\"") + id + "\",\"box\":" + BoxJson(box) +
           ",\"style\":" + StyleJson(style) + ",\"name\":" + JsonString(name) +
           ",\"change\":" + Kind(change) + ",\"pick\":" + pick + ",\"labelledBy\":" + labelledBy +
           "}";
}

// The companion's error model: its list and the events that pick from it and set k or L.
std::string ErrorModelsJson() {
    std::vector<std::string> names;
    for (const std::string_view name : kErrorModelNames) {
        names.push_back(JsonString(name));
    }
    return "{\"names\":[" + Join(names) + "],\"picked\":" + Kind(EventKind::ModelPicked) +
           ",\"size\":" + Kind(EventKind::ModelSizeChanged) + "}";
}

} // namespace

std::string PageDescriptionJson() {
    const std::string arrow = std::to_string(layout::kArrowColour);
    std::vector<std::string> labels;
    for (int i = 0; i < 2; ++i) {
        labels.push_back(LabelJson("Label1_" + std::to_string(i),
                                   "[\"Label1\"," + std::to_string(i) + "]", layout::kLabel1[i],
                                   layout::kLabel1Text[i], kCaptionLevel, {}, false));
    }
    labels.push_back(LabelJson("lblResult", "[\"lblResult\"]", layout::kResult, layout::kResultText,
                               kVerdictLevel, names::kVerdict, true));
    for (int i = 0; i < 4; ++i) {
        labels.push_back(LabelJson("Label2_" + std::to_string(i),
                                   "[\"Label2\"," + std::to_string(i) + "]", layout::kLabel2[i],
                                   layout::kLabel2Text[i], kRateCaptionLevel, {}, false));
    }
    labels.push_back(LabelJson("lblUER", "[\"lblUER\"]", layout::kRate, layout::kRateText,
                               kRateLevel, names::kRate, true));

    // The transmitted check cells are computed, never clicked.
    const std::string cells =
        CellsJson(CellArray::Row1, "row1", kCellsPerArray, Row1, layout::kDataText, kDataLevel,
                  Kind(EventKind::ClickData)) +
        "," +
        CellsJson(CellArray::Parity, "parity", kCellsPerArray, Parity, layout::kParityText,
                  kParityLevel, Kind(EventKind::ClickParity)) +
        "," +
        CellsJson(CellArray::Sum1, "sum1", kCheckBits, Sum1, layout::kCheckText, kSum1Level,
                  "null") +
        "," +
        CellsJson(CellArray::Sum2, "sum2", kCheckBits, Sum2, layout::kCheckText, kSum2Level,
                  Kind(EventKind::ClickCheck));

    const std::string lines = LineJson("Line1_0", layout::kLine1[0], kRuleLevel, "null") + "," +
                              LineJson("Line1_1", layout::kLine1[1], kRuleLevel, "null") + "," +
                              LineJson("Line3", layout::kLine3, kLine3Level, arrow.c_str()) + "," +
                              LineJson("Line4", layout::kLine4, kLine4Level, arrow.c_str()) + "," +
                              LineJson("Line5", layout::kLine5, kLine5Level, arrow.c_str());

    // In tab order, the combo boxes among the buttons.
    const std::string controls =
        ButtonJson("Command1", layout::kCommand1, names::kOne, EventKind::PressOne) + "," +
        ButtonJson("Command3", layout::kCommand3, names::kReset, EventKind::PressReset) + "," +
        ButtonJson("Command4", layout::kCommand4, {}, EventKind::PressRun) + "," +
        ComboJson("cmbErrorRate", layout::kErrorRate, layout::kErrorRateText, names::kRateBox,
                  EventKind::RateTextChanged, "null", "\"Label2_0\"") +
        "," + ButtonJson("Command2", layout::kCommand2, names::kFind, EventKind::PressFind) + "," +
        ComboJson("cmbMode", layout::kMode, layout::kModeText, names::kModeBox,
                  EventKind::ModeTextChanged, Kind(EventKind::ModePicked), "null");

    return "{\"client\":[" + Pixels(layout::kClientWidth) + "," + Pixels(layout::kClientHeight) +
           "],\"cells\":[" + cells + "],\"labels\":[" + Join(labels) + "],\"lines\":[" + lines +
           "],\"controls\":[" + controls + "],\"logo\":{\"box\":" + BoxJson(layout::kLogo) +
           ",\"level\":" + std::to_string(kLogoLevel) + ",\"name\":" + JsonString(names::kLogo) +
           "},\"controlLevel\":" + std::to_string(kControlLevel) +
           ",\"tick\":" + Kind(EventKind::Tick) + ",\"errorModels\":" + ErrorModelsJson() +
           ",\"fastInterval\":" + std::to_string(kFastInterval) +
           ",\"textLimit\":" + std::to_string(kBoxTextLimit) + "}";
}

} // namespace bitwatch::web
