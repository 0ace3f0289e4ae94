#include "ui/cell_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/accessibility.h"
#include "ui/colour.h"

namespace bitwatch {

CellWidget::CellWidget(int index, const QFont& font, bool takesClicks, QWidget* parent)
    : QWidget(parent), index_(index), takesClicks_(takesClicks) {
    setFont(font);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

void CellWidget::ShowRecord(const TextLabel& record) {
    bool changed = false;
    if (record.text != shownText_ || text_.isNull()) {
        shownText_ = record.text;
        text_ = QString::fromStdString(record.text);
        changed = true;
    }
    if (record.foreColour != shownColour_ || !foreColour_.isValid()) {
        shownColour_ = record.foreColour;
        foreColour_ = ToQColor(record.foreColour);
        changed = true;
    }
    if (changed) {
        update();
        AnnounceCellChange(this);
    }
    if (isHidden() == record.shown) {
        setHidden(!record.shown);
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
