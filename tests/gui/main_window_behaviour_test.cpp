// What the window does when its cells, boxes and buttons are used.

#include "tests/gui/window_fixture.h"

namespace bitwatch {
namespace {

using MainWindowTest = test::WindowTest;

TEST_F(MainWindowTest, ClickingReceivedCellsFlipsThem) {
    TypeMode("CRC-8");
    ClickCell("row1_50");
    EXPECT_EQ(Cell("row1_50").text, "1");
    EXPECT_EQ(Cell("row1_50").colour, QColor(255, 0, 0));
    EXPECT_EQ(Find<QLabel>("lblResult")->text(), "Errors Detected");

    ClickCell("sum2_3");
    EXPECT_EQ(Cell("sum2_3").text, "1");
    EXPECT_EQ(Cell("sum2_3").colour, QColor(255, 0, 0));

    ClickCell("row1_50");
    ClickCell("sum2_3");
    EXPECT_EQ(Cell("row1_50").colour, QColor(0, 0, 128));
    EXPECT_EQ(Find<QLabel>("lblResult")->text(), "No Errors");

    // The transmitted check bits are computed: a click on one does nothing.
    ClickCell("sum1_3");
    EXPECT_EQ(Cell("sum1_3").text, "0");
    EXPECT_EQ(window->form().sum1[3].text, "0");
    // A right click is not a click.
    ClickCell("row1_50", Qt::RightButton);
    EXPECT_EQ(Cell("row1_50").text, "0");
}

TEST_F(MainWindowTest, DoubleClickFlipsACellOnce) {
    QWindow* handle = window->windowHandle();
    const QPoint pos = Cell("row1_60").geometry.center();
    // Through the window, as a real double-click arrives: press, release, double-click, release.
    QTest::mouseDClick(handle, Qt::LeftButton, {}, pos);
    QApplication::processEvents();
    EXPECT_EQ(Cell("row1_60").text, "1");
    EXPECT_EQ(window->form().row1[60].text, "1");
}

TEST_F(MainWindowTest, TypingAModeKeyByKeyPassesThroughShorterNames) {
    QComboBox* mode = Find<QComboBox>("cmbMode");
    QLineEdit* edit = mode->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, "Parity 4");
    EXPECT_EQ(mode->currentText(), "Parity 4") << "no inline completion";
    EXPECT_EQ(window->form().groupSize, 4);
    EXPECT_TRUE(Cell("parity_3").visible);
    EXPECT_FALSE(Find("Line1_0")->isVisible());
    QTest::keyClick(edit, Qt::Key_8);
    EXPECT_EQ(window->form().groupSize, 48);
    EXPECT_FALSE(Cell("parity_3").visible);
    EXPECT_TRUE(Cell("parity_47").visible);

    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(mode->count(), 8) << "Enter adds nothing to the list";

    // Leaving the field is not a pick: a flipped cell survives a Tab out of the mode box.
    TypeMode("Checksum");
    ClickCell("row1_70");
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Tab);
    EXPECT_EQ(window->form().row1[70].text, "1");
}

TEST_F(MainWindowTest, PickingFromTheListAppliesTheMode) {
    QComboBox* mode = Find<QComboBox>("cmbMode");
    ClickCell("row1_70");
    mode->showPopup();
    QAbstractItemView* view = mode->view();
    const QModelIndex internet = view->model()->index(6, 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(internet).center());
    EXPECT_EQ(mode->currentText(), "Internet");
    EXPECT_EQ(window->form().codeMode, ModeInternet);
    EXPECT_EQ(window->form().row1[70].text, "0");
    EXPECT_EQ(Cell("sum2_0").text, "1");
    EXPECT_TRUE(Cell("sum2_0").visible);
    EXPECT_EQ(mode->count(), 8);

    // Picking the entry that the text already shows still resets.
    ClickCell("row1_70");
    mode->showPopup();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(internet).center());
    EXPECT_EQ(window->form().row1[70].text, "0");
}

TEST_F(MainWindowTest, ErrorRateEditsRunNothing) {
    ClickCell("row1_70");
    TypeRate("4.5");
    EXPECT_EQ(window->form().cmbErrorRate.text(), "4.5");
    EXPECT_EQ(window->form().row1[70].text, "1");
    EXPECT_EQ(Find<QComboBox>("cmbErrorRate")->count(), 6);
}

// Whatever the keyboard types reaches the records as the same UTF-8 and comes back to the box
// unchanged, in either box: accents, CJK, an astral emoji, combining marks, right-to-left text.
TEST_F(MainWindowTest, BoxesHoldWideTextsAsTyped) {
    for (const QString& text :
         {QStringLiteral("\u00e9"), QStringLiteral("\u4e2d\u6587"), QStringLiteral("1\U0001F600"),
          QStringLiteral("e\u0301\u0323"), QStringLiteral("\u05e9\u05dc\u05d5\u05dd 5")}) {
        TypeText("cmbErrorRate", text);
        EXPECT_EQ(window->form().cmbErrorRate.text(), text.toStdString());
        EXPECT_EQ(Find<QComboBox>("cmbErrorRate")->currentText(), text);
        TypeText("cmbMode", text);
        EXPECT_EQ(window->form().cmbMode.text(), text.toStdString());
        EXPECT_EQ(Find<QComboBox>("cmbMode")->currentText(), text);
        EXPECT_EQ(window->form().codeMode, ModeNone) << "no mode has a non-ASCII name";
    }
    // Keys after an accent add one character each.
    TypeText("cmbErrorRate", QStringLiteral("\u00e9"));
    QTest::keyClicks(Find<QComboBox>("cmbErrorRate")->lineEdit(),
                     QStringLiteral("xxxxxxxxxxxxxxx"));
    EXPECT_EQ(Find<QComboBox>("cmbErrorRate")->currentText(),
              QStringLiteral("\u00e9xxxxxxxxxxxxxxx"));
}

TEST_F(MainWindowTest, RunButtonCyclesWithARealTimer) {
    QPushButton* run = Find<QPushButton>("Command4");
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_EQ(run->text(), "Fast");
    EXPECT_EQ(window->form().frameCount, 1);
    auto* timer = window->findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1000);

    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_EQ(run->text(), "Stop");
    EXPECT_EQ(timer->interval(), 10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->form().frameCount >= 3; }, 2000))
        << "the fast run sent " << window->form().frameCount << " frames in 2 s";
    EXPECT_EQ(Find<QLabel>("lblUER")->text().toStdString(), window->form().lblUER.text);

    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_EQ(run->text(), "Start");
    EXPECT_FALSE(timer->isActive());
    const std::int64_t frames = window->form().frameCount;
    QTest::qWait(50);
    EXPECT_EQ(window->form().frameCount, frames);
}

TEST_F(MainWindowTest, FindUndetectedStopsOnTheFirstUndetectedError) {
    TypeMode("Parity 48");
    TypeRate("5");
    QTest::mouseClick(Find<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_EQ(Find<QPushButton>("Command4")->text(), "Stop");
    QPushButton* run = Find<QPushButton>("Command4");
    ASSERT_TRUE(QTest::qWaitFor([&] { return run->text() == QStringLiteral("Start"); }, 10000))
        << "no undetected error stopped the search in 10 s";
    EXPECT_EQ(Find<QLabel>("lblResult")->text(), "Undetected Errors");
    EXPECT_EQ(window->form().undetectedCount, 1);
    EXPECT_FALSE(window->findChild<QTimer*>("Timer1")->isActive());
}

TEST_F(MainWindowTest, RateLabelKeepsItsLeadingBlank) {
    TypeRate("0");
    QTest::mouseClick(Find<QPushButton>("Command4"), Qt::LeftButton);
    EXPECT_EQ(Find<QLabel>("lblUER")->text(), " 0");
    window->form().frameCount = 2'999'999'999;
    window->form().undetectedCount = 1'000'000'000;
    window->Refresh();
    QTest::mouseClick(Find<QPushButton>("Command3"), Qt::LeftButton);
    EXPECT_EQ(Find<QLabel>("lblUER")->text(), "0.00");
}

TEST_F(MainWindowTest, OneSendsAnUncountedFrame) {
    TypeRate("100");
    TypeMode("Checksum");
    QTest::mouseClick(Find<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(Find<QLabel>("lblResult")->text(), "Errors Detected");
    EXPECT_EQ(Find<QLabel>("lblUER")->text(), "0.00");
    EXPECT_EQ(window->form().frameCount, 0);
    for (int i = 48; i < 96; ++i) {
        EXPECT_EQ(Cell(QStringLiteral("row1_%1").arg(i)).colour, QColor(255, 0, 0));
    }
}

} // namespace
} // namespace bitwatch
