#pragma once

#include <array>
#include <cstdint>

#include <QTimer>
#include <QWidget>

#include "core/frame.h"
#include "ui/layout.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace bitwatch {

class CellWidget;
class LineWidget;

// The demo's one window. It owns the records of every control, runs each event's operation on
// them, and then brings the widgets up to date with the records.
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

  private:
    using CellToggle = void (*)(Form&, std::int16_t);
    // A cell at its box; a click runs toggle with the cell's index (none for nullptr).
    CellWidget* AddCell(int index, const QFont& font, const layout::Box& box,
                        const QString& objectName, const QString& accessibleName,
                        CellToggle toggle);
    void CreateCells();
    void CreateLabels();
    void CreateControls();
    void CreateLinesAndLogo();
    void SetTabOrder();

    // Runs one operation for an event, then shows its outcome.
    template <typename Operation> void Handle(Operation&& operation);

    void SyncCells();
    void SyncLabels();
    void SyncCombos();
    void SyncTimer();

    Form form_;

    std::array<CellWidget*, kCellsPerArray> row1_{};
    std::array<CellWidget*, kCellsPerArray> parity_{};
    std::array<CellWidget*, kCheckBits> sum1_{};
    std::array<CellWidget*, kCheckBits> sum2_{};
    std::array<QLabel*, 2> label1_{};
    std::array<QLabel*, 4> label2_{};
    QLabel* lblResult_ = nullptr;
    QLabel* lblUER_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* command3_ = nullptr;
    QPushButton* command4_ = nullptr;
    QComboBox* cmbErrorRate_ = nullptr;
    QComboBox* cmbMode_ = nullptr;
    std::array<LineWidget*, 2> line1_{};
    LineWidget* line3_ = nullptr;
    LineWidget* line4_ = nullptr;
    LineWidget* line5_ = nullptr;
    QLabel* imgTorv_ = nullptr;

    QTimer timer1_;
    std::uint64_t timerRestartsShown_ = 0;
};

} // namespace bitwatch
