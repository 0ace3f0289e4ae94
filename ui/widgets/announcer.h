#pragma once

#include <QWidget>

namespace bitwatch {

// Says a short message to a screen reader that is not about the focused control (the verdict
// after "One", say). It is an accessible notification that appears with each message, which
// screen readers speak at once; on screen it is a single transparent pixel that draws nothing
// and takes no click. Does nothing while no assistive technology listens.
class Announcer : public QWidget {
    Q_OBJECT

  public:
    explicit Announcer(QWidget* parent);

    void Announce(const QString& message);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace bitwatch
