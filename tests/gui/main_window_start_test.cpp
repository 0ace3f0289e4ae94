// The window as it starts: its colours, its images and the reset view of mode None.

#include "tests/gui/window_fixture.h"

namespace bitwatch {
namespace {

using MainWindowTest = test::WindowTest;

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

} // namespace
} // namespace bitwatch
