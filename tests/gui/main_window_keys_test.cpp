// The keyboard: the Tab order, buttons pressed by key, and which controls take the focus.

#include "tests/gui/window_fixture.h"

namespace bitwatch {
namespace {

using MainWindowTest = test::WindowTest;

TEST_F(MainWindowTest, TabCyclesTheSixControlsInOrder) {
    const QStringList order = {"Command1", "Command3", "Command4", "cmbErrorRate",
                               "Command2", "cmbMode",  "Command1"};
    Find("Command1")->setFocus();
    for (int step = 1; step < order.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // The combo boxes hand the focus to their line edits.
        while (focus != nullptr && focus->objectName().isEmpty()) {
            focus = focus->parentWidget();
        }
        ASSERT_NE(focus, nullptr);
        EXPECT_EQ(focus->objectName(), order[step]) << "step " << step;
    }
}

TEST_F(MainWindowTest, ButtonsWorkFromTheKeyboard) {
    QPushButton* run = Find<QPushButton>("Command4");
    run->setFocus();
    QTest::keyClick(run, Qt::Key_Space);
    EXPECT_EQ(run->text(), "Fast");
    QTest::keyClick(run, Qt::Key_Return);
    EXPECT_EQ(run->text(), "Stop");
    QPushButton* reset = Find<QPushButton>("Command3");
    reset->setFocus();
    QTest::keyClick(reset, Qt::Key_Enter);
    EXPECT_EQ(run->text(), "Start");
}

TEST_F(MainWindowTest, OnlyButtonsAndComboBoxesTakeTheFocus) {
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const bool focusable = widget->focusPolicy() != Qt::NoFocus;
        const bool control = qobject_cast<QPushButton*>(widget) != nullptr ||
                             qobject_cast<QComboBox*>(widget) != nullptr ||
                             qobject_cast<QComboBox*>(widget->parentWidget()) != nullptr ||
                             widget->window() != window.get();
        if (focusable && !control && widget->parentWidget() == window.get()) {
            ADD_FAILURE() << widget->objectName().toStdString() << " takes the focus";
        }
    }
}

} // namespace
} // namespace bitwatch
