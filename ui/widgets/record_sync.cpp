#include "ui/widgets/record_sync.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "ui/widgets/colour.h"
#include "ui/widgets/line_widget.h"

namespace bitwatch {

namespace {

void SyncShown(QWidget* widget, bool shown) {
    if (widget->isHidden() == shown) {
        widget->setHidden(!shown);
    }
}

} // namespace

// A colour of 0 in a label's record stands for the platform's standard text colour.
void SyncLabel(QLabel* label, const TextLabel& record) {
    const QString text = QString::fromStdString(record.text);
    if (label->text() != text) {
        label->setText(text);
    }
    if (record.foreColour != 0 &&
        label->palette().color(QPalette::WindowText) != ToQColor(record.foreColour)) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, ToQColor(record.foreColour));
        label->setPalette(palette);
    }
    SyncShown(label, record.shown);
}

// A button without an accessible name of its own reads as its caption, and Qt announces a new
// caption as a change of its name.
void SyncButton(QPushButton* button, const PushButton& record) {
    const QString caption = QString::fromStdString(record.caption);
    if (button->text() != caption) {
        button->setText(caption);
    }
}

void SyncLine(LineWidget* line, const Line& record) {
    SyncShown(line, record.shown);
}

void SyncCombo(ComboMirror& mirror, const ComboBox& record) {
    // Qt's own changes to the edit text (clearing the list, adding the first entry) must not
    // reach the records as edits: the records already hold the truth.
    const QSignalBlocker blocker(mirror.widget);
    if (mirror.entries != record.entries()) {
        mirror.entries = record.entries();
        mirror.widget->clear();
        for (const std::string& entry : mirror.entries) {
            mirror.widget->addItem(QString::fromStdString(entry));
        }
        // Clearing and filling the list rewrites the edit text behind the record's back.
        mirror.text.clear();
    }
    if (mirror.text != record.text()) {
        mirror.text = record.text();
        const QString text = QString::fromStdString(mirror.text);
        if (mirror.widget->currentText() != text) {
            mirror.widget->setEditText(text);
        }
    }
}

void SyncTimer(TimerMirror& mirror, const Timer& record) {
    const bool restarted = record.restarts() != mirror.restartsShown;
    mirror.restartsShown = record.restarts();
    if (!record.enabled()) {
        mirror.timer.stop();
    } else if (restarted || !mirror.timer.isActive()) {
        // QTimer never queues more than one timeout, so ticks cannot pile up behind a slow one.
        mirror.timer.start(record.interval());
    }
}

} // namespace bitwatch
