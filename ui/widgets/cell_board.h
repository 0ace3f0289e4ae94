#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QWidget>

#include "ui/accessible_names.h"
#include "ui/controls.h"

namespace bitwatch {

struct Form;

// Every one of the 208 cells, drawn by one widget. A cell is a coloured digit drawn from the
// top of its box, centred, on the window's background; each look (bit, colour, font) is drawn
// once into an image of the whole box and copied from then on. Only the pixels that can change
// are repainted, in one paint for the whole frame: where the old or the new digit of a changed
// cell is drawn, or the whole box of a cell shown or hidden. The cells keep the stacking of the
// window's controls: parity over data, check cells over both; a hidden cell is not drawn and
// takes no click, so a click reaches the cell beneath it.
class CellBoard : public QWidget {
    Q_OBJECT

  public:
    struct CellId {
        CellArray array;
        int index;
    };

    explicit CellBoard(QWidget* parent);

    // Brings every cell up to date with its record, repainting only the cells that changed.
    void ShowRecords(const Form& form);

    // What a cell shows, in the board's coordinates; also what tests and screen readers read.
    int cellCount() const { return static_cast<int>(cells_.size()); }
    CellId id(int cell) const { return cells_[static_cast<std::size_t>(cell)].id; }
    QRect cellRect(int cell) const { return cells_[static_cast<std::size_t>(cell)].box; }
    QString cellText(int cell) const { return cells_[static_cast<std::size_t>(cell)].text; }
    QColor cellColour(int cell) const;
    bool cellShown(int cell) const { return cells_[static_cast<std::size_t>(cell)].shown; }
    const QFont& cellFont(int cell) const { return *cells_[static_cast<std::size_t>(cell)].font; }
    bool cellTakesClicks(int cell) const;
    bool cellDiffersFromTwin(int cell) const;
    // The cell called, say, "row1_50", or nothing.
    std::optional<int> cellNamed(const QString& objectName) const;
    // The topmost shown cell at a point of the board, or nothing.
    std::optional<int> cellAt(QPoint position) const;

    // What a click on the cell does, for the accessible press action.
    void Click(int cell);

  signals:
    void clicked(bitwatch::CellArray array, int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // QWidget's default handler treats the second press of a double-click as another press,
    // which would flip the cell twice.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    struct Cell {
        CellId id;
        QRect box;
        const QFont* font;
        std::string shownText{};
        Colour shownColour = 0;
        bool shown = true;
        bool fresh = true; // never shown yet
        QString text{};
        QImage image{};
        bool imageStale = true; // the image does not show the look yet
        QRect ink{};            // where the image differs from the background, in the box
    };

    void ChooseImage(Cell& cell);
    void AddCells(CellArray array, int count, const QFont& font);
    // What no shown cell covers, kept until a cell is shown or hidden.
    const QRegion& Gaps();

    QFont dataFont_;
    QFont parityFont_;
    QFont checkFont_;
    std::vector<Cell> cells_; // in stacking order, from the bottom
    std::optional<int> pressed_;
    std::vector<QRect> changedRects_; // kept between frames: no allocation on a tick
    QRegion gaps_;
    QRect gapsArea_;
    bool gapsStale_ = true;
};

} // namespace bitwatch
