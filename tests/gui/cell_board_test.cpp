#include "ui/widgets/cell_board.h"

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include "core/frame.h"
#include "ui/layout.h"
#include "ui/widgets/colour.h"

namespace bitwatch {
namespace {

// How a cell looked when it laid out its text on every paint: its box filled with the window's
// background, the digit drawn from the top, centred. The board's cached images must give the
// same pixels.
QImage DirectDrawing(const QString& text, const QColor& colour, const QFont& font, QSize size,
                     const QColor& background) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip,
                     text);
    return image;
}

// A board shown in a window the size of the demo's, and a started form in the given mode.
struct BoardOnScreen {
    explicit BoardOnScreen(const char* modeText) {
        window.resize(959, 698);
        window.show();
        Startup(form);
        form.cmbMode.SetText(modeText);
    }

    QWidget window;
    CellBoard board{&window};
    Form form;
};

constexpr std::array<Colour, 5> kRoles = {ColourTxData, ColourTxCheck, ColourRxData, ColourRxCheck,
                                          ColourMismatch};

// What the compared cells go through before the board is drawn.
enum class Before {
    Nothing,
    // Hidden in another mode from the start, then given their looks while hidden.
    HiddenFromTheStart,
    // Shown with their looks, then hidden in another mode while the background changes.
    HiddenWhileTheBackgroundChanges,
};

// Gives every cell of the arrays a bit and a colour role, cycling through all ten looks, draws
// the board in the mode and compares each named array's boxes with the direct drawing.
int CompareArrays(const char* modeText, std::initializer_list<CellArray> compared,
                  Before before = Before::Nothing, const char* hiddenIn = "None") {
    BoardOnScreen screen(before == Before::HiddenFromTheStart ? hiddenIn : modeText);
    CellBoard& board = screen.board;
    Form& form = screen.form;
    if (before == Before::HiddenFromTheStart) {
        board.ShowRecords(form);
    }
    int look = 0;
    for (auto* cells : {form.row1.data(), form.parity.data()}) {
        for (int i = 0; i < kCellsPerArray; ++i, ++look) {
            cells[i].text = look % 2 == 0 ? "0" : "1";
            cells[i].foreColour = kRoles[static_cast<std::size_t>(look / 2 % 5)];
        }
    }
    for (auto* cells : {form.sum1.data(), form.sum2.data()}) {
        for (int j = 0; j < kCheckBits; ++j, ++look) {
            cells[j].text = look % 2 == 0 ? "0" : "1";
            cells[j].foreColour = kRoles[static_cast<std::size_t>(look / 2 % 5)];
        }
    }
    if (before == Before::HiddenFromTheStart) {
        board.ShowRecords(form);
        form.cmbMode.SetText(modeText);
    } else if (before == Before::HiddenWhileTheBackgroundChanges) {
        board.ShowRecords(form);
        form.cmbMode.SetText(hiddenIn);
        board.ShowRecords(form);
        board.setPalette(QPalette(QColor(0xD4, 0xD0, 0xC8)));
        form.cmbMode.SetText(modeText);
    }
    board.ShowRecords(form);
    const QImage drawn =
        board.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int count = 0;
    for (int cell = 0; cell < board.cellCount(); ++cell) {
        if (std::find(compared.begin(), compared.end(), board.id(cell).array) == compared.end()) {
            continue;
        }
        EXPECT_TRUE(board.cellShown(cell)) << cell;
        const QRect box = board.cellRect(cell);
        const QImage expected =
            DirectDrawing(board.cellText(cell), board.cellColour(cell), board.cellFont(cell),
                          box.size(), board.palette().color(QPalette::Window));
        EXPECT_EQ(drawn.copy(box), expected)
            << "cell " << cell << " \"" << board.cellText(cell).toStdString() << "\"";
        ++count;
    }
    return count;
}

TEST(CellBoard, DrawsEveryLookAsTheTextWouldBeDrawn) {
    // Data cells alone, then parity cells over them, then check cells.
    EXPECT_EQ(CompareArrays("None", {CellArray::Row1}), 96);
    EXPECT_EQ(CompareArrays("Parity 1", {CellArray::Parity}), 96);
    EXPECT_EQ(CompareArrays("CRC-8", {CellArray::Row1, CellArray::Sum1, CellArray::Sum2}), 112);
}

// A cell hidden from the start, or while its look or the background changed, shows its latest
// look when it is shown.
TEST(CellBoard, ShowsTheLatestLookOfACellShownAgain) {
    for (const Before before :
         {Before::HiddenFromTheStart, Before::HiddenWhileTheBackgroundChanges}) {
        EXPECT_EQ(CompareArrays("Parity 1", {CellArray::Parity}, before), 96);
        EXPECT_EQ(CompareArrays("CRC-8", {CellArray::Sum1, CellArray::Sum2}, before, "Parity 1"),
                  16);
    }
}

// Cells that are hidden again leave the background behind, not their last digit.
TEST(CellBoard, RepaintsWhatHiddenCellsLeave) {
    BoardOnScreen screen("Parity 1");
    CellBoard& board = screen.board;
    Form& form = screen.form;
    for (TextLabel& cell : form.parity) {
        cell.text = "1";
    }
    board.ShowRecords(form);
    board.grab();
    form.cmbMode.SetText("None");
    board.ShowRecords(form);
    board.repaint(); // only the changed boxes, as a timer tick would
    const QImage after = board.grab().toImage();

    CellBoard fresh(&screen.window);
    fresh.ShowRecords(form);
    EXPECT_EQ(after, fresh.grab().toImage());
}

// What a screen holds when only the asked-for parts of the board are painted: every paint Qt
// asks of the board is drawn again, region and all, over the picture of the paints before it.
class PaintedRegions : public QObject {
  public:
    explicit PaintedRegions(CellBoard& board) : board_(board) { board_.installEventFilter(this); }
    ~PaintedRegions() override { board_.removeEventFilter(this); }
    PaintedRegions(const PaintedRegions&) = delete;
    PaintedRegions& operator=(const PaintedRegions&) = delete;

    std::size_t count() const { return regions_.size(); }

    // Draws the paints since the last call over the screen, with no background of Qt's: what
    // the board leaves unpainted keeps its old pixels, as it would on a real screen.
    void DrawOver(QImage& screen) {
        const std::vector<QRegion> asked(regions_.begin() + static_cast<std::ptrdiff_t>(drawn_),
                                         regions_.end());
        ownPaints_ = true;
        for (const QRegion& region : asked) {
            board_.render(&screen, region.boundingRect().topLeft(), region, {});
        }
        ownPaints_ = false;
        drawn_ = regions_.size();
    }

    // The whole board drawn afresh, without counting as a paint asked for.
    QImage Afresh() {
        ownPaints_ = true;
        QImage image = board_.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ownPaints_ = false;
        return image;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &board_ && event->type() == QEvent::Paint && !ownPaints_) {
            regions_.push_back(static_cast<QPaintEvent*>(event)->region());
        }
        return false;
    }

  private:
    CellBoard& board_;
    std::vector<QRegion> regions_;
    std::size_t drawn_ = 0;
    bool ownPaints_ = false; // the test's own, not the screen's
};

// A board repaints only what changes: the digits of changed cells and the boxes of cells shown
// or hidden. Whatever it leaves out would show as stale pixels against a board drawn afresh.
TEST(CellBoard, RepaintsEveryPixelThatChanges) {
    BoardOnScreen screen("Parity 1");
    CellBoard& board = screen.board;
    Form& form = screen.form;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen.window));
    board.ShowRecords(form);
    PaintedRegions paints(board);
    QApplication::processEvents(); // the first paint of the whole board
    QImage onScreen = paints.Afresh();

    std::mt19937 random(7);
    const std::array<const char*, 5> modes = {"None", "Parity 1", "Parity 8", "CRC-8", "Parity 6V"};
    const auto restyle = [&](TextLabel& cell) {
        cell.text = random() % 2 == 0 ? "0" : "1";
        cell.foreColour = kRoles[random() % kRoles.size()];
    };
    for (int step = 0; step < 120; ++step) {
        if (step % 20 == 19) {
            form.cmbMode.SetText(modes[static_cast<std::size_t>(step / 20) % modes.size()]);
        }
        for (int change = 0; change < 30; ++change) {
            restyle(form.row1[random() % kCellsPerArray]);
            restyle(form.parity[random() % kCellsPerArray]);
            restyle(random() % 2 == 0 ? form.sum1[random() % kCheckBits]
                                      : form.sum2[random() % kCheckBits]);
        }
        // A data cell is always shown: each step paints something.
        TextLabel& always = form.row1[static_cast<std::size_t>(step) % kCellsPerArray];
        always.text = always.text == "0" ? "1" : "0";
        const std::size_t paintsBefore = paints.count();
        board.ShowRecords(form);
        ASSERT_TRUE(QTest::qWaitFor([&] { return paints.count() > paintsBefore; })) << step;
        paints.DrawOver(onScreen);
        ASSERT_EQ(onScreen, paints.Afresh()) << "step " << step << ", mode " << form.cmbMode.text();
    }
}

TEST(CellBoard, FindsTheTopmostShownCellAndItsName) {
    QWidget window;
    window.resize(959, 698);
    CellBoard board(&window);
    Form form;
    Startup(form);
    form.cmbMode.SetText("Parity 1");
    board.ShowRecords(form);
    const int data = board.cellNamed(QStringLiteral("row1_50")).value();
    const int parity = board.cellNamed(QStringLiteral("parity_49")).value();
    // The parity cell of bit 49 reaches into the box of data bit 50: there it is on top.
    const QRect box = board.cellRect(data);
    EXPECT_EQ(board.cellAt(QPoint(box.left() + 2, box.top() + 50)), parity);
    EXPECT_EQ(board.cellAt(box.center()), data);
    form.cmbMode.SetText("None");
    board.ShowRecords(form);
    EXPECT_EQ(board.cellAt(QPoint(box.left() + 2, box.top() + 50)), data);
    EXPECT_FALSE(board.cellNamed(QStringLiteral("row1_96")).has_value());
}

} // namespace
} // namespace bitwatch
