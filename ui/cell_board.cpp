#include "ui/cell_board.h"

#include <array>
#include <utility>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QImage>
#include <QPainter>

#include "core/frame.h"
#include "ui/accessibility.h"
#include "ui/colour.h"
#include "ui/fonts.h"
#include "ui/layout.h"

namespace bitwatch {

namespace {

// What a cell's box looks like: enough to tell two looks apart, cheap to compare.
struct Look {
    QString text;
    QRgb colour;
    QRgb background;
    const QFont* font;
    QSize size;
    qreal pixelRatio;

    bool operator==(const Look& other) const = default;
};

// The box drawn once: the background and the digit, from the top, centred. In the format of
// Qt's own window surface, so that the copy to the screen is a plain copy of each row.
QImage DrawLook(const Look& look) {
    QImage image(look.size * look.pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(look.pixelRatio);
    image.fill(QColor::fromRgba(look.background));
    QPainter painter(&image);
    painter.setFont(*look.font);
    painter.setPen(QColor::fromRgba(look.colour));
    painter.drawText(QRect(QPoint(0, 0), look.size),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, look.text);
    return image;
}

// A few dozen looks serve every cell (two bits, five colours, three fonts): a list searched in
// order beats hashing a key.
QImage ImageOf(const Look& look) {
    static std::vector<std::pair<Look, QImage>> images;
    for (const auto& [known, image] : images) {
        if (known == look) {
            return image;
        }
    }
    images.emplace_back(look, DrawLook(look));
    return images.back().second;
}

QRect ToPixels(const layout::Box& box) {
    constexpr int px = layout::kTwipsPerPixel;
    return {box.left / px, box.top / px, box.width / px, box.height / px};
}

layout::Box BoxOf(CellArray array, int index) {
    switch (array) {
    case CellArray::Row1:
        return layout::Row1Box(index);
    case CellArray::Parity:
        return layout::ParityBox(index);
    case CellArray::Sum1:
        return layout::Sum1Box(index);
    case CellArray::Sum2:
        break;
    }
    return layout::Sum2Box(index);
}

constexpr std::array<const char*, 4> kArrayNames = {"row1", "parity", "sum1", "sum2"};

template <std::size_t N>
const TextLabel& RecordOf(const std::array<TextLabel, N>& cells, int index) {
    return cells[static_cast<std::size_t>(index)];
}

const TextLabel& RecordOf(const Form& form, CellArray array, int index) {
    switch (array) {
    case CellArray::Row1:
        return RecordOf(form.row1, index);
    case CellArray::Parity:
        return RecordOf(form.parity, index);
    case CellArray::Sum1:
        return RecordOf(form.sum1, index);
    case CellArray::Sum2:
        break;
    }
    return RecordOf(form.sum2, index);
}

} // namespace

CellBoard::CellBoard(QWidget* parent)
    : QWidget(parent), dataFont_(DemoFont(layout::kDataText)),
      parityFont_(DemoFont(layout::kParityText)), checkFont_(DemoFont(layout::kCheckText)) {
    setObjectName(QStringLiteral("cells"));
    setAccessibleName(QStringLiteral("Frame cells"));
    setFocusPolicy(Qt::NoFocus);
    // The board paints every pixel it is asked for: the background, then the cells on it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    cells_.reserve(2 * kCellsPerArray + 2 * kCheckBits);
    // Stacking from the bottom, as the window's controls stack.
    AddCells(CellArray::Row1, kCellsPerArray, dataFont_);
    AddCells(CellArray::Parity, kCellsPerArray, parityFont_);
    AddCells(CellArray::Sum1, kCheckBits, checkFont_);
    AddCells(CellArray::Sum2, kCheckBits, checkFont_);
    QRect area;
    for (const Cell& cell : cells_) {
        area |= cell.box;
    }
    setGeometry(area);
    for (Cell& cell : cells_) {
        cell.box.translate(-area.topLeft());
    }
}

void CellBoard::AddCells(CellArray array, int count, const QFont& font) {
    for (int i = 0; i < count; ++i) {
        cells_.push_back({{array, i}, ToPixels(BoxOf(array, i)), &font, {}, 0, true, true, {}, {}});
    }
}

QColor CellBoard::cellColour(int cell) const {
    return ToQColor(cells_[static_cast<std::size_t>(cell)].shownColour);
}

bool CellBoard::cellTakesClicks(int cell) const {
    // The transmitted check bits are computed, never clicked.
    return cells_[static_cast<std::size_t>(cell)].id.array != CellArray::Sum1;
}

bool CellBoard::cellDiffersFromTwin(int cell) const {
    return cells_[static_cast<std::size_t>(cell)].shownColour == ColourMismatch;
}

std::optional<int> CellBoard::cellNamed(const QString& objectName) const {
    for (int cell = 0; cell < cellCount(); ++cell) {
        const CellId cellId = id(cell);
        if (objectName ==
            QStringLiteral("%1_%2")
                .arg(QLatin1String(kArrayNames[static_cast<std::size_t>(cellId.array)]))
                .arg(cellId.index)) {
            return cell;
        }
    }
    return std::nullopt;
}

std::optional<int> CellBoard::cellAt(QPoint position) const {
    for (int cell = cellCount() - 1; cell >= 0; --cell) {
        const Cell& candidate = cells_[static_cast<std::size_t>(cell)];
        if (candidate.shown && candidate.box.contains(position)) {
            return cell;
        }
    }
    return std::nullopt;
}

void CellBoard::ShowRecords(const Form& form) {
    for (int index = 0; index < cellCount(); ++index) {
        Cell& cell = cells_[static_cast<std::size_t>(index)];
        const TextLabel& record = RecordOf(form, cell.id.array, cell.id.index);
        const bool looksChanged =
            cell.fresh || record.text != cell.shownText || record.foreColour != cell.shownColour;
        if (!looksChanged && record.shown == cell.shown) {
            continue;
        }
        if (looksChanged) {
            cell.shownText = record.text;
            cell.shownColour = record.foreColour;
            cell.text = QString::fromStdString(record.text);
            ChooseImage(cell);
        }
        cell.shown = record.shown;
        cell.fresh = false;
        update(cell.box);
        if (looksChanged) {
            AnnounceCellChange(this, index);
        }
    }
}

void CellBoard::ChooseImage(Cell& cell) {
    cell.image = ImageOf({cell.text, ToQColor(cell.shownColour).rgba(),
                          palette().color(QPalette::Window).rgba(), cell.font, cell.box.size(),
                          devicePixelRatioF()});
}

void CellBoard::paintEvent(QPaintEvent* event) {
    // Only the boxes that changed: a frame's changed cells lie all over the board, and their
    // bounding rectangle would take in nearly every cell.
    // A shown cell's image covers its whole box, so only what no shown cell covers is filled
    // with the background: filling the boxes as well would write every pixel twice.
    QPainter painter(this);
    // The images are opaque: copy them rather than blend them.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRegion& dirty = event->region();
    QRegion uncovered = dirty;
    for (const Cell& cell : cells_) {
        if (cell.shown && dirty.intersects(cell.box)) {
            painter.drawImage(cell.box.topLeft(), cell.image);
            uncovered -= cell.box;
        }
    }
    const QColor background = palette().color(QPalette::Window);
    for (const QRect& rect : uncovered) {
        painter.fillRect(rect, background);
    }
}

void CellBoard::mousePressEvent(QMouseEvent* event) {
    pressed_ =
        event->button() == Qt::LeftButton ? cellAt(event->position().toPoint()) : std::nullopt;
    event->accept();
}

void CellBoard::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a left press and release on the same cell.
    const std::optional<int> released = cellAt(event->position().toPoint());
    const bool click = pressed_ && event->button() == Qt::LeftButton && released == pressed_;
    pressed_.reset();
    event->accept();
    if (click) {
        Click(*released);
    }
}

void CellBoard::mouseDoubleClickEvent(QMouseEvent* event) {
    pressed_.reset();
    event->accept();
}

void CellBoard::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        for (Cell& cell : cells_) {
            if (!cell.fresh) {
                ChooseImage(cell);
            }
        }
        update();
    }
    QWidget::changeEvent(event);
}

void CellBoard::Click(int cell) {
    if (cellTakesClicks(cell) && cellShown(cell)) {
        emit clicked(id(cell).array, id(cell).index);
    }
}

} // namespace bitwatch
