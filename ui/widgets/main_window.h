#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <QWidget>

#include "core/frame.h"
#include "ui/accessible_names.h"
#include "ui/events.h"
#include "ui/layout.h"
#include "ui/widgets/record_sync.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace bitwatch {

class Announcer;
class CellBoard;
class CompanionWindow;
class LineWidget;

// The demo's one window. It owns the records of every control, hands each event to RunEvent,
// and then brings every widget up to date with the records.
class MainWindow : public QWidget {
    Q_OBJECT

  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    const Form& form() const { return form_; }
    // Tests reach in to arrange a state (a counter past 2^31, a scripted draw) and then call
    // Refresh to show it, as an event would.
    Form& form() { return form_; }
    void Refresh();

    // The companion "Why?" beside this window (F1): made when first asked for, so that the
    // window starts as it always has.
    void ShowCompanion();
    CompanionWindow* companion() const { return companion_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void Deliver(const Event& event);
    void SetIcon();

    void CreateRowCaptions();
    void CreateVerdict();
    void CreateCells();
    void CreateRateLabels();
    void CreateRules();
    void CreateArrow();
    void CreateLogo();
    void CreateButtons();
    void CreateComboBoxes();
    void CreateTimer();
    void SetTabOrder();

    Form form_;
    bool iconAsked_ = false;

    CellBoard* cells_ = nullptr;
    std::array<QLabel*, 2> label1_{};
    std::array<QLabel*, 4> label2_{};
    QLabel* lblResult_ = nullptr;
    QLabel* lblUER_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command4_ = nullptr;
    ComboMirror cmbErrorRate_;
    ComboMirror cmbMode_;
    std::array<LineWidget*, 2> line1_{};
    LineWidget* line3_ = nullptr;
    LineWidget* line4_ = nullptr;
    LineWidget* line5_ = nullptr;
    QLabel* imgTorv_ = nullptr;
    Announcer* announcer_ = nullptr;
    CompanionWindow* companion_ = nullptr;

    TimerMirror timer1_;
};

} // namespace bitwatch
