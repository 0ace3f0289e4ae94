// The yardstick for start-up time and memory: a bare Qt window with one label, built the same
// way as the demo.

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt Window"));
    window.resize(959, 698);
    auto* label = new QLabel(QStringLiteral("0"), &window);
    label->move(20, 52);
    window.show();
    return QApplication::exec();
}
