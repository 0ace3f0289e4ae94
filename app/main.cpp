#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "app/command_line.h"
#include "ui/layout.h"
#include "ui/widgets/fonts.h"
#include "ui/widgets/main_window.h"

namespace {

// While the application object connects to the display, a failure (a DISPLAY that names no
// running server) makes Qt print its advice and abort. Say it in one line and exit instead.
void StartupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs("bitwatch: no display could be opened; run it on a desktop, or set DISPLAY\n",
                   stderr);
        std::_Exit(1);
    }
    // The platform plugin's own complaints lead up to that failure; the line above says it.
    const bool platformMessage =
        context.category != nullptr && QByteArray(context.category).startsWith("qt.qpa");
    if (type != QtDebugMsg && type != QtInfoMsg && !platformMessage) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    bitwatch::StartOptions options;
    if (const std::optional<int> status = bitwatch::ReadCommandLine(argc, argv, options)) {
        return *status;
    }
    if (!bitwatch::DisplayReachable()) {
        std::fputs("bitwatch: no display could be opened; run it on a desktop, or set DISPLAY\n",
                   stderr);
        return 1;
    }

    const QtMessageHandler previous = qInstallMessageHandler(StartupMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    QApplication::setApplicationName(QStringLiteral("Bitwatch"));
    QApplication::setApplicationVersion(QStringLiteral(BITWATCH_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.bitwatch.Bitwatch"));

    // Every text the window shows has a font of its own. The application's font is the one most
    // of them use, so that nothing lays out text in the desktop's font (a line edit does as it is
    // made) and loads that font for nothing while the window starts.
    QApplication::setFont(bitwatch::DemoFont(bitwatch::layout::kButtonText));
    bitwatch::MainWindow window;
    window.show();
    if (options.explain) {
        window.ShowCompanion();
    }
    return QApplication::exec();
}
