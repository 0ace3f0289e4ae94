#pragma once

#include <QPushButton>

namespace bitwatch {

// A push button that Return and Enter press too, as they do on the desktops the demo was made
// for; Qt's plain push buttons answer only to the space bar outside dialogs.
class KeyboardButton : public QPushButton {
    Q_OBJECT

  public:
    using QPushButton::QPushButton;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace bitwatch
