// The floor the window's drawing is measured against: the same fast run (the same library, the
// same frames) shown by a bare Qt program with one plain widget per cell that draws its digit
// with QPainter::drawText on every paint and repaints when its record changed. Prints the same
// line as bitwatch_window_fast_run.
//
// Usage: bitwatch_cell_floor [seconds] [mode text]

#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include "channel/run_control.h"
#include "core/frame.h"
#include "resident_memory.h"
#include "ui/layout.h"
#include "ui/widgets/colour.h"
#include "ui/widgets/fonts.h"
#include "ui/widgets/pixels.h"

namespace {

class PlainCell : public QWidget {
  public:
    PlainCell(const QFont& font, const bitwatch::layout::Box& box, QWidget* parent)
        : QWidget(parent) {
        setFont(font);
        setAutoFillBackground(true);
        setGeometry(bitwatch::ToPixels(box));
    }

    void Show(const bitwatch::TextLabel& record) {
        if (record.text != text_ || record.foreColour != colour_) {
            text_ = record.text;
            colour_ = record.foreColour;
            update();
        }
        setVisible(record.shown);
    }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setPen(bitwatch::ToQColor(colour_));
        painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip,
                         QString::fromStdString(text_));
    }

  private:
    std::string text_;
    bitwatch::Colour colour_ = 0;
};

} // namespace

int main(int argc, char* argv[]) {
    namespace layout = bitwatch::layout;
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const char* mode = argc > 2 ? argv[2] : "CRC-8";

    QWidget window;
    window.setWindowTitle(QStringLiteral("Cell Floor"));
    window.resize(bitwatch::ClientSize());
    bitwatch::Form form;
    bitwatch::Startup(form);
    form.cmbMode.SetText(mode);
    form.cmbErrorRate.SetText("1");

    std::vector<std::pair<PlainCell*, const bitwatch::TextLabel*>> cells;
    cells.reserve(2 * bitwatch::kCellsPerArray + 2 * bitwatch::kCheckBits);
    const QFont data = bitwatch::DemoFont(layout::kDataText);
    const QFont parity = bitwatch::DemoFont(layout::kParityText);
    for (int i = 0; i < bitwatch::kCellsPerArray; ++i) {
        cells.emplace_back(new PlainCell(data, layout::Row1Box(i), &window), &form.row1[i]);
    }
    for (int i = 0; i < bitwatch::kCellsPerArray; ++i) {
        cells.emplace_back(new PlainCell(parity, layout::ParityBox(i), &window), &form.parity[i]);
    }
    for (int j = 0; j < bitwatch::kCheckBits; ++j) {
        cells.emplace_back(new PlainCell(data, layout::Sum1Box(j), &window), &form.sum1[j]);
        cells.emplace_back(new PlainCell(data, layout::Sum2Box(j), &window), &form.sum2[j]);
    }
    const auto show = [&] {
        for (auto& [cell, record] : cells) {
            cell->Show(*record);
        }
    };
    show();
    window.show();

    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        bitwatch::RunTick(form);
        show();
    });
    std::int64_t startFrames = 0;
    double startCpu = 0;
    long startKiB = 0;
    QElapsedTimer clock;
    QTimer::singleShot(500, [&] {
        tick.start(bitwatch::kFastInterval);
        startFrames = form.frameCount;
        startCpu = bitwatch::bench::CpuSeconds();
        startKiB = bitwatch::bench::ResidentKiB();
        clock.start();
    });
    QTimer::singleShot(500 + seconds * 1000, [&] {
        const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        const auto frames = static_cast<double>(form.frameCount - startFrames);
        const double cpu = bitwatch::bench::CpuSeconds() - startCpu;
        std::printf("mode %s: %.0f frames in %.1f s = %.1f frames/s, CPU %.1f %% of one core, "
                    "resident %ld KiB at start, %ld KiB at end\n",
                    mode, frames, elapsed, frames / elapsed, 100.0 * cpu / elapsed, startKiB,
                    bitwatch::bench::ResidentKiB());
        QApplication::quit();
    });
    return QApplication::exec();
}
