#include "ui/cell_widget.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "core/frame.h"
#include "ui/colour.h"
#include "ui/fonts.h"
#include "ui/layout.h"

namespace bitwatch {
namespace {

// How a cell looked when it laid out its text on every paint: its box filled with the window's
// background, the digit drawn from the top, centred. The cached drawing must give the same pixels.
QImage DirectDrawing(const QString& text, Colour colour, const QFont& font, QSize size,
                     const QColor& background) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(ToQColor(colour));
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip,
                     text);
    return image;
}

TEST(CellWidget, DrawsEveryBitAndColourAsTheTextWouldBeDrawn) {
    QWidget window;
    window.resize(200, 200);
    int compared = 0;
    for (const auto& [style, box] : {std::pair{layout::kDataText, layout::kRow1Size},
                                     std::pair{layout::kParityText, layout::kParitySize},
                                     std::pair{layout::kCheckText, layout::kSumSize}}) {
        const QSize size(box.width / layout::kTwipsPerPixel, box.height / layout::kTwipsPerPixel);
        CellWidget cell(0, DemoFont(style), true, &window);
        cell.resize(size);
        for (const Colour colour :
             {ColourTxData, ColourTxCheck, ColourRxData, ColourRxCheck, ColourMismatch}) {
            for (const char* bit : {"0", "1"}) {
                cell.ShowRecord({bit, colour, true});
                const QImage drawn =
                    cell.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
                const QImage expected =
                    DirectDrawing(QString::fromLatin1(bit), colour, DemoFont(style), size,
                                  cell.palette().color(QPalette::Window));
                EXPECT_EQ(drawn, expected)
                    << bit << " in " << std::hex << colour << " at " << style.points << " pt";
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, 30);
}

} // namespace
} // namespace bitwatch
