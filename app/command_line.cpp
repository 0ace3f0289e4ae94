#include "app/command_line.h"

#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

namespace bitwatch {

std::optional<int> ReadCommandLine(int argc, char* argv[], StartOptions& options) {
    if (argc <= 1) {
        return std::nullopt; // nothing to read: the window opens without a detour
    }
    // A plain application object gives the parser the program's name without a display; it is
    // gone again before the window's application is made.
    const QCoreApplication probe(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("bitwatch"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BITWATCH_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Kelm's Bitwatch Demo: an interactive demonstration of error-detecting "
                       "codes. Started without options, it opens its window."));
    // Own options rather than addHelpOption(), which would also offer Qt's --help-all.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption explain(
        QStringLiteral("explain"),
        QStringLiteral(
            "Open \"Why?\" beside the window: why the check caught the damage or "
            "missed it, and the exact odds beside the measured rate (F1 opens it too)."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(explain);
    if (!parser.parse(QCoreApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        const QString error = parser.errorText().isEmpty()
                                  ? QStringLiteral("unexpected argument \"%1\"")
                                        .arg(parser.positionalArguments().constFirst())
                                  : parser.errorText();
        std::fprintf(stderr, "bitwatch: %s\n%s", qPrintable(error), qPrintable(parser.helpText()));
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("bitwatch %s\n", BITWATCH_VERSION);
        return 0;
    }
    options.explain = parser.isSet(explain);
    return std::nullopt;
}

bool DisplayReachable() {
    // A platform chosen by hand (offscreen, vnc, ...) is the user's business; the desktop ones
    // need a display to connect to.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool desktopPlatform =
        platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland");
    return !desktopPlatform || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace bitwatch
