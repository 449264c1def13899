// glidtavla-cli: boards and demos without a window.
#include <QCommandLineParser>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/cli_common.h"

// Qt's own notes about the platform (a missing runtime folder and the like) are not the
// tool's output: standard error carries only the tool's messages.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Only drawing and pictures need Qt Gui; the rest starts without a platform, which is most of
// the time a short replay takes.
bool NeedsGui(int argc, char** argv) {
    const auto is = [&](int i, const char* word) {
        return i < argc && std::strcmp(argv[i], word) == 0;
    };
    return is(1, "board") && (is(2, "draw") || is(2, "picture"));
}

int main(int argc, char** argv) {
    qInstallMessageHandler(QuietQt);
    glidtavla::RememberArguments(argc, argv);
    // Drawing needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> application;
    if (NeedsGui(argc, argv)) {
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication& app = *application;
    QCoreApplication::setApplicationName("glidtavla-cli");
    QCoreApplication::setApplicationVersion("1.01");

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Glidtavla's command-line tool.\n\n"
        "Commands:\n"
        "  board dump [--over builtin|empty] TABLE   print the board a table gives, as JSON\n"
        "  board check TABLE                        explain a table line by line\n"
        "  board draw [--over builtin|empty] TABLE OUT.png   draw the board without picture\n"
        "  board picture PICTURE                    check a board picture\n"
        "  board cost [--board TABLE] [--json] CORPUS   model writing a text on a board\n"
        "  board make CORPUS --columns C --rows R [--cell WxH] [--keep-controls] OUT.tab\n"
        "                                           make a board for a text\n"
        "  replay [--board TABLE] [--json] [--trace] DEMO   play a demo, print the document\n"
        "  stats [--board TABLE] [--json] DEMO      how fast and how a demo was written\n"
        "  type [--board TABLE] TEXT                print a demo that writes TEXT");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("command", "board, replay, stats or type");
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty()) parser.showHelp(2);
    const QStringList rest = QStringList{app.arguments().first()} + args.mid(1);
    try {
        if (args[0] == "board") return glidtavla::Board(rest);
        const QStringList own = QStringList{rest[0] + " " + args[0]} + args.mid(1);
        if (args[0] == "replay") return glidtavla::ReplayCommand(own);
        if (args[0] == "type") return glidtavla::TypeCommand(own);
        if (args[0] == "stats") return glidtavla::StatsCommand(own);
    } catch (const std::bad_alloc&) {
        std::fputs("Out of memory: the file is too large for this computer\n", stderr);
        return 1;
    }
    std::fprintf(stderr, "unknown command: %s\n", qPrintable(args[0]));
    return 2;
}
