#include "ui/widgets/main_window.h"

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

// Failures show QStrings as text rather than bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace bitwatch {
namespace {

class MainWindowTest : public testing::Test {
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

TEST(Colour, ConvertsBlueInTheHighByte) {
    EXPECT_EQ(ToQColor(0x800000), QColor(0, 0, 128)); // received data: dark blue
    EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0)); // mismatch: red
    EXPECT_EQ(ToQColor(0x008000), QColor(0, 128, 0));
    EXPECT_EQ(ToQColor(0x000080), QColor(128, 0, 0)); // verdict: dark red
    EXPECT_EQ(ToQColor(0x800080), QColor(128, 0, 128));
}

// The image-format plugins this process has loaded, by file.
std::vector<std::string> LoadedImagePlugins() {
    std::vector<std::string> plugins;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* found) {
            const std::string_view file = info->dlpi_name;
            if (file.find("/imageformats/") != std::string_view::npos) {
                static_cast<std::vector<std::string>*>(found)->emplace_back(file);
            }
            return 0;
        },
        &plugins);
    return plugins;
}

// Qt's built-in PNG reader reads the window's images; loading a plugin for each other image
// format would only slow the start. The icon, which no frame shows, waits for the first picture.
TEST(MainWindowStart, ReadsItsImagesWithoutImagePluginsAndTheIconAfterTheFirstPicture) {
    ASSERT_EQ(LoadedImagePlugins(), std::vector<std::string>());
    MainWindow window;
    EXPECT_TRUE(window.windowIcon().isNull());
    EXPECT_FALSE(window.findChild<QLabel*>("imgTorv")->pixmap().isNull());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&window] { return !window.windowIcon().isNull(); }));
    EXPECT_EQ(window.windowIcon().availableSizes(),
              QList<QSize>({{16, 16}, {32, 32}, {48, 48}, {64, 64}}));
    EXPECT_EQ(LoadedImagePlugins(), std::vector<std::string>());
}

TEST_F(MainWindowTest, StartsWithTheResetViewOfModeNone) {
    EXPECT_EQ(window->windowTitle(), "Kelm's Bitwatch Demo");
    EXPECT_EQ(window->size(), QSize(959, 698));
    for (int i = 0; i < 96; ++i) {
        const test::CellLook data = Cell(QStringLiteral("row1_%1").arg(i));
        EXPECT_TRUE(data.visible) << i;
        EXPECT_EQ(data.text, "0");
        EXPECT_EQ(data.colour, i < 48 ? QColor(0, 128, 0) : QColor(0, 0, 128)) << i;
        EXPECT_FALSE(Cell(QStringLiteral("parity_%1").arg(i)).visible) << i;
    }
    for (int j = 0; j < 8; ++j) {
        EXPECT_FALSE(Cell(QStringLiteral("sum1_%1").arg(j)).visible);
        EXPECT_FALSE(Cell(QStringLiteral("sum2_%1").arg(j)).visible);
    }
    EXPECT_TRUE(Find("Line1_0")->isVisible());
    EXPECT_TRUE(Find("Line1_1")->isVisible());
    EXPECT_EQ(Find<QLabel>("Label1_0")->text(), "Transmitted");
    EXPECT_EQ(Find<QLabel>("Label1_1")->text(), "Received");
    QLabel* result = Find<QLabel>("lblResult");
    EXPECT_EQ(result->text(), "No Errors");
    EXPECT_EQ(result->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    EXPECT_EQ(Find<QLabel>("lblUER")->text(), "0.00");
    EXPECT_EQ(Find<QPushButton>("Command1")->text(), "One");
    EXPECT_EQ(Find<QPushButton>("Command3")->text(), "Reset");
    EXPECT_EQ(Find<QPushButton>("Command4")->text(), "Start");
    EXPECT_EQ(Find<QPushButton>("Command2")->text(), "Find UE");

    QComboBox* rate = Find<QComboBox>("cmbErrorRate");
    EXPECT_EQ(rate->currentText(), "1");
    QStringList rates;
    for (int i = 0; i < rate->count(); ++i) {
        rates << rate->itemText(i);
    }
    EXPECT_EQ(rates, QStringList({"0", "1", "2", "3", "4", "5"}));
    QComboBox* mode = Find<QComboBox>("cmbMode");
    EXPECT_EQ(mode->currentText(), "None");
    QStringList modes;
    for (int i = 0; i < mode->count(); ++i) {
        modes << mode->itemText(i);
    }
    EXPECT_EQ(modes, QStringList({"Parity 48", "Parity 6V", "Parity 6", "Parity 2", "Parity 1",
                                  "Checksum", "Internet", "CRC-8"}));
    EXPECT_EQ(Find<QLabel>("imgTorv")->pixmap().size(), QSize(300, 48));
    EXPECT_EQ(QApplication::focusWidget(), Find("Command1"));
}

TEST_F(MainWindowTest, ControlsStandAtTheirPlaces) {
    const std::vector<std::pair<QString, QRect>> places = {
        {"row1_0", {20, 52, 37, 65}},          {"row1_47", {384, 392, 37, 65}},
        {"row1_48", {508, 52, 37, 65}},        {"row1_95", {872, 392, 37, 65}},
        {"parity_0", {52, 84, 25, 49}},        {"parity_7", {416, 84, 25, 49}},
        {"parity_15", {416, 152, 25, 49}},     {"parity_23", {420, 220, 25, 49}},
        {"parity_31", {420, 288, 25, 49}},     {"parity_39", {416, 356, 25, 49}},
        {"parity_71", {904, 220, 25, 49}},     {"parity_95", {904, 424, 25, 49}},
        {"sum1_0", {20, 472, 37, 61}},         {"sum1_7", {384, 472, 37, 61}},
        {"sum2_0", {508, 472, 37, 61}},        {"sum2_7", {872, 472, 37, 61}},
        {"Command1", {24, 544, 73, 33}},       {"Command3", {100, 544, 85, 33}},
        {"Command4", {192, 544, 101, 33}},     {"Command2", {300, 544, 125, 33}},
        {"cmbErrorRate", {188, 584, 133, 37}}, {"cmbMode", {360, 8, 213, 40}},
        {"Label1_0", {124, 8, 181, 33}},       {"Label1_1", {620, 8, 181, 33}},
        {"lblResult", {512, 548, 397, 53}},    {"Label2_0", {24, 588, 157, 33}},
        {"Label2_1", {328, 588, 45, 33}},      {"Label2_2", {508, 612, 245, 29}},
        {"lblUER", {756, 612, 81, 33}},        {"Label2_3", {840, 612, 45, 29}},
        {"imgTorv", {24, 636, 300, 48}},
    };
    for (const auto& [name, rect] : places) {
        const bool cell =
            name.contains(QLatin1Char('_')) && !name.startsWith(QLatin1String("Label"));
        EXPECT_EQ(cell ? Cell(name).geometry : Find(name)->geometry(), rect) << name.toStdString();
    }
}

TEST_F(MainWindowTest, ResizingMovesNothing) {
    const QRect before = Cell("row1_95").geometry;
    window->resize(400, 300);
    QApplication::processEvents();
    EXPECT_EQ(Cell("row1_95").geometry, before);
    window->resize(1400, 900);
    QApplication::processEvents();
    EXPECT_EQ(Cell("row1_95").geometry, before);
}

TEST_F(MainWindowTest, FontsAreTheRequestedFacesOrTheirMetricTwins) {
    const auto cellFont = [this](const QString& name) {
        return test::Board(window.get())->cellFont(test::CellNumber(window.get(), name));
    };
    const QFontInfo sans(cellFont(QStringLiteral("row1_0")));
    EXPECT_TRUE(sans.family() == "MS Sans Serif" || sans.family() == "Liberation Sans")
        << sans.family().toStdString();
    const QFontInfo serif(Find("lblResult")->font());
    EXPECT_TRUE(serif.family() == "Times New Roman" || serif.family() == "Liberation Serif")
        << serif.family().toStdString();
    EXPECT_EQ(cellFont(QStringLiteral("row1_0")).pixelSize(), 64);
    EXPECT_EQ(cellFont(QStringLiteral("parity_0")).pixelSize(), 48);
    EXPECT_EQ(Find("cmbMode")->font().pixelSize(), 26);
    EXPECT_EQ(Find("Command1")->font().pixelSize(), 24);
    for (const QString& name :
         {QStringLiteral("row1_0"), QStringLiteral("parity_0"), QStringLiteral("sum1_0")}) {
        const QRect box = Cell(name).geometry;
        const QFontMetrics metrics(cellFont(name));
        for (const QString& digit : {QStringLiteral("0"), QStringLiteral("1")}) {
            const QRect ink = metrics.tightBoundingRect(digit);
            EXPECT_LE(ink.width(), box.width()) << name.toStdString();
            // Drawn from the top edge: the baseline sits one ascent down.
            EXPECT_LE(metrics.ascent() + ink.bottom(), box.height()) << name.toStdString();
        }
    }
}

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

TEST_F(MainWindowTest, ParityCellOnTopTakesTheOverlapStripOnlyWhileShown) {
    // The parity cell of data bit 49 reaches 5 pixels into the box of data cell 50.
    const QRect data50 = Cell("row1_50").geometry;
    const QPoint strip(data50.left() + 2, data50.top() + 50);
    ClickAt(strip); // mode "None": the parity cell is hidden, the data cell takes the click
    EXPECT_EQ(window->form().row1[50].text, "1");
    EXPECT_EQ(window->form().parity[49].text, "0");

    TypeMode("Parity 1"); // resets, shows every parity cell
    ClickAt(strip);
    EXPECT_EQ(window->form().row1[50].text, "0");
    EXPECT_EQ(window->form().parity[49].text, "1");
    EXPECT_EQ(Cell("parity_49").colour, QColor(255, 0, 0));
    EXPECT_EQ(Find<QLabel>("lblResult")->text(), "False Positive");

    // On the transmitted side the parity cell takes the click and nothing changes.
    const QRect data2 = Cell("row1_2").geometry;
    ClickAt(QPoint(data2.left() + 2, data2.top() + 50));
    EXPECT_EQ(window->form().row1[2].text, "0");
    EXPECT_EQ(window->form().parity[1].text, "0");
}

TEST_F(MainWindowTest, ArrowAndLabelsLetClicksThroughOrIgnoreThem) {
    TypeMode("Parity 1");
    // The arrow's shaft starts over the box of parity cell 23; the click reaches the cell.
    QWidget* line3 = Find("Line3");
    const QPoint onShaft = line3->geometry().center() - QPoint(line3->width() / 2 - 4, 0);
    ClickAt(onShaft);
    EXPECT_EQ(window->form().parity[23].text, "0"); // transmitted parity: computed, unchanged
    for (const char* name : {"lblResult", "lblUER", "Label1_0", "imgTorv", "Label2_2"}) {
        ClickAt(Find(name)->geometry().center());
    }
    ClickAt(QPoint(950, 690)); // the background
    EXPECT_EQ(window->form().lblResult.text, "No Errors");
    EXPECT_EQ(window->form().frameCount, 0);
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
