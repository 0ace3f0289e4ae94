// A fast run in the real window: frames sent per second against the 100 that the 10 ms timer
// asks for, and the share of one core the process uses meanwhile. Run it under a display
// (scripts/measure-window.sh starts one with Xvfb).

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include "ui/main_window.h"

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
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
    std::int64_t startFrames = 0;
    double startCpu = 0;
    QElapsedTimer clock;
    QTimer::singleShot(500, [&] {
        run->click(); // slow run
        run->click(); // fast run
        startFrames = window.form().frameCount;
        startCpu = CpuSeconds();
        clock.start();
    });
    QTimer::singleShot(500 + seconds * 1000, [&] {
        const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        const auto frames = static_cast<double>(window.form().frameCount - startFrames);
        const double cpu = CpuSeconds() - startCpu;
        std::printf("mode %s: %.0f frames in %.2f s = %.1f frames/s, CPU %.1f %% of one core\n",
                    mode, frames, elapsed, frames / elapsed, 100.0 * cpu / elapsed);
        QApplication::quit();
    });
    return QApplication::exec();
}
