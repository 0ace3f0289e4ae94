#pragma once

// The window as the GUI tests drive it: made, shown and exposed before each test, its widgets
// found by object name, its cells and boxes clicked and typed into as a user would.

#include <link.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "cells.h"
#include "ui/widgets/colour.h"
#include "ui/widgets/main_window.h"

// Failures show QStrings as text rather than bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace bitwatch::test {

class WindowTest : public testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <typename T = QWidget> T* Find(const QString& name) {
        T* widget = window->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    test::CellLook Cell(const QString& name) { return test::LookOf(window.get(), name); }
    void ClickCell(const QString& name, Qt::MouseButton button = Qt::LeftButton) {
        test::ClickCell(window.get(), name, button);
    }

    // A click where a user would click: at a point of the window, delivered to whatever
    // visible widget stands on top there.
    void ClickAt(QPoint windowPos) {
        QWidget* target = window->childAt(windowPos);
        if (target == nullptr) {
            target = window.get();
        }
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(window.get(), windowPos));
    }

    void TypeMode(const QString& text) {
        QLineEdit* edit = Find<QComboBox>("cmbMode")->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }

    void TypeRate(const QString& text) {
        QLineEdit* edit = Find<QComboBox>("cmbErrorRate")->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }

    // Types each character as a key event of its own carrying its text, as an input method
    // delivers characters that no key names (keyClicks knows only Latin-1).
    void TypeText(const QString& box, const QString& text) {
        QLineEdit* edit = Find<QComboBox>(box)->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype length = text[i].isHighSurrogate() ? 2 : 1;
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, text.mid(i, length),
                                Qt::NoModifier);
            i += length - 1;
        }
    }

    std::unique_ptr<MainWindow> window;
};

} // namespace bitwatch::test
