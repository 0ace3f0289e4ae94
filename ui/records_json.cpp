#include "ui/records_json.h"

#include <array>

#include "channel/send_frame.h"
#include "core/utf8.h"
#include "ui/window_table.h"

namespace bitwatch {

namespace {

// A label or a cell: [text, colour, shown], and on a cell whether it differs from its twin, so
// that no front end reads the colour for it.
void AppendLabel(std::string& json, const TextLabel& label, bool isCell) {
    json += '[';
    json += JsonString(label.text);
    json += ',';
    json += std::to_string(label.foreColour);
    json += label.shown ? ",1" : ",0";
    if (isCell) {
        json += DiffersFromTwin(label.foreColour) ? ",1" : ",0";
    }
    json += ']';
}

void AppendCombo(std::string& json, const ComboBox& combo) {
    json += "{\"text\":" + JsonString(combo.text()) + ",\"entries\":[";
    for (std::size_t i = 0; i < combo.entries().size(); ++i) {
        if (i > 0) {
            json += ',';
        }
        json += JsonString(combo.entries()[i]);
    }
    json += "]}";
}

void AppendTimer(std::string& json, const Timer& timer) {
    json += "{\"enabled\":" + std::to_string(timer.enabled() ? 1 : 0) +
            ",\"interval\":" + std::to_string(timer.interval()) +
            ",\"restarts\":" + std::to_string(timer.restarts()) + "}";
}

// One element of a row's record.
void AppendElement(std::string& json, const Form& form, const window::Row& row, int index) {
    const window::Record& record = row.record;
    switch (row.kind) {
    case window::Kind::Label:
    case window::Kind::Cells:
        AppendLabel(json, record.label(form, index), row.kind == window::Kind::Cells);
        return;
    case window::Kind::Button:
        json += JsonString(record.button(form).caption);
        return;
    case window::Kind::Box:
        AppendCombo(json, record.box(form));
        return;
    case window::Kind::Line:
        json += record.line(form, index).shown ? '1' : '0';
        return;
    case window::Kind::Timer:
        AppendTimer(json, record.timer(form));
        return;
    case window::Kind::Logo:
        return;
    }
}

// Each row's record under its name: one value, or an array of a row of several elements.
void AppendRows(std::string& json, const Form& form) {
    for (const window::Row& row : window::Rows()) {
        if (row.kind == window::Kind::Logo) {
            continue;
        }
        json += '"';
        json += row.name;
        json += "\":";
        if (row.count > 1) {
            json += '[';
        }
        for (int i = 0; i < row.count; ++i) {
            json += i > 0 ? "," : "";
            AppendElement(json, form, row, i);
        }
        json += row.count > 1 ? "]," : ",";
    }
}

void AppendNumber(std::string& json, const char* name, long long value) {
    json += '"';
    json += name;
    json += "\":";
    json += std::to_string(value);
    json += ',';
}

} // namespace

std::string JsonString(std::string_view text) {
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string json = "\"";
    json.reserve(text.size() + 2);
    for (std::size_t position = 0; position < text.size();) {
        const Utf8Character character = ReadUtf8Character(text, position);
        const char32_t c = character.codePoint;
        if (c == '"' || c == '\\') {
            json += '\\';
            json += static_cast<char>(c);
        } else if (c < 0x20) {
            json += "\\u00";
            json += kHex[c >> 4U];
            json += kHex[c & 15U];
        } else if (c == kReplacementCharacter) {
            AppendUtf8(json, c); // also stands for an ill-formed sequence
        } else {
            json.append(text, position, character.length);
        }
        position += character.length;
    }
    json += '"';
    return json;
}

std::string RecordsJson(const Form& form) {
    std::string json = "{";
    json.reserve(8192);
    AppendRows(json, form);
    AppendNumber(json, "frameCount", form.frameCount);
    AppendNumber(json, "undetectedCount", form.undetectedCount);
    AppendNumber(json, "codeMode", form.codeMode);
    AppendNumber(json, "groupSize", form.groupSize);
    AppendNumber(json, "stopOnUndetected", form.stopOnUndetected);
    // The companion's channel, and the frame's length that bounds its k or L.
    json += "\"errorModel\":{\"kind\":" + std::to_string(static_cast<int>(form.errorModel.kind)) +
            ",\"size\":" + std::to_string(form.errorModel.size) +
            ",\"frameLength\":" + std::to_string(SentLength(form)) +
            ",\"sizeCaption\":" + JsonString(SizeCaption(form.errorModel.kind)) +
            ",\"sizeUsed\":" + (form.errorModel.kind == ErrorModelKind::RandomBits ? "0" : "1") +
            "},";
    json += "\"draws\":" + std::to_string(form.random.drawCount()) + "}";
    return json;
}

} // namespace bitwatch
