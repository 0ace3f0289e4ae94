#include "ui/widgets/keyboard_button.h"

#include <QKeyEvent>

namespace bitwatch {

void KeyboardButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        if (!event->isAutoRepeat()) {
            click();
        }
        return;
    }
    QPushButton::keyPressEvent(event);
}

} // namespace bitwatch
