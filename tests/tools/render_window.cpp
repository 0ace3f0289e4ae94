// Renders the real window offscreen after a script of events and saves it as a PNG: the desktop
// side of the browser edition's screenshot comparison. The script is the one bitwatch_replay_events
// reads ("kind index hex-text" a line).

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <QApplication>
#include <QImage>

#include "ui/events.h"
#include "ui/main_window.h"

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SCRIPT OUTPUT.png\n", argv[0]);
        return 2;
    }
    std::ifstream script(argv[1]);
    if (!script) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 2;
    }
    bitwatch::MainWindow window;
    window.show();
    std::string line;
    while (std::getline(script, line)) {
        std::istringstream fields(line);
        int kind = 0;
        int index = 0;
        std::string hex;
        fields >> kind >> index >> hex;
        std::string text;
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
            text += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        }
        if (kind < 0 || kind >= bitwatch::kEventKinds) {
            return 2;
        }
        bitwatch::RunEvent(window.form(), {static_cast<bitwatch::EventKind>(kind),
                                           static_cast<std::int16_t>(index), text});
    }
    window.Refresh();
    QApplication::processEvents();
    return window.grab().toImage().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
