#include "ui/cell_board.h"

#include <algorithm>
#include <array>

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "core/frame.h"
#include "ui/colour.h"
#include "ui/layout.h"

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

// Gives every cell of the arrays a bit and a colour role, cycling through all ten looks, draws
// the board and compares each named array's boxes with the direct drawing.
int CompareArrays(const char* modeText, std::initializer_list<CellArray> compared) {
    BoardOnScreen screen(modeText);
    CellBoard& board = screen.board;
    Form& form = screen.form;
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
