#pragma once

#include <QWidget>

#include "core/frame.h"

class QTextBrowser;

namespace bitwatch {

// "Why? - Kelm's Bitwatch Demo": a second window beside the main one that explains the received
// frame and sets the exact odds beside the measured rate. It only reads the records.
class CompanionWindow : public QWidget {
    Q_OBJECT

  public:
    explicit CompanionWindow(QWidget* mainWindow);

    // Shows the records' frame, unless a fast run or a search is sending frames, whose last
    // frame it shows when they stop.
    void Follow(const Form& form);
    void ShowNow(const Form& form);

  private:
    QTextBrowser* text_ = nullptr;
    std::string shown_;
};

} // namespace bitwatch
