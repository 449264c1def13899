// glidtavla-cli given what is not a file, a name that is not UTF-8, or nowhere to write.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>

#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "test_support.h"

namespace glidtavla {
namespace {

TEST(CliInput, FoldersFifosAndDevicesAreRefusedAtOnce) {
    TempDir dir;
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const QString folder = QString::fromStdString(dir.Path());
    for (const QString& path : {folder, QString::fromStdString(fifo), QString("/dev/zero")}) {
        for (const QStringList& command :
             {QStringList{"board", "check", path}, QStringList{"board", "dump", path},
              QStringList{"replay", path}, QStringList{"stats", path},
              QStringList{"board", "picture", path + ".bmp"}}) {
            const CliRun run = Cli(command);
            EXPECT_EQ(run.exitCode, 1) << command.join(' ').toStdString();
        }
        const CliRun check = Cli({"board", "check", path});
        EXPECT_TRUE(check.err.contains("File access denied")) << check.err.toStdString();
    }
    // A picture by a link to a device: refused before a byte is read.
    const std::string link = dir.File("zero.bmp");
    ASSERT_EQ(symlink("/dev/zero", link.c_str()), 0);
    const CliRun picture = Cli({"board", "picture", QString::fromStdString(link)});
    EXPECT_EQ(picture.out.trimmed().toStdString(), "Cannot open file " + link);
}

// Runs the tool with arguments as raw bytes (QProcess would take them as text) and gives its
// exit status and standard output.
std::pair<int, std::string> RunWithBytes(const std::vector<std::string>& args) {
    int out[2];
    if (pipe(out) != 0) return {-1, ""};
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        close(out[0]);
        std::vector<char*> argv{const_cast<char*>(GLIDTAVLA_CLI)};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(GLIDTAVLA_CLI, argv.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

TEST(CliInput, NamesThatAreNotUtf8AreUsedAsGiven) {
    TempDir dir;
    const std::string table = dir.Write("bord\xFF.tab", "60 120\r\n50 100\r\n97 98\r\n99 100\r\n");
    const auto [status, out] = RunWithBytes({"board", "dump", table});
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Json(QByteArray::fromStdString(out))["boardWidth"].toInt(), 120);
    const std::string made = dir.File("gjord\xFE.tab");
    EXPECT_EQ(RunWithBytes({"board", "make", table, "--columns", "3", "--rows", "3", made}).first,
              0);
    EXPECT_TRUE(std::filesystem::exists(made));
}

TEST(CliInput, DrawingOntoAFullDeviceFails) {
    TempDir dir;
    const QString table =
        QString::fromStdString(dir.Write("t.tab", "60 120\r\n50 100\r\n97 98\r\n99 100\r\n"));
    const CliRun full = Cli({"board", "draw", table, "/dev/full"});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.err.startsWith("Cannot create file /dev/full"));
    // A disk that fills up while the picture is written.
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    const std::string out = dir.File("board.png");
    process.start("/bin/sh",
                  {"-c", "trap '' XFSZ; ulimit -f 1 && exec \"$0\" board draw \"$1\" \"$2\"",
                   GLIDTAVLA_CLI, table, QString::fromStdString(out)});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1) << process.readAll().toStdString();
}

}  // namespace
}  // namespace glidtavla
