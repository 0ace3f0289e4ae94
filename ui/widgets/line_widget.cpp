#include "ui/widgets/line_widget.h"

#include <algorithm>

#include <QPainter>

namespace bitwatch {

LineWidget::LineWidget(const layout::Segment& segment, const QColor& colour, QWidget* parent)
    : QWidget(parent), width_(segment.widthPixels), colour_(colour) {
    constexpr int px = layout::kTwipsPerPixel;
    const QPointF from(QPoint(segment.x1 / px, segment.y1 / px));
    const QPointF to(QPoint(segment.x2 / px, segment.y2 / px));
    // The widget's box is the line's bounding box grown by half the pen on every side.
    const int margin = (width_ + 1) / 2;
    const int left = static_cast<int>(std::min(from.x(), to.x())) - margin;
    const int top = static_cast<int>(std::min(from.y(), to.y())) - margin;
    const int right = static_cast<int>(std::max(from.x(), to.x())) + margin;
    const int bottom = static_cast<int>(std::max(from.y(), to.y())) + margin;
    setGeometry(left, top, right - left, bottom - top);
    line_ = QLineF(from - QPointF(left, top), to - QPointF(left, top));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void LineWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = colour_.isValid() ? colour_ : palette().color(QPalette::WindowText);
    painter.setPen(QPen(colour, width_, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(line_);
}

} // namespace bitwatch
