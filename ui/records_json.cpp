#include "ui/records_json.h"

#include <array>
#include <charconv>

#include "channel/send_frame.h"
#include "core/utf8.h"
#include "ui/window_table.h"

namespace bitwatch {

namespace {

// A label or a cell: [text, colour, shown], and on a cell whether it differs from its twin, so
// that no front end reads the colour for it.
void AppendLabel(std::string& json, const TextLabel& label, bool isCell) {
    json += '[';
    AppendJsonString(json, label.text);
    json += ',';
    AppendJsonInteger(json, label.foreColour);
    json += label.shown ? ",1" : ",0";
    if (isCell) {
        json += DiffersFromTwin(label.foreColour) ? ",1" : ",0";
    }
    json += ']';
}

void AppendCombo(std::string& json, const ComboBox& combo) {
    json += "{\"text\":";
    AppendJsonString(json, combo.text());
    json += ",\"entries\":[";
    for (std::size_t i = 0; i < combo.entries().size(); ++i) {
        if (i > 0) {
            json += ',';
        }
        AppendJsonString(json, combo.entries()[i]);
    }
    json += "]}";
}

void AppendTimer(std::string& json, const Timer& timer) {
    json += "{\"enabled\":";
    json += timer.enabled() ? '1' : '0';
    json += ",\"interval\":";
    AppendJsonInteger(json, timer.interval());
    json += ",\"restarts\":";
    AppendJsonInteger(json, timer.restarts());
    json += '}';
}

} // namespace

void AppendJsonInteger(std::string& json, std::int64_t value) {
    // Written into a buffer of its own, so that a number costs no allocation.
    std::array<char, 24> digits{};
    const std::to_chars_result written =
        std::to_chars(digits.data(), digits.data() + digits.size(), value);
    json.append(digits.data(), written.ptr);
}

void AppendElementJson(std::string& json, const Form& form, const window::Row& row, int index) {
    const window::Record& record = row.record;
    switch (row.kind) {
    case window::Kind::Label:
    case window::Kind::Cells:
        AppendLabel(json, record.label(form, index), row.kind == window::Kind::Cells);
        return;
    case window::Kind::Button:
        AppendJsonString(json, record.button(form).caption);
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

namespace {

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
            AppendElementJson(json, form, row, i);
        }
        json += row.count > 1 ? "]," : ",";
    }
}

void AppendField(std::string& json, const char* name, long long value) {
    json += '"';
    json += name;
    json += "\":";
    AppendJsonInteger(json, value);
    json += ',';
}

} // namespace

void AppendErrorModelJson(std::string& json, const Form& form) {
    json += "{\"kind\":";
    AppendJsonInteger(json, static_cast<int>(form.errorModel.kind));
    json += ",\"size\":";
    AppendJsonInteger(json, form.errorModel.size);
    json += ",\"frameLength\":";
    AppendJsonInteger(json, SentLength(form));
    json += ",\"sizeCaption\":";
    AppendJsonString(json, SizeCaption(form.errorModel.kind));
    json += ",\"sizeUsed\":";
    json += form.errorModel.kind == ErrorModelKind::RandomBits ? '0' : '1';
    json += '}';
}

std::string JsonString(std::string_view text) {
    std::string json;
    json.reserve(text.size() + 2);
    AppendJsonString(json, text);
    return json;
}

void AppendJsonString(std::string& json, std::string_view text) {
    constexpr std::string_view kHex = "0123456789abcdef";
    json += '"';
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
}

std::string RecordsJson(const Form& form) {
    std::string json = "{";
    json.reserve(8192);
    AppendRows(json, form);
    AppendField(json, "frameCount", form.frameCount);
    AppendField(json, "undetectedCount", form.undetectedCount);
    AppendField(json, "codeMode", form.codeMode);
    AppendField(json, "groupSize", form.groupSize);
    AppendField(json, "stopOnUndetected", form.stopOnUndetected);
    json += "\"errorModel\":";
    AppendErrorModelJson(json, form);
    json += ",\"draws\":";
    AppendJsonInteger(json, form.random.drawCount());
    json += '}';
    return json;
}

} // namespace bitwatch
