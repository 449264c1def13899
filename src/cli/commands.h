#pragma once

#include <QString>
#include <QStringList>

#include <span>

namespace glidtavla {

// A command's run: args are the program and the command's name, then its own arguments.
using CommandRun = int (*)(const QStringList& args);

// One command of glidtavla-cli. Those that need pictures run in glidtavla-cli-pictures, so the
// others start with Qt Core only; each program's table has the runs it owns and nullptr for
// the others.
struct Command {
    const char* Name;  // "replay", "board dump"
    const char* Usage;
    const char* Summary;
    CommandRun Run;
    bool NeedsPictures;
};

std::span<const Command> Commands();

// The command that arguments name (from the first after the program on), or nullptr. words is
// how many arguments the name took.
const Command* FindCommand(const QStringList& arguments, int* words = nullptr);

// The list of commands for --help, and the one-line usage of the board commands.
QString CommandsHelp();
QString BoardUsage();

}  // namespace glidtavla
