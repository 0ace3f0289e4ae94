#pragma once

// The toolkit interface as plain records: what each kind of control holds and the
// notifications it delivers. The core and the channel work on these records only; the Qt
// window mirrors them on screen after every event.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bitwatch {

// A 24-bit colour written 0xBBGGRR: blue in the high byte, red in the low byte.
using Colour = std::uint32_t;

struct TextLabel {
    std::string text;
    Colour foreColour = 0;
    bool shown = true;
};

struct PushButton {
    std::string caption;
};

struct Line {
    bool shown = true;
};

// The interval restarts its countdown whenever the timer is enabled or its interval is set,
// so the window counts those restarts and re-arms its real timer when the count moves.
class Timer {
  public:
    void SetEnabled(bool enabled);
    void SetInterval(int milliseconds);

    bool enabled() const { return enabled_; }
    int interval() const { return interval_; }
    std::uint64_t restarts() const { return restarts_; }
    // The count as a link to a frame carries it, so that the restored records read as sent.
    void RestoreRestarts(std::uint64_t restarts) { restarts_ = restarts; }

  private:
    bool enabled_ = false;
    int interval_ = 0;
    std::uint64_t restarts_ = 0;
};

// The most a box's text holds, in UTF-16 code units: the maximum length of Qt's line edits,
// which the browser page gives its inputs too.
inline constexpr std::size_t kBoxTextLimit = 32767;

// An editable drop-down combo box. Setting its text from code notifies at once, inside the
// call; clearing or appending to the list never notifies and never touches the text. Its text
// is always valid UTF-8 of at most kBoxTextLimit units: what it is given beyond that is cut, and
// an ill-formed sequence becomes U+FFFD, so no caller can put into the records what no box shows.
class ComboBox {
  public:
    using Notification = std::function<void()>;

    const std::string& text() const { return text_; }
    const std::vector<std::string>& entries() const { return entries_; }

    void SetText(std::string text);
    void ClearList() { entries_.clear(); }
    void AppendEntry(std::string entry) { entries_.push_back(std::move(entry)); }

    void OnTextChanged(Notification notification) { onTextChanged_ = std::move(notification); }

  private:
    std::string text_;
    std::vector<std::string> entries_;
    Notification onTextChanged_;
};

} // namespace bitwatch
