// What assistive technology reads: every control named, and texts that follow the records.

#include "tests/gui/window_fixture.h"

namespace bitwatch {
namespace {

using MainWindowTest = test::WindowTest;

// What a screen reader reads as each control's name: its own accessible name, or its text.
TEST_F(MainWindowTest, EveryControlHasAnAccessibleName) {
    const auto readName = [](QWidget* widget) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
    };
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(test::Board(window.get()));
    ASSERT_NE(board, nullptr);
    const auto cellName = [&](const char* name) {
        return board->child(test::CellNumber(window.get(), QString::fromLatin1(name)))
            ->text(QAccessible::Name);
    };
    EXPECT_EQ(cellName("row1_48"), "Received data bit 0 of byte 0");
    EXPECT_EQ(cellName("row1_13"), "Transmitted data bit 5 of byte 1");
    EXPECT_EQ(cellName("parity_47"), "Transmitted parity bit after data bit 7 of byte 5");
    EXPECT_EQ(cellName("sum2_0"), "Received check bit 0");
    EXPECT_EQ(readName(Find("Label2_0")), "Bit Error Rate");
    EXPECT_EQ(readName(Find("lblResult")), "No Errors");
    EXPECT_EQ(readName(Find<QComboBox>("cmbMode")->lineEdit()), "Code mode");
    // Every control on screen: the lines are drawing, not controls, and hidden helpers (the
    // announcer, the mode box's caption) are not on screen.
    for (QWidget* widget : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!widget->objectName().startsWith("Line") && !widget->isHidden()) {
            EXPECT_FALSE(readName(widget).isEmpty()) << widget->objectName().toStdString();
        }
        // A button's name contains what it shows, first, for speech input ("click Find UE").
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_TRUE(readName(button).startsWith(button->text()))
                << readName(button).toStdString() << " for " << button->text().toStdString();
        }
    }
}

// The run button reads as its caption; the cells say their bit and whether it was damaged.
TEST_F(MainWindowTest, AccessibleTextsFollowTheRecords) {
    QAccessibleInterface* run = QAccessible::queryAccessibleInterface(Find("Command4"));
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(run->text(QAccessible::Name), "Start");
    QTest::mouseClick(Find<QPushButton>("Command4"), Qt::LeftButton);
    EXPECT_EQ(run->text(QAccessible::Name), "Fast");

    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(test::Board(window.get()));
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(board->childCount(), 208);
    QAccessibleInterface* cell = board->child(test::CellNumber(window.get(), "row1_50"));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "Received data bit 2 of byte 0");
    EXPECT_EQ(board->indexOfChild(cell), test::CellNumber(window.get(), "row1_50"));
    const QPoint middle = cell->rect().center();
    EXPECT_EQ(board->childAt(middle.x(), middle.y()), cell);
    EXPECT_EQ(cell->role(), QAccessible::StaticText);
    QTest::mouseClick(Find<QPushButton>("Command3"), Qt::LeftButton);
    EXPECT_EQ(cell->text(QAccessible::Description), "0");
    ClickCell("row1_50");
    EXPECT_EQ(cell->text(QAccessible::Description), "1, differs from transmitted");
    ASSERT_NE(cell->actionInterface(), nullptr);
    cell->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window->form().row1[50].text, "0");
    EXPECT_TRUE(board->child(test::CellNumber(window.get(), "sum1_0"))
                    ->actionInterface()
                    ->actionNames()
                    .isEmpty());
    EXPECT_TRUE(board->child(test::CellNumber(window.get(), "parity_50"))->state().invisible);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window.get())->role(), QAccessible::Window);
}

} // namespace
} // namespace bitwatch
