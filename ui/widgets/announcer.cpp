#include "ui/widgets/announcer.h"

#include <QAccessible>

namespace bitwatch {

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("announcer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    resize(1, 1);
    hide();
}

void Announcer::Announce(const QString& message) {
    if (!QAccessible::isActive()) {
        return;
    }
    setAccessibleName(message);
    // A notification is spoken when it becomes showing.
    hide();
    show();
}

void Announcer::paintEvent(QPaintEvent* /*event*/) {}

} // namespace bitwatch
