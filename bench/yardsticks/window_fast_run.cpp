// A fast run in the real window: frames sent per second against the 100 that the 10 ms timer
// asks for, the share of one core the process uses meanwhile, and resident memory at the start
// and the end. At the end it stops the run and clicks a received cell through the event queue,
// to show that the window still answers. Run it under a display (scripts/measure-window.sh
// starts one with Xvfb).
//
// Usage: bitwatch_window_fast_run [seconds] [mode text]

#include <cstdio>
#include <cstdlib>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include "resident_memory.h"
#include "ui/widgets/cell_board.h"
#include "ui/widgets/main_window.h"

namespace {

// A left click queued behind whatever the event loop has waiting, at a point of the widget.
void PostClick(QWidget* widget, QPointF centre) {
    const QPointF global = widget->mapToGlobal(centre);
    QApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonPress, centre, global,
                                                    Qt::LeftButton, Qt::LeftButton, {}));
    QApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonRelease, centre, global,
                                                    Qt::LeftButton, Qt::NoButton, {}));
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const char* mode = argc > 2 ? argv[2] : "CRC-8";

    bitwatch::MainWindow window;
    window.show();
    window.form().cmbMode.SetText(mode);
    window.form().cmbErrorRate.SetText("1");
    window.Refresh();

    auto* run = window.findChild<QPushButton*>(QStringLiteral("Command4"));
    auto* cells = window.findChild<bitwatch::CellBoard*>(QStringLiteral("cells"));
    const QPointF cellCentre =
        QRectF(cells->cellRect(cells->cellNamed(QStringLiteral("row1_50")).value())).center();
    std::int64_t startFrames = 0;
    double startCpu = 0;
    long startKiB = 0;
    std::string bitBefore;
    int status = 0;
    QElapsedTimer clock;
    QTimer::singleShot(500, [&] {
        run->click(); // slow run
        run->click(); // fast run
        startFrames = window.form().frameCount;
        startCpu = bitwatch::bench::CpuSeconds();
        startKiB = bitwatch::bench::ResidentKiB();
        clock.start();
    });
    QTimer::singleShot(500 + seconds * 1000, [&] {
        const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        const auto frames = static_cast<double>(window.form().frameCount - startFrames);
        const double cpu = bitwatch::bench::CpuSeconds() - startCpu;
        std::printf("mode %s: %.0f frames in %.1f s = %.1f frames/s, CPU %.1f %% of one core, "
                    "resident %ld KiB at start, %ld KiB at end\n",
                    mode, frames, elapsed, frames / elapsed, 100.0 * cpu / elapsed, startKiB,
                    bitwatch::bench::ResidentKiB());
        PostClick(run, QRectF(run->rect()).center()); // "Stop"
        QTimer::singleShot(0, [&] {
            bitBefore = window.form().row1[50].text;
            PostClick(cells, cellCentre);
            QTimer::singleShot(0, [&] {
                const bool answered = window.form().row1[50].text != bitBefore &&
                                      window.form().Command4.caption == "Start";
                std::printf("after the run: the window %s clicks\n",
                            answered ? "still answers" : "DOES NOT ANSWER");
                status = answered ? 0 : 1;
                QApplication::quit();
            });
        });
    });
    QApplication::exec();
    return status;
}
