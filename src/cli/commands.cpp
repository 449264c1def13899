// The command table, built into both programs; GLIDTAVLA_PICTURES_PROGRAM says which one this is.
#include "cli/commands.h"

namespace glidtavla {

int BoardDumpCommand(const QStringList& args);
int BoardCheckCommand(const QStringList& args);
int BoardDrawCommand(const QStringList& args);
int BoardPictureCommand(const QStringList& args);
int BoardCostCommand(const QStringList& args);
int BoardMakeCommand(const QStringList& args);
int ReplayCommand(const QStringList& args);
int StatsCommand(const QStringList& args);
int TypeCommand(const QStringList& args);

namespace {

#if GLIDTAVLA_PICTURES_PROGRAM
constexpr CommandRun Core(CommandRun) {
    return nullptr;
}
constexpr CommandRun Pictures(CommandRun run) {
    return run;
}
#else
constexpr CommandRun Core(CommandRun run) {
    return run;
}
constexpr CommandRun Pictures(CommandRun) {
    return nullptr;
}
#endif

const Command kCommands[] = {
    {"board dump", "[--over builtin|empty] TABLE", "print the board a table gives, as JSON",
     Core(BoardDumpCommand), false},
    {"board check", "TABLE", "explain a table line by line", Core(BoardCheckCommand), false},
    {"board draw", "[--over builtin|empty] TABLE OUT.png", "draw the board without picture",
     Pictures(BoardDrawCommand), true},
    {"board picture", "PICTURE", "check a board picture", Pictures(BoardPictureCommand), true},
    {"board cost", "[--board TABLE] [--json] [--predict MODE] [--glide KIND] [more: --help] CORPUS",
     "model writing a text on a board, with prediction and chained glides", Core(BoardCostCommand),
     false},
    {"board make",
     "CORPUS --columns C --rows R [--cell WxH] [--square] [--keep-controls] [--words N] "
     "[--shift-cell] OUT.tab",
     "make a board for a text", Core(BoardMakeCommand), false},
    {"replay", "[--board TABLE] [--json [--trace]] [--raw] [--guard PIXELS] DEMO",
     "play a demo, print the document", Core(ReplayCommand), false},
    {"stats", "[--board TABLE] [--json] DEMO", "how fast and how a demo was written",
     Core(StatsCommand), false},
    {"type", "[--board TABLE] [--chained | --jitter SIGMA [--seed N]] TEXT",
     "print a demo that writes TEXT", Core(TypeCommand), false},
};

}  // namespace

std::span<const Command> Commands() {
    return kCommands;
}

const Command* FindCommand(const QStringList& arguments, int* words) {
    for (const Command& command : kCommands) {
        const QStringList name = QString(command.Name).split(' ');
        if (arguments.mid(0, name.size()) == name) {
            if (words != nullptr) *words = static_cast<int>(name.size());
            return &command;
        }
    }
    return nullptr;
}

QString CommandsHelp() {
    QString help = "Commands:";
    for (const Command& command : kCommands) {
        help += QString("\n  %1 %2\n      %3").arg(command.Name, command.Usage, command.Summary);
    }
    return help;
}

QString BoardUsage() {
    QStringList names;
    QString commands;
    for (const Command& command : kCommands) {
        const QString name(command.Name);
        if (!name.startsWith("board ")) continue;
        names << name.mid(6);
        commands += QString("  %1 %2\n      %3\n").arg(name, command.Usage, command.Summary);
    }
    return "Usage: glidtavla-cli board " + names.join('|') + " ...\n\nBoard commands:\n" + commands;
}

}  // namespace glidtavla
