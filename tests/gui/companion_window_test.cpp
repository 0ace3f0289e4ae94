// "Why?" beside the window: F1 opens it with the library's explanation of the frame on screen,
// it follows clicks but not the frames of a fast run, and the main window looks exactly the
// same with it open.

#include "ui/widgets/companion_window.h"

#include <memory>

#include <QComboBox>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include "tests/gui/window_fixture.h"
#include "tests/test_support.h"

namespace bitwatch {
namespace {

class CompanionTest : public test::WindowTest {
  protected:
    QString CompanionText() const {
        auto* text = window->findChild<QTextBrowser*>("companionText");
        return text == nullptr ? QString() : text->toPlainText();
    }

    void Press(const char* button) {
        QTest::mouseClick(window->findChild<QWidget*>(button), Qt::LeftButton);
    }
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

// The error model is chosen in the companion, by keyboard as a user would, and reaches the
// records as events; the text says what the channel now is and what it teaches.
TEST_F(CompanionTest, ChoosesTheErrorModelAndExplainsIt) {
    window->ShowCompanion();
    auto* model = window->companion()->findChild<QComboBox*>("errorModel");
    auto* size = window->companion()->findChild<QSpinBox*>("modelSize");
    ASSERT_NE(model, nullptr);
    ASSERT_NE(size, nullptr);
    EXPECT_FALSE(size->isEnabled()) << "k or L used by the random channel";

    window->form().cmbMode.SetText("Checksum");
    window->Refresh();
    model->setFocus();
    QTest::keyClick(model, Qt::Key_Down); // "Exactly k bits"
    EXPECT_EQ(window->form().errorModel.kind, ErrorModelKind::ExactBits);
    ASSERT_TRUE(size->isEnabled());
    EXPECT_EQ(size->maximum(), 56);
    size->setFocus();
    QTest::keyClick(size, Qt::Key_Up); // from 2
    EXPECT_EQ(window->form().errorModel.size, 3);
    QTest::keyClick(size, Qt::Key_Down);
    EXPECT_EQ(window->form().errorModel.size, 2);
    EXPECT_TRUE(CompanionText().contains("The rate box is not used"))
        << CompanionText().toStdString();

    Press("Command2"); // "Find UE": stops on a frame whose two flips cancel in the sum
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->form().Timer1.enabled(); }, 20000));
    EXPECT_EQ(window->form().lblResult.text, "Undetected Errors");
    EXPECT_TRUE(CompanionText().contains("2 of the 56 bits sent differ"));
    // Two flips the same way in the top column: the carry leaves the byte.
    EXPECT_TRUE(CompanionText().contains("Two flips the same way in the top column (bit 0) of "
                                         "different bytes cancel too"))
        << CompanionText().toStdString();
    EXPECT_FALSE(CompanionText().contains("a 0 becomes 1 and a 1 becomes 0"));

    window->form().cmbMode.SetText("CRC-8");
    window->Refresh();
    window->companion()->ShowNow(window->form());
    EXPECT_TRUE(CompanionText().contains("\"Find UE\" cannot end here: this code lets no error "
                                         "through of this kind"))
        << CompanionText().toStdString();
    EXPECT_TRUE(CompanionText().contains("CRC-8 catches every error of 3 or fewer bits"));
}

// At its default width the companion never scrolls sideways: the division's rows are no wider
// than the dividend, and every table fits.
TEST_F(CompanionTest, NothingScrollsSidewaysAtTheDefaultWidth) {
    window->ShowCompanion();
    auto* text = window->findChild<QTextBrowser*>("companionText");
    ASSERT_NE(text, nullptr);
    for (const std::string& mode : test::AllModeTexts()) {
        window->form().cmbMode.SetText(mode);
        window->Refresh();
        Press("Command1"); // "One": a frame with a mix of ones and zeros
        test::ClickCell(window.get(), "row1_49");
        window->companion()->ShowNow(window->form());
        EXPECT_EQ(text->horizontalScrollBar()->maximum(), 0) << mode;
    }
    EXPECT_TRUE(CompanionText().contains("Long division by 100000111"));
}

} // namespace
} // namespace bitwatch
