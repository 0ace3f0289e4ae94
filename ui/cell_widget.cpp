#include "ui/cell_widget.h"

#include <QMouseEvent>
#include <QPainter>

namespace bitwatch {

CellWidget::CellWidget(int index, const QFont& font, QWidget* parent)
    : QWidget(parent), index_(index) {
    setFont(font);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

void CellWidget::SetText(const QString& text) {
    if (text != text_) {
        text_ = text;
        update();
    }
}

void CellWidget::SetForeColour(const QColor& colour) {
    if (colour != foreColour_) {
        foreColour_ = colour;
        update();
    }
}

void CellWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(foreColour_);
    painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, text_);
}

void CellWidget::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void CellWidget::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a left press and release on the same cell.
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        emit clicked(index_);
    }
}

void CellWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    pressed_ = false;
    event->accept();
}

} // namespace bitwatch
