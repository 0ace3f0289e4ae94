#pragma once

#include <string>

#include <QColor>
#include <QString>
#include <QWidget>

#include "core/frame.h"
#include "ui/controls.h"

namespace bitwatch {

// One bit cell: a coloured digit drawn from the top of its box, centred, on the window's
// background. Lighter than a QLabel (no size hints or layout work), which matters when a fast
// run rewrites a hundred cells every 10 ms.
class CellWidget : public QWidget {
    Q_OBJECT

  public:
    // takesClicks: whether a click on the cell runs an operation (not so for sum1).
    CellWidget(int index, const QFont& font, bool takesClicks, QWidget* parent);

    int index() const { return index_; }
    QString text() const { return text_; }
    QColor foreColour() const { return foreColour_; }
    bool differsFromTwin() const { return shownColour_ == ColourMismatch; }
    bool takesClicks() const { return takesClicks_; }

    // What a click does, for the accessible press action.
    void Click() { emit clicked(index_); }

    // Shows the record's state, repainting only when something changed. The comparison is made
    // on the record's own values, so an unchanged cell costs no conversion on the 10 ms tick.
    void ShowRecord(const TextLabel& record);

  signals:
    void clicked(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // QWidget's default handler treats the second press of a double-click as another press,
    // which would flip the cell twice.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    int index_;
    bool takesClicks_;
    std::string shownText_;
    Colour shownColour_ = 0;
    QString text_;
    QColor foreColour_;
    bool pressed_ = false;
};

} // namespace bitwatch
