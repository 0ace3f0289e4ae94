#include "ui/page_description.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "core/frame.h"
#include "ui/events.h"
#include "ui/layout.h"
#include "ui/records_json.h"
#include "ui/window_table.h"

namespace bitwatch {

namespace {

using window::Kind;
using window::Row;

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

std::string EventNumber(EventKind kind) {
    return std::to_string(static_cast<int>(kind));
}

std::string EventJson(const std::optional<EventKind>& kind) {
    return kind ? EventNumber(*kind) : "null";
}

std::string Join(const std::vector<std::string>& items) {
    std::string joined;
    for (const std::string& item : items) {
        joined += joined.empty() ? "" : ",";
        joined += item;
    }
    return joined;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Where an element's record is in the records JSON: [name] or [name, index].
std::string RecordJson(const Row& row, int index) {
    return "[" + Quoted(row.name) + (row.count > 1 ? "," + std::to_string(index) : "") + "]";
}

std::string Placed(const Row& row, int index) {
    return "\"id\":" + Quoted(window::ElementName(row, index)) +
           ",\"box\":" + BoxJson(row.box(index)) + ",\"style\":" + StyleJson(row.style(index));
}

std::string CellJson(const Row& row, int index) {
    return "{\"id\":" + Quoted(window::ElementName(row, index)) +
           ",\"record\":" + RecordJson(row, index) + ",\"box\":" + BoxJson(row.box(index)) +
           ",\"style\":" + StyleJson(row.style(index)) + ",\"level\":" + std::to_string(row.level) +
           ",\"name\":" + JsonString(CellName(row.cells, index)) +
           ",\"click\":" + EventJson(row.press) + "}";
}

std::string LabelJson(const Row& row, int index) {
    return "{\"id\":" + Quoted(window::ElementName(row, index)) +
           ",\"record\":" + RecordJson(row, index) + ",\"box\":" + BoxJson(row.box(index)) +
           ",\"style\":" + StyleJson(row.style(index)) + ",\"level\":" + std::to_string(row.level) +
           ",\"description\":" + JsonString(row.description) +
           ",\"live\":" + (row.live ? "1" : "0") + ",\"announced\":" + (row.announced ? "1" : "0") +
           "}";
}

std::string LineJson(const Row& row, int index) {
    const layout::Segment segment = row.segment(index);
    return "{\"id\":" + Quoted(window::ElementName(row, index)) + ",\"from\":[" +
           Pixels(segment.x1) + "," + Pixels(segment.y1) + "],\"to\":[" + Pixels(segment.x2) + "," +
           Pixels(segment.y2) + "],\"width\":" + std::to_string(segment.widthPixels) +
           ",\"level\":" + std::to_string(row.level) +
           ",\"colour\":" + (row.colour ? std::to_string(*row.colour) : "null") +
           ",\"record\":" + RecordJson(row, index) + "}";
}

std::string ControlJson(const Row& row) {
    std::string json = "{" + Placed(row, 0) + ",\"name\":" + JsonString(row.accessibleName);
    if (row.kind == Kind::Button) {
        return json + ",\"press\":" + EventJson(row.press) + "}";
    }
    return json + ",\"change\":" + EventJson(row.change) + ",\"pick\":" + EventJson(row.pick) +
           ",\"labelledBy\":" + (row.labelledBy.empty() ? "null" : Quoted(row.labelledBy)) + "}";
}

// The companion's error model: its list, the events that pick from it and set k or L, and the
// record that says which is chosen.
std::string ErrorModelsJson() {
    std::vector<std::string> names;
    names.reserve(kErrorModelNames.size());
    for (const std::string_view name : kErrorModelNames) {
        names.push_back(JsonString(name));
    }
    return "{\"names\":[" + Join(names) + "],\"picked\":" + EventNumber(EventKind::ModelPicked) +
           ",\"size\":" + EventNumber(EventKind::ModelSizeChanged) + ",\"record\":\"errorModel\"}";
}

} // namespace

std::string PageDescriptionJson() {
    std::vector<std::string> cells;
    std::vector<std::string> labels;
    std::vector<std::string> lines;
    std::vector<const Row*> controls;
    std::string logo;
    std::string timer;
    std::string tick;
    for (const Row& row : window::Rows()) {
        for (int i = 0; i < row.count; ++i) {
            switch (row.kind) {
            case Kind::Cells:
                cells.push_back(CellJson(row, i));
                break;
            case Kind::Label:
                labels.push_back(LabelJson(row, i));
                break;
            case Kind::Line:
                lines.push_back(LineJson(row, i));
                break;
            case Kind::Button:
            case Kind::Box:
                controls.push_back(&row);
                break;
            case Kind::Logo:
                logo = "{\"id\":" + Quoted(row.name) + ",\"box\":" + BoxJson(row.box(0)) +
                       ",\"level\":" + std::to_string(row.level) +
                       ",\"name\":" + JsonString(row.accessibleName) + "}";
                break;
            case Kind::Timer:
                timer = Quoted(row.name);
                tick = EventJson(row.press);
                break;
            }
        }
    }
    std::stable_sort(controls.begin(), controls.end(),
                     [](const Row* a, const Row* b) { return a->tabPlace < b->tabPlace; });
    std::vector<std::string> controlsJson;
    controlsJson.reserve(controls.size());
    for (const Row* row : controls) {
        controlsJson.push_back(ControlJson(*row));
    }
    const window::Row& firstControl = *controls.front();
    return "{\"client\":[" + Pixels(layout::kClientWidth) + "," + Pixels(layout::kClientHeight) +
           "],\"cells\":[" + Join(cells) + "],\"labels\":[" + Join(labels) + "],\"lines\":[" +
           Join(lines) + "],\"controls\":[" + Join(controlsJson) + "],\"logo\":" + logo +
           ",\"controlLevel\":" + std::to_string(firstControl.level) + ",\"tick\":" + tick +
           ",\"errorModels\":" + ErrorModelsJson() +
           ",\"fastInterval\":" + std::to_string(kFastInterval) +
           ",\"textLimit\":" + std::to_string(kBoxTextLimit) + ",\"timer\":" + timer +
           ",\"background\":" + std::to_string(ColourWindow) + "}";
}

} // namespace bitwatch
