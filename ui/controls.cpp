#include "ui/controls.h"

#include "core/utf8.h"

namespace bitwatch {

void Timer::SetEnabled(bool enabled) {
    if (enabled) {
        ++restarts_;
    }
    enabled_ = enabled;
}

void Timer::SetInterval(int milliseconds) {
    interval_ = milliseconds;
    if (enabled_) {
        ++restarts_;
    }
}

void ComboBox::SetText(std::string text) {
    text = ValidUtf8(text);
    text.resize(CutToUtf16Units(text, kBoxTextLimit).size());
    text_ = std::move(text);
    if (onTextChanged_) {
        onTextChanged_();
    }
}

} // namespace bitwatch
