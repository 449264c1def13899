// glidtavla-cli: boards and demos without a window.
#include <QCommandLineParser>
#include <QCoreApplication>

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli_common.h"

namespace {

// Drawing and pictures need Qt Gui and the picture decoders, whose loading would be most of
// the time a short replay takes; a program of their own does them.
bool NeedsPictures(int argc, char** argv) {
    const auto is = [&](int i, const char* word) {
        return i < argc && std::strcmp(argv[i], word) == 0;
    };
    return is(1, "board") && (is(2, "draw") || is(2, "picture"));
}

// Beside this program in the build, in its own folder once installed.
std::string PicturesProgram() {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = length > 0 ? std::string(self, static_cast<std::size_t>(length)) : "";
    folder = folder.substr(0, folder.rfind('/') + 1);
    const std::string beside = folder + "glidtavla-cli-pictures";
    if (access(beside.c_str(), X_OK) == 0) return beside;
    return folder + GLIDTAVLA_PICTURES_FROM_BIN "/glidtavla-cli-pictures";
}

int RunPicturesProgram(char** argv) {
    const std::string program = PicturesProgram();
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
        glidtavla::Print(stderr, glidtavla::kOutOfMemoryMessage);
        return glidtavla::kExitError;
    }
    std::fprintf(stderr, "unknown command: %s\n", qPrintable(args[0]));
    return 2;
}
