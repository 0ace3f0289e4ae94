// "Why?" beside the window: F1 opens it with the library's explanation of the frame on screen,
// it follows clicks but not the frames of a fast run, and the main window looks exactly the
// same with it open.

#include "ui/companion_window.h"

#include <memory>

#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include "cells.h"
#include "ui/main_window.h"

namespace bitwatch {
namespace {

class CompanionTest : public testing::Test {
  protected:
    void SetUp() override {
        window = std::make_unique<MainWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QString CompanionText() const {
        auto* text = window->findChild<QTextBrowser*>("companionText");
        return text == nullptr ? QString() : text->toPlainText();
    }

    void Press(const char* button) {
        QTest::mouseClick(window->findChild<QWidget*>(button), Qt::LeftButton);
    }

    std::unique_ptr<MainWindow> window;
};

TEST_F(CompanionTest, F1OpensItWithTheExplanationOfTheFrameOnScreen) {
    window->form().cmbMode.SetText("Parity 8");
    window->Refresh();
    test::ClickCell(window.get(), "row1_58");
    test::ClickCell(window.get(), "row1_60");
    const QImage before = window->grab().toImage();
    ASSERT_EQ(window->companion(), nullptr) << "made before it was asked for";

    QTest::keyClick(window.get(), Qt::Key_F1);
    ASSERT_NE(window->companion(), nullptr);
    EXPECT_TRUE(window->companion()->isVisible());
    EXPECT_EQ(window->companion()->windowTitle(), QStringLiteral("Why? - Kelm's Bitwatch Demo"));
    EXPECT_TRUE(CompanionText().contains("both flips are in group 2, whose parity is still even"))
        << CompanionText().toStdString();
    EXPECT_EQ(window->grab().toImage(), before) << "the main window changed with the companion";

    test::ClickCell(window.get(), "row1_60");
    EXPECT_TRUE(CompanionText().contains("group 2 holds an odd number of flips (1)"));
}

TEST_F(CompanionTest, WaitsForTheEndOfAFastRun) {
    window->ShowCompanion();
    window->form().cmbMode.SetText("CRC-8");
    window->form().cmbErrorRate.SetText("50");
    window->Refresh();
    Press("Command4"); // a slow run: its first frame is shown
    const QString slow = CompanionText();
    EXPECT_TRUE(slow.contains("Measured in the window: ")) << slow.toStdString();
    Press("Command4"); // fast
    const QString fast = CompanionText();
    auto* timer = window->findChild<QTimer*>("Timer1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->form().frameCount >= 4; }, 5000));
    EXPECT_EQ(CompanionText(), fast) << "followed the frames of a fast run";
    Press("Command4"); // stop: the frame it stopped on is shown
    EXPECT_FALSE(timer->isActive());
    EXPECT_NE(CompanionText(), fast);
    EXPECT_TRUE(CompanionText().contains(
        QString::fromStdString(std::to_string(window->form().frameCount) + " frames")));
}

} // namespace
} // namespace bitwatch
