// Where the controls stand, in which faces, and which of them takes a click where they overlap.

#include "tests/gui/window_fixture.h"

namespace bitwatch {
namespace {

using MainWindowTest = test::WindowTest;

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

} // namespace
} // namespace bitwatch
