#include "ui/widgets/accessibility.h"

#include <vector>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

#include "ui/accessible_names.h"
#include "ui/widgets/cell_board.h"

namespace bitwatch {

namespace {

// One cell of the board: a label whose description is its state, with the press action where a
// click flips it, so that a screen reader user can flip it from the keyboard.
class CellAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    CellAccessible(CellBoard* board, int cell) : board_(board), cell_(cell) {}

    bool isValid() const override { return !board_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return board_->window()->windowHandle(); }
    QList<std::pair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation /*match*/) const override {
        return {};
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(board_.data());
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }

    QString text(QAccessible::Text kind) const override {
        const CellBoard::CellId id = board_->id(cell_);
        switch (kind) {
        case QAccessible::Name:
            return QString::fromStdString(CellName(id.array, id.index));
        case QAccessible::Description:
        case QAccessible::Value:
            return QString::fromStdString(CellState(board_->cellText(cell_).toStdString(),
                                                    board_->cellDiffersFromTwin(cell_)));
        default:
            return {};
        }
    }
    void setText(QAccessible::Text /*kind*/, const QString& /*text*/) override {}
    QRect rect() const override {
        const QRect box = board_->cellRect(cell_);
        return {board_->mapToGlobal(box.topLeft()), box.size()};
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = !board_->cellShown(cell_) || !board_->isVisible();
        state.readOnly = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override {
        return board_->cellTakesClicks(cell_) ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& actionName) override {
        if (actionName == pressAction()) {
            board_->Click(cell_);
        }
    }
    QStringList keyBindingsForAction(const QString& /*actionName*/) const override { return {}; }

  private:
    QPointer<CellBoard> board_;
    int cell_;
};

// The board groups the cells; each cell is a child of its own, made when first asked for.
class BoardAccessible : public QAccessibleWidget {
  public:
    explicit BoardAccessible(CellBoard* board) : QAccessibleWidget(board, QAccessible::Grouping) {}

    ~BoardAccessible() override {
        for (const QAccessible::Id id : children_) {
            if (id != 0) {
                QAccessible::deleteAccessibleInterface(id);
            }
        }
    }

    int childCount() const override { return board()->cellCount(); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) {
            return nullptr;
        }
        // Sized when first asked: the interface may be made while the board is still being built.
        children_.resize(static_cast<std::size_t>(childCount()), 0);
        QAccessible::Id& id = children_[static_cast<std::size_t>(index)];
        if (id == 0) {
            id = QAccessible::registerAccessibleInterface(new CellAccessible(board(), index));
        }
        return QAccessible::accessibleInterface(id);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const QAccessible::Id wanted =
            QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
        for (std::size_t i = 0; i < children_.size(); ++i) {
            if (children_[i] == wanted) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const std::optional<int> cell = board()->cellAt(board()->mapFromGlobal(QPoint(x, y)));
        return cell ? child(*cell) : nullptr;
    }

  private:
    CellBoard* board() const { return static_cast<CellBoard*>(widget()); }

    mutable std::vector<QAccessible::Id> children_;
};

QAccessibleInterface* WindowFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("bitwatch::CellBoard")) {
        return new BoardAccessible(static_cast<CellBoard*>(object));
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

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(WindowFactory);
        return true;
    }();
    (void)installed;
}

void AnnounceCellChange(CellBoard* board, int cell) {
    if (!QAccessible::isActive()) {
        return;
    }
    if (QAccessibleInterface* boardInterface = QAccessible::queryAccessibleInterface(board)) {
        if (QAccessibleInterface* cellInterface = boardInterface->child(cell)) {
            QAccessibleEvent event(cellInterface, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&event);
        }
    }
}

} // namespace bitwatch
