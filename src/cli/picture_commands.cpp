// glidtavla-cli board draw and board picture: the commands that need Qt Gui and the picture
// decoders, in a program of their own so the others start without loading them.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include "base/errors.h"
#include "base/files.h"
#include "board/board_table.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "pictures/board_drawing.h"
#include "pictures/builtin_picture.h"
#include "pictures/picture_file.h"

namespace glidtavla {

int BoardDrawCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Draw the board a table gives, as \"Utan bild\" shows it, into a PNG of at least "
        "354 x 284 pixels.");
    parser.addOption(kOverOption);
    parser.addPositionalArgument("TABLE", "The .tab file.");
    parser.addPositionalArgument("OUT.png", "The picture to write.");
    if (!ParseSub(parser, args, 2)) return kExitUsage;
    CharacterBoard board;
    if (!StartBoard(parser, board)) return kExitUsage;
    try {
        LoadBoardTable(board, LocalPath(parser.positionalArguments()[0]));
    } catch (const Error& error) {
        Print(stderr, std::string(error.what()) + "\n");
        return kExitError;
    }
    const QImage picture = DrawnBoard(BuiltInBoardPicture(), board);
    // Encoded first, then written with every write checked: a full disk is a failure.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const std::string out = LocalPath(parser.positionalArguments()[1]);
    try {
        if (!picture.save(&buffer, "PNG")) throw Error("PNG");
        WriteRegularFile(out, png.toStdString());
    } catch (const Error& error) {
        Print(stderr, "Cannot create file " + out + " (" + error.what() + ")\n");
        return kExitError;
    }
    return kExitOk;
}

int BoardPictureCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Load a board picture as \"Med bild\" would and print its size, or why it fails.");
    parser.addPositionalArgument("PICTURE", "A .bmp, .ico, .emf or .wmf file.");
    if (!ParseSub(parser, args, 1)) return kExitUsage;
    try {
        const QImage picture = LoadPictureFile(LocalPath(parser.positionalArguments()[0]));
        Print(stdout,
              std::to_string(picture.width()) + "x" + std::to_string(picture.height()) + "\n");
    } catch (const Error& error) {
        Print(stdout, std::string(error.what()) + "\n");
        return kExitError;
    }
    return kExitOk;
}

}  // namespace glidtavla

// Started by glidtavla-cli with its own arguments: "board draw ..." or "board picture ...".
int main(int argc, char** argv) {
    qInstallMessageHandler(glidtavla::QuietQt);
    glidtavla::RememberArguments(argc, argv);
    // Drawing needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    int words = 0;
    const glidtavla::Command* command = glidtavla::FindCommand(args.mid(1), &words);
    if (command != nullptr && command->Run != nullptr) {
        try {
            return command->Run(QStringList{args[0] + " " + command->Name} + args.mid(1 + words));
        } catch (const std::bad_alloc&) {
            glidtavla::Print(stderr, glidtavla::kOutOfMemoryMessage);
            return glidtavla::kExitError;
        }
    }
    glidtavla::Print(stderr, glidtavla::BoardUsage().toStdString());
    return glidtavla::kExitUsage;
}
