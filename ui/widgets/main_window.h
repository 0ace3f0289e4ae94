#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include <QWidget>

#include "core/frame.h"
#include "ui/accessible_names.h"
#include "ui/events.h"
#include "ui/layout.h"
#include "ui/widgets/record_sync.h"
#include "ui/window_table.h"

class QLabel;

namespace bitwatch {

class Announcer;
class CellBoard;
class CompanionWindow;

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
    // The widgets of one row of the window's table, element by element.
    struct Mirror {
        const window::Row* row = nullptr;
        std::vector<QWidget*> widgets;
        ComboMirror combo;
    };

    void Deliver(const Event& event);
    void SetIcon();

    void Create(Mirror& mirror);
    QWidget* CreateElement(const window::Row& row, int index);
    void CreateCells();
    void Bind(const Mirror& mirror);
    void SetTabOrder();
    void Sync(Mirror& mirror);

    Form form_;
    bool iconAsked_ = false;

    std::vector<Mirror> mirrors_;
    CellBoard* cells_ = nullptr;
    QLabel* announced_ = nullptr;
    Announcer* announcer_ = nullptr;
    CompanionWindow* companion_ = nullptr;

    TimerMirror timer1_;
};

} // namespace bitwatch
