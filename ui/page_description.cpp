#include "ui/page_description.h"

#include <algorithm>
#include <initializer_list>
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

// Every piece is appended to the one string the description is written into: the page asks for
// it while it starts, when the module still runs its first, unoptimised code, and a string per
// piece cost most of that time.

void AppendPixels(std::string& json, int twips) {
    AppendJsonInteger(json, twips / layout::kTwipsPerPixel);
}

// Lengths in twips as a JSON array of pixels: a box, a point, the client area.
void AppendPixelArray(std::string& json, std::initializer_list<int> twips) {
    json += '[';
    for (const int* length = twips.begin(); length != twips.end(); ++length) {
        json += length == twips.begin() ? "" : ",";
        AppendPixels(json, *length);
    }
    json += ']';
}

void AppendBox(std::string& json, const layout::Box& box) {
    AppendPixelArray(json, {box.left, box.top, box.width, box.height});
}

void AppendStyle(std::string& json, const layout::TextStyle& style) {
    const char* align = style.align == layout::Align::Left    ? "left"
                        : style.align == layout::Align::Right ? "right"
                                                              : "center";
    std::string points = std::to_string(style.points);
    points.erase(points.find_last_not_of('0') + 1);
    if (points.back() == '.') {
        points.pop_back();
    }
    json += "{\"face\":\"";
    json += style.face == FontFace::Serif ? "serif" : "sans";
    json += "\",\"points\":";
    json += points;
    json += ",\"align\":\"";
    json += align;
    json += "\"}";
}

void AppendEvent(std::string& json, const std::optional<EventKind>& kind) {
    if (kind) {
        AppendJsonInteger(json, static_cast<int>(*kind));
    } else {
        json += "null";
    }
}

// A name of the window's own, which needs no escaping.
void AppendQuoted(std::string& json, std::string_view text) {
    json += '"';
    json += text;
    json += '"';
}

// Where an element's record is in the records JSON: [name] or [name, index].
void AppendRecord(std::string& json, const Row& row, int index) {
    json += '[';
    AppendQuoted(json, row.name);
    if (row.count > 1) {
        json += ',';
        AppendJsonInteger(json, index);
    }
    json += ']';
}

// The start every cell, label and control shares: its id, record, box and style.
void AppendPlaced(std::string& json, const Row& row, int index, bool withRecord) {
    json += "{\"id\":";
    AppendQuoted(json, window::ElementName(row, index));
    if (withRecord) {
        json += ",\"record\":";
        AppendRecord(json, row, index);
    }
    json += ",\"box\":";
    AppendBox(json, row.box(index));
    json += ",\"style\":";
    AppendStyle(json, row.style(index));
}

void AppendLevel(std::string& json, const Row& row) {
    json += ",\"level\":";
    AppendJsonInteger(json, row.level);
}

void AppendCell(std::string& json, const Row& row, int index) {
    AppendPlaced(json, row, index, true);
    AppendLevel(json, row);
    json += ",\"name\":";
    AppendJsonString(json, CellName(row.cells, index));
    json += ",\"click\":";
    AppendEvent(json, row.press);
    json += '}';
}

void AppendLabel(std::string& json, const Row& row, int index) {
    AppendPlaced(json, row, index, true);
    AppendLevel(json, row);
    json += ",\"description\":";
    AppendJsonString(json, row.description);
    json += row.live ? ",\"live\":1" : ",\"live\":0";
    json += row.announced ? ",\"announced\":1}" : ",\"announced\":0}";
}

void AppendLine(std::string& json, const Row& row, int index) {
    const layout::Segment segment = row.segment(index);
    json += "{\"id\":";
    AppendQuoted(json, window::ElementName(row, index));
    json += ",\"from\":";
    AppendPixelArray(json, {segment.x1, segment.y1});
    json += ",\"to\":";
    AppendPixelArray(json, {segment.x2, segment.y2});
    json += ",\"width\":";
    AppendJsonInteger(json, segment.widthPixels);
    AppendLevel(json, row);
    json += ",\"colour\":";
    if (row.colour) {
        AppendJsonInteger(json, *row.colour);
    } else {
        json += "null";
    }
    json += ",\"record\":";
    AppendRecord(json, row, index);
    json += '}';
}

void AppendControl(std::string& json, const Row& row) {
    AppendPlaced(json, row, 0, false);
    json += ",\"name\":";
    AppendJsonString(json, row.accessibleName);
    if (row.kind == Kind::Button) {
        json += ",\"press\":";
        AppendEvent(json, row.press);
        json += '}';
        return;
    }
    json += ",\"change\":";
    AppendEvent(json, row.change);
    json += ",\"pick\":";
    AppendEvent(json, row.pick);
    json += ",\"labelledBy\":";
    if (row.labelledBy.empty()) {
        json += "null";
    } else {
        AppendQuoted(json, row.labelledBy);
    }
    json += '}';
}

void AppendLogo(std::string& json, const Row& row) {
    json += "{\"id\":";
    AppendQuoted(json, row.name);
    json += ",\"box\":";
    AppendBox(json, row.box(0));
    AppendLevel(json, row);
    json += ",\"name\":";
    AppendJsonString(json, row.accessibleName);
    json += '}';
}

// The companion's error model: its list, the events that pick from it and set k or L, and the
// record that says which is chosen.
void AppendErrorModels(std::string& json) {
    json += "{\"names\":[";
    for (std::size_t i = 0; i < kErrorModelNames.size(); ++i) {
        json += i == 0 ? "" : ",";
        AppendJsonString(json, kErrorModelNames[i]);
    }
    json += "],\"picked\":";
    AppendEvent(json, EventKind::ModelPicked);
    json += ",\"size\":";
    AppendEvent(json, EventKind::ModelSizeChanged);
    json += ",\"record\":\"errorModel\"}";
}

// Each element of the rows of one kind, in the table's order, as a JSON array.
template <typename AppendOne>
void AppendEach(std::string& json, Kind kind, const AppendOne& appendOne) {
    json += '[';
    bool first = true;
    for (const Row& row : window::Rows()) {
        for (int i = 0; row.kind == kind && i < row.count; ++i) {
            if (!first) {
                json += ',';
            }
            first = false;
            appendOne(row, i);
        }
    }
    json += ']';
}

} // namespace

std::string PageDescriptionJson() {
    std::vector<const Row*> controls;
    const Row* logo = nullptr;
    const Row* timer = nullptr;
    for (const Row& row : window::Rows()) {
        if (row.kind == Kind::Button || row.kind == Kind::Box) {
            controls.push_back(&row);
        } else if (row.kind == Kind::Logo) {
            logo = &row;
        } else if (row.kind == Kind::Timer) {
            timer = &row;
        }
    }
    std::stable_sort(controls.begin(), controls.end(),
                     [](const Row* a, const Row* b) { return a->tabPlace < b->tabPlace; });

    std::string json;
    json.reserve(std::size_t{64} * 1024);
    json += "{\"client\":";
    AppendPixelArray(json, {layout::kClientWidth, layout::kClientHeight});
    json += ",\"cells\":";
    AppendEach(json, Kind::Cells, [&json](const Row& row, int i) { AppendCell(json, row, i); });
    json += ",\"labels\":";
    AppendEach(json, Kind::Label, [&json](const Row& row, int i) { AppendLabel(json, row, i); });
    json += ",\"lines\":";
    AppendEach(json, Kind::Line, [&json](const Row& row, int i) { AppendLine(json, row, i); });
    json += ",\"controls\":[";
    for (std::size_t i = 0; i < controls.size(); ++i) {
        json += i == 0 ? "" : ",";
        AppendControl(json, *controls[i]);
    }
    json += "],\"logo\":";
    AppendLogo(json, *logo);
    json += ",\"controlLevel\":";
    AppendJsonInteger(json, controls.front()->level);
    json += ",\"tick\":";
    AppendEvent(json, timer->press);
    json += ",\"errorModels\":";
    AppendErrorModels(json);
    json += ",\"fastInterval\":";
    AppendJsonInteger(json, kFastInterval);
    json += ",\"textLimit\":";
    AppendJsonInteger(json, kBoxTextLimit);
    json += ",\"timer\":";
    AppendQuoted(json, timer->name);
    json += ",\"background\":";
    AppendJsonInteger(json, ColourWindow);
    json += '}';
    return json;
}

} // namespace bitwatch
