#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace bitwatch {

// One bit cell: a coloured digit drawn from the top of its box, centred, on the window's
// background. Lighter than a QLabel (no size hints or layout work), which matters when a fast
// run rewrites a hundred cells every 10 ms.
class CellWidget : public QWidget {
    Q_OBJECT

  public:
    CellWidget(int index, const QFont& font, QWidget* parent);

    int index() const { return index_; }
    QString text() const { return text_; }
    QColor foreColour() const { return foreColour_; }

    // Repaints only when something changed.
    void SetText(const QString& text);
    void SetForeColour(const QColor& colour);

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
    QString text_;
    QColor foreColour_;
    bool pressed_ = false;
};

} // namespace bitwatch
