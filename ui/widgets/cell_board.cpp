#include "ui/widgets/cell_board.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <utility>

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "core/frame.h"
#include "ui/layout.h"
#include "ui/widgets/accessibility.h"
#include "ui/widgets/colour.h"
#include "ui/widgets/fonts.h"
#include "ui/widgets/pixels.h"

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

// A look drawn, and where in its box it differs from the background.
struct Picture {
    QImage image;
    QRect ink;
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

// The smallest rectangle, in the box's logical pixels, outside which the image is all
// background; empty for a box with nothing drawn in it.
QRect InkOf(const QImage& image, QRgb background) {
    int left = image.width();
    int right = -1;
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] != background) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return {};
    }
    // Device pixels to logical ones, rounded outwards.
    const qreal ratio = image.devicePixelRatio();
    const auto down = [ratio](int pixel) {
        return static_cast<int>(std::floor(pixel / ratio));
    };
    const auto up = [ratio](int pixel) {
        return static_cast<int>(std::ceil(pixel / ratio));
    };
    return QRect(QPoint(down(left), down(top)), QPoint(up(right + 1) - 1, up(bottom + 1) - 1));
}

// A few dozen looks serve every cell (two bits, five colours, three fonts): a list searched in
// order beats hashing a key.
Picture PictureOf(const Look& look) {
    static std::vector<std::pair<Look, Picture>> pictures;
    for (const auto& [known, picture] : pictures) {
        if (known == look) {
            return picture;
        }
    }
    QImage image = DrawLook(look);
    const QRect ink = InkOf(image, look.background);
    pictures.emplace_back(look, Picture{std::move(image), ink});
    return pictures.back().second;
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

// The rectangles of a region in the rows of a box. A region's rectangles run in bands from the
// top, so those above the box are skipped by a binary search rather than one by one for each
// of the 208 cells.
std::span<const QRect> BandsAcross(const QRegion& region, const QRect& box) {
    const QRect* first =
        std::lower_bound(region.begin(), region.end(), box.top(),
                         [](const QRect& rect, int top) { return rect.bottom() < top; });
    const QRect* last = first;
    while (last != region.end() && last->top() <= box.bottom()) {
        ++last;
    }
    return {first, last};
}

// One region from many rectangles. Sorted by rows first, most rectangles join the region's last
// band or start a new one below it, which is cheap; in any other order each one remakes the
// whole region.
QRegion BandedRegion(std::vector<QRect>& rects) {
    std::sort(rects.begin(), rects.end(), [](const QRect& a, const QRect& b) {
        return std::pair(a.top(), a.left()) < std::pair(b.top(), b.left());
    });
    QRegion region;
    for (const QRect& rect : rects) {
        region += rect;
    }
    return region;
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
        cells_.push_back({.id = {array, i}, .box = ToPixels(BoxOf(array, i)), .font = &font});
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
    return DiffersFromTwin(cells_[static_cast<std::size_t>(cell)].shownColour);
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
    std::vector<QRect>& changed = changedRects_;
    changed.clear();
    for (int index = 0; index < cellCount(); ++index) {
        Cell& cell = cells_[static_cast<std::size_t>(index)];
        const TextLabel& record = RecordOf(form, cell.id.array, cell.id.index);
        const bool looksChanged =
            cell.fresh || record.text != cell.shownText || record.foreColour != cell.shownColour;
        const bool shownChanged = record.shown != cell.shown;
        if (!looksChanged && !shownChanged) {
            continue;
        }
        if (looksChanged) {
            cell.shownText = record.text;
            cell.shownColour = record.foreColour;
            cell.text = QString::fromStdString(record.text);
            cell.imageStale = true;
        }
        // A hidden cell's image waits until the cell is shown: at the start, in mode None, the
        // parity and check cells and the parity cells' font are not needed.
        if (cell.imageStale && record.shown) {
            ChooseImage(cell);
        }
        if (cell.fresh || shownChanged) {
            // What lies beneath the box appears or disappears with it.
            changed.push_back(cell.box);
            gapsStale_ = gapsStale_ || shownChanged;
        } else if (cell.shown) {
            // Every look of a box has the same background, so only where a digit was ever
            // drawn in it can a pixel change: about half the box.
            changed.push_back(cell.ink.translated(cell.box.topLeft()));
        }
        cell.shown = record.shown;
        cell.fresh = false;
        if (looksChanged) {
            AnnounceCellChange(this, index);
        }
    }
    if (!changed.empty()) {
        update(BandedRegion(changed));
    }
}

void CellBoard::ChooseImage(Cell& cell) {
    Picture picture = PictureOf({cell.text, ToQColor(cell.shownColour).rgba(),
                                 palette().color(QPalette::Window).rgba(), cell.font,
                                 cell.box.size(), devicePixelRatioF()});
    cell.image = std::move(picture.image);
    cell.imageStale = false;
    // Grows to take in every digit the box has shown: the same rectangle for all cells of a row
    // once each has shown both bits, so that a frame's changes make one band per row.
    cell.ink |= picture.ink;
}

const QRegion& CellBoard::Gaps() {
    if (gapsStale_ || gapsArea_ != rect()) {
        std::vector<QRect> covered;
        covered.reserve(cells_.size());
        for (const Cell& cell : cells_) {
            if (cell.shown) {
                covered.push_back(cell.box);
            }
        }
        // One subtraction of all the boxes at once, not one remade region per box.
        gaps_ = QRegion(rect()) - BandedRegion(covered);
        gapsArea_ = rect();
        gapsStale_ = false;
    }
    return gaps_;
}

void CellBoard::paintEvent(QPaintEvent* event) {
    // Only what changed is asked for: the digits of the cells that changed, scattered all over
    // the board. A shown cell's image covers its whole box; what no shown cell covers is filled
    // with the background.
    QPainter painter(this);
    // The images are opaque: copy them rather than blend them.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRegion& dirty = event->region();
    const QColor background = palette().color(QPalette::Window);
    for (const QRect& rect : dirty& Gaps()) {
        painter.fillRect(rect, background);
    }
    const qreal ratio = devicePixelRatioF();
    for (const Cell& cell : cells_) {
        if (!cell.shown) {
            continue;
        }
        // Each part of the image that lies wholly inside the region: a plain copy of rows,
        // where the whole image would be clipped against the region span by span.
        for (const QRect& rect : BandsAcross(dirty, cell.box)) {
            const QRect part = rect & cell.box;
            if (!part.isEmpty()) {
                const QRectF source(QPointF(part.topLeft() - cell.box.topLeft()) * ratio,
                                    QSizeF(part.size()) * ratio);
                painter.drawImage(QRectF(part), cell.image, source);
            }
        }
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
            cell.imageStale = true;
            if (cell.shown && !cell.fresh) {
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
