// glidtavla-cli: boards and demos without a window.
#include <QCommandLineParser>
#include <QCoreApplication>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/files.h"
#include "cli/cli_common.h"
#include "cli/commands.h"

namespace {

// Drawing and pictures need Qt Gui and the picture decoders, whose loading would be most of
// the time a short replay takes; a program of their own does them.
bool NeedsPictures(int argc, char** argv) {
    QStringList words;
    for (int i = 1; i < argc && i < 3; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    const glidtavla::Command* command = glidtavla::FindCommand(words);
    return command != nullptr && command->NeedsPictures;
}

int RunPicturesProgram(char** argv) {
    const std::string program = glidtavla::InstalledHelperPath("glidtavla-cli-pictures");
    execv(program.c_str(), argv);  // returns only when it failed
    std::fprintf(stderr, "Cannot start %s (%s)\n", program.c_str(), std::strerror(errno));
    return glidtavla::kExitError;
}

}  // namespace

int main(int argc, char** argv) {
    if (NeedsPictures(argc, argv)) return RunPicturesProgram(argv);
    qInstallMessageHandler(glidtavla::QuietQt);
    glidtavla::RememberArguments(argc, argv);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("glidtavla-cli");
    QCoreApplication::setApplicationVersion("1.01");

    QCommandLineParser parser;
    parser.setApplicationDescription("Glidtavla's command-line tool.\n\n" +
                                     glidtavla::CommandsHelp());
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("command", "board, replay, stats or type");
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty()) parser.showHelp(2);
    int words = 0;
    const glidtavla::Command* command = glidtavla::FindCommand(args, &words);
    if (command == nullptr) {
        if (args[0] == "board") {
            // "board --help" asks for the board commands; "board" alone is a wrong command.
            const bool help = args.size() == 2 && (args[1] == "--help" || args[1] == "-h");
            glidtavla::Print(help ? stdout : stderr, glidtavla::BoardUsage().toStdString());
            return help ? glidtavla::kExitOk : glidtavla::kExitUsage;
        } else {
            std::fprintf(stderr, "unknown command: %s\n", qPrintable(args[0]));
        }
        return glidtavla::kExitUsage;
    }
    try {
        return command->Run(QStringList{app.arguments().first() + " " + command->Name} +
                            args.mid(words));
    } catch (const std::bad_alloc&) {
        glidtavla::Print(stderr, glidtavla::kOutOfMemoryMessage);
        return glidtavla::kExitError;
    }
}
