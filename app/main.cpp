#include <QApplication>

#include "ui/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bitwatch"));
    QApplication::setApplicationDisplayName(QStringLiteral("Bitwatch"));
    QApplication::setDesktopFileName(QStringLiteral("org.bitwatch.Bitwatch"));

    bitwatch::MainWindow window;
    window.show();
    return QApplication::exec();
}
