#include "ui/records_json.h"

#include <array>

#include "channel/send_frame.h"
#include "core/utf8.h"

namespace bitwatch {

namespace {

void AppendCell(std::string& json, const TextLabel& cell) {
    json += '[';
    json += JsonString(cell.text);
    json += ',';
    json += std::to_string(cell.foreColour);
    json += cell.shown ? ",1]" : ",0]";
}

template <std::size_t N>
void AppendCells(std::string& json, const char* name, const std::array<TextLabel, N>& cells) {
    json += '"';
    json += name;
    json += "\":[";
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) {
            json += ',';
        }
        AppendCell(json, cells[i]);
    }
    json += "],";
}

void AppendCombo(std::string& json, const char* name, const ComboBox& combo) {
    json += '"';
    json += name;
    json += "\":{\"text\":" + JsonString(combo.text()) + ",\"entries\":[";
    for (std::size_t i = 0; i < combo.entries().size(); ++i) {
        if (i > 0) {
            json += ',';
        }
        json += JsonString(combo.entries()[i]);
    }
    json += "]},";
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
    AppendCells(json, "row1", form.row1);
    AppendCells(json, "parity", form.parity);
    AppendCells(json, "sum1", form.sum1);
    AppendCells(json, "sum2", form.sum2);
    AppendCells(json, "Label1", form.Label1);
    AppendCells(json, "Label2", form.Label2);
    json += "\"lblResult\":";
    AppendCell(json, form.lblResult);
    json += ",\"lblUER\":";
    AppendCell(json, form.lblUER);
    json += ",\"Command1\":" + JsonString(form.Command1.caption);
    json += ",\"Command2\":" + JsonString(form.Command2.caption);
    json += ",\"Command3\":" + JsonString(form.Command3.caption);
    json += ",\"Command4\":" + JsonString(form.Command4.caption);
    json += ",\"Line1\":[" + std::to_string(form.Line1[0].shown ? 1 : 0) + "," +
            std::to_string(form.Line1[1].shown ? 1 : 0) + "],";
    AppendCombo(json, "cmbMode", form.cmbMode);
    AppendCombo(json, "cmbErrorRate", form.cmbErrorRate);
    json += "\"Timer1\":{\"enabled\":" + std::to_string(form.Timer1.enabled() ? 1 : 0) +
            ",\"interval\":" + std::to_string(form.Timer1.interval()) +
            ",\"restarts\":" + std::to_string(form.Timer1.restarts()) + "},";
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
