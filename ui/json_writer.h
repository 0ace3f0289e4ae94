#pragma once

// A small JSON writer for the records, their changes and the page's description: it appends to
// one string and puts in the commas, so that an emitter says what it writes and not where the
// separators go. Texts are written as UTF-8, escaping only what JSON requires (quote,
// backslash, control characters); an ill-formed sequence is written as U+FFFD, so any text gives
// valid JSON. Nothing is allocated beyond the string's growth: the records are written at every
// frame a run shows.

#include <cstdint>
#include <string>
#include <string_view>

namespace bitwatch {

class JsonWriter {
  public:
    explicit JsonWriter(std::string& out) : out_(out) {}

    JsonWriter& BeginObject() { return Open('{'); }
    JsonWriter& EndObject() { return Close('}'); }
    JsonWriter& BeginArray() { return Open('['); }
    JsonWriter& EndArray() { return Close(']'); }

    // A member's name: one of the program's own, written as it is.
    JsonWriter& Key(std::string_view name) {
        Lead('"');
        out_ += name;
        out_ += "\":";
        afterValue_ = false;
        return *this;
    }
    JsonWriter& String(std::string_view text);
    JsonWriter& Integer(std::int64_t value);
    JsonWriter& Flag(bool value) {
        Lead(value ? '1' : '0');
        afterValue_ = true;
        return *this;
    }
    JsonWriter& Null() { return Raw("null"); }
    // A value already written as JSON: a number's text, or an element told before.
    JsonWriter& Raw(std::string_view json) {
        if (afterValue_) {
            out_ += ',';
        }
        out_ += json;
        afterValue_ = true;
        return *this;
    }

  private:
    // The writer's steps are this small and run for every element of every frame shown: they
    // stay in the header, and a separator goes out with the character after it, in one append.
    void Lead(char first) {
        if (afterValue_) {
            const char pair[2] = {',', first};
            out_.append(pair, 2);
        } else {
            out_ += first;
        }
    }
    JsonWriter& Open(char bracket) {
        Lead(bracket);
        afterValue_ = false;
        return *this;
    }
    JsonWriter& Close(char bracket) {
        out_ += bracket;
        afterValue_ = true;
        return *this;
    }

    std::string& out_;
    bool afterValue_ = false; // the next value or key needs a comma before it
};

// A text as a JSON string, quotes included.
std::string JsonString(std::string_view text);

} // namespace bitwatch
