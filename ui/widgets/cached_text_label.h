#pragma once

#include <vector>

#include <QImage>
#include <QLabel>
#include <QString>

namespace bitwatch {

// A plain-text label, without frame, margin or indent, whose texts come back: the verdict has
// four, and a settled rate wanders among a few values. Each text is drawn once, as QLabel draws
// it, over the label's background into an image that is copied on every later paint of the same
// text; the last texts shown are kept. Everything else (the text, accessibility, buddies) is
// QLabel's.
class CachedTextLabel : public QLabel {
    Q_OBJECT

  public:
    explicit CachedTextLabel(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    struct Drawn {
        QString text;
        QImage image;
    };

    const QImage& ImageOfText();
    QImage DrawText() const;

    std::vector<Drawn> drawn_; // the most recently shown first
    Qt::Alignment drawnAlignment_;
};

} // namespace bitwatch
