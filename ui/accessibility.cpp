#include "ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "ui/accessible_names.h"
#include "ui/cell_widget.h"

namespace bitwatch {

namespace {

// A cell reads as a label whose description is its state; the cells that take clicks offer
// the press action, so that a screen reader user can flip them from the keyboard.
class CellAccessible : public QAccessibleWidget {
  public:
    explicit CellAccessible(CellWidget* cell) : QAccessibleWidget(cell, QAccessible::StaticText) {
        if (cell->takesClicks()) {
            addControllingSignal(QStringLiteral("clicked(int)"));
        }
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Description || kind == QAccessible::Value) {
            return CellStateText(*cell());
        }
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override {
        return cell()->takesClicks() ? QStringList{pressAction()} : QStringList{};
    }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction() && cell()->takesClicks() && cell()->isVisible()) {
            cell()->Click();
        }
    }

  private:
    CellWidget* cell() const { return static_cast<CellWidget*>(widget()); }
};

QAccessibleInterface* WindowFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("bitwatch::CellWidget")) {
        return new CellAccessible(static_cast<CellWidget*>(object));
    }
    if (className == QLatin1String("bitwatch::Announcer")) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    }
    // A plain QWidget at the top would read as a nameless "filler"; it is the program's frame.
    if (className == QLatin1String("bitwatch::MainWindow")) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

} // namespace

QString CellStateText(const CellWidget& cell) {
    return QString::fromStdString(CellState(cell.text().toStdString(), cell.differsFromTwin()));
}

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(WindowFactory);
        return true;
    }();
    (void)installed;
}

void AnnounceCellChange(CellWidget* cell) {
    if (QAccessible::isActive()) {
        QAccessibleEvent event(cell, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace bitwatch
