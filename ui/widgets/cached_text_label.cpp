#include "ui/widgets/cached_text_label.h"

#include <algorithm>
#include <iterator>

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace bitwatch {

namespace {

// Enough for the verdicts and for the values a rate passes through while it settles.
constexpr std::size_t kTextsKept = 64;

} // namespace

CachedTextLabel::CachedTextLabel(QWidget* parent) : QLabel(parent) {
    // Every paint copies an image that already holds the background.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage CachedTextLabel::DrawText() const {
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    // What Qt fills a label with before it paints, then the text as QLabel paints plain text.
    image.fill(palette().color(backgroundRole()));
    QPainter painter(&image);
    painter.setFont(font());
    QStyleOption option;
    option.initFrom(this);
    const QString shown = text();
    const Qt::LayoutDirection direction = shown.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    const Qt::TextFlag forced =
        direction == Qt::LeftToRight ? Qt::TextForceLeftToRight : Qt::TextForceRightToLeft;
    style()->drawItemText(&painter, contentsRect(),
                          static_cast<int>(QStyle::visualAlignment(direction, alignment())) |
                              forced,
                          option.palette, isEnabled(), shown, foregroundRole());
    return image;
}

const QImage& CachedTextLabel::ImageOfText() {
    // Nothing tells a label's subclass that its alignment changed.
    if (alignment() != drawnAlignment_) {
        drawn_.clear();
        drawnAlignment_ = alignment();
    }
    const QString shown = text();
    const auto found = std::find_if(drawn_.begin(), drawn_.end(),
                                    [&shown](const Drawn& drawn) { return drawn.text == shown; });
    if (found != drawn_.end()) {
        std::rotate(drawn_.begin(), found, std::next(found));
    } else {
        if (drawn_.size() == kTextsKept) {
            drawn_.pop_back();
        }
        drawn_.insert(drawn_.begin(), {shown, QImage()});
    }
    QImage& image = drawn_.front().image;
    // Drawn again after a resize or a move to a screen of another pixel ratio.
    if (image.isNull() || image.deviceIndependentSize() != QSizeF(size()) ||
        image.devicePixelRatio() != devicePixelRatioF()) {
        image = DrawText();
    }
    return image;
}

void CachedTextLabel::paintEvent(QPaintEvent* /*event*/) {
    const QImage& image = ImageOfText();
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), image);
}

void CachedTextLabel::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::EnabledChange:
    case QEvent::ContentsRectChange:
    case QEvent::LayoutDirectionChange:
        drawn_.clear();
        break;
    default:
        break;
    }
    QLabel::changeEvent(event);
}

} // namespace bitwatch
