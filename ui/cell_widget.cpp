#include "ui/cell_widget.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "ui/accessibility.h"
#include "ui/colour.h"

namespace bitwatch {

namespace {

// A cell's whole box as drawn: the background and the digit in its colour. A few dozen of them
// serve every cell of the window (two bits, five colours, three fonts), so the text is laid out
// once per look instead of on every repaint of every cell.
QPixmap CellImage(const QString& text, const QColor& colour, const QFont& font,
                  const QColor& background, QSize size, qreal pixelRatio) {
    static QHash<QString, QPixmap> cache;
    const QString key =
        QStringLiteral("%1|%2|%3|%4|%5x%6|%7")
            .arg(text, colour.name(QColor::HexArgb), font.key(), background.name(QColor::HexArgb))
            .arg(size.width())
            .arg(size.height())
            .arg(pixelRatio);
    if (const auto cached = cache.constFind(key); cached != cache.constEnd()) {
        return *cached;
    }
    QPixmap image(size * pixelRatio);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip,
                     text);
    painter.end();
    cache.insert(key, image);
    return image;
}

} // namespace

CellWidget::CellWidget(int index, const QFont& font, bool takesClicks, QWidget* parent)
    : QWidget(parent), index_(index), takesClicks_(takesClicks) {
    setFont(font);
    // The cell paints every pixel of its box, so nothing beneath it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
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
    painter.drawPixmap(0, 0,
                       CellImage(text_, foreColour_, font(), palette().color(QPalette::Window),
                                 size(), devicePixelRatio()));
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
