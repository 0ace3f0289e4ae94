#include "ui/controls.h"

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
    text_ = std::move(text);
    if (onTextChanged_) {
        onTextChanged_();
    }
}

} // namespace bitwatch
