#pragma once

#include <QColor>
#include <QLineF>
#include <QWidget>

#include "ui/layout.h"

namespace bitwatch {

// A straight line of a given pixel width. It takes no clicks and no focus: a click on it
// reaches whatever lies beneath.
class LineWidget : public QWidget {
    Q_OBJECT

  public:
    // colour invalid: the palette's text colour.
    LineWidget(const layout::Segment& segment, const QColor& colour, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QLineF line_;
    int width_;
    QColor colour_;
};

} // namespace bitwatch
