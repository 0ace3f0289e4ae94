#pragma once

#include <functional>
#include <string>

#include <QWidget>

#include "core/frame.h"
#include "ui/events.h"

class QComboBox;
class QLabel;
class QSpinBox;
class QTextBrowser;

namespace bitwatch {

// "Why? - Kelm's Bitwatch Demo": a second window beside the main one that explains the received
// frame and sets the exact odds beside the measured rate. Its one control of its own, the error
// model, goes to the main window as events like any other; the rest only reads the records.
class CompanionWindow : public QWidget {
    Q_OBJECT

  public:
    using Deliver = std::function<void(const Event&)>;

    CompanionWindow(QWidget* mainWindow, Deliver deliver);

    // Shows the records' frame, unless a fast run or a search is sending frames, whose last
    // frame it shows when they stop. The error model's controls follow every event.
    void Follow(const Form& form);
    void ShowNow(const Form& form);

  private:
    void CreateModelControls();
    void SyncModel(const Form& form);

    Deliver deliver_;
    QComboBox* model_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QSpinBox* size_ = nullptr;
    QTextBrowser* text_ = nullptr;
    std::string shown_;
};

} // namespace bitwatch
