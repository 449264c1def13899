#pragma once
// What the commands of glidtavla-cli share: printing, their own options, the start board.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <string>

#include "board/character_board.h"

namespace glidtavla {

constexpr int kExitOk = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

// Qt's own notes about the platform (a missing runtime folder and the like) are not the
// tool's output: standard error carries only the tool's messages.
void QuietQt(QtMsgType type, const QMessageLogContext& context, const QString& message);
constexpr const char* kOutOfMemoryMessage =
    "Out of memory: the file is too large for this computer\n";

// A path as the file system names it, bytes unchanged: an argument as it was given.
void RememberArguments(int argc, char** argv);
std::string LocalPath(const QString& path);
void Print(FILE* stream, const std::string& text);

// Parses a sub-command's own options; on failure prints the reason and returns false.
bool ParseSub(QCommandLineParser& parser, const QStringList& args, int positionals);

// --over builtin|empty: what the table is read over.
extern const QCommandLineOption kOverOption;
bool StartBoard(const QCommandLineParser& parser, CharacterBoard& board);

// --board TABLE: the built-in board, or TABLE read over it; on a table error prints it and
// returns false.
extern const QCommandLineOption kBoardOption;
bool LoadStartBoard(const QCommandLineParser& parser, CharacterBoard& board);

// Text-area bytes as UTF-8, the codes 13 and 10 kept as CR and LF.
QString JsonText(const std::string& bytes);

}  // namespace glidtavla
