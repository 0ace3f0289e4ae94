// Renders the real window offscreen after a script of events and saves it as a PNG: the desktop
// side of the browser edition's screenshot comparison. The script is the one bitwatch_replay_events
// reads ("kind index hex-text" a line).

#include <cstdio>

#include <QApplication>
#include <QImage>

#include "event_script.h"
#include "ui/widgets/main_window.h"

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SCRIPT OUTPUT.png\n", argv[0]);
        return 2;
    }
    const auto events = bitwatch::tools::ReadEventScriptFile(argv[0], argv[1]);
    if (!events) {
        return 2;
    }
    bitwatch::MainWindow window;
    window.show();
    for (const bitwatch::Event& event : *events) {
        bitwatch::RunEvent(window.form(), event);
    }
    window.Refresh();
    QApplication::processEvents();
    return window.grab().toImage().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
