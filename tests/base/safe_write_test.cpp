// Saving never loses the old file, and keeps what the file was.
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "base/errors.h"
#include "base/files.h"
#include "test_support.h"

namespace glidtavla {
namespace {

int CodeOfWrite(const std::string& path, const std::string& bytes) {
    try {
        WriteRegularFile(path, bytes);
    } catch (const Error& error) {
        return error.Code();
    }
    return 0;
}

// Runs check in a child process (as another user, under a limit); its exit status.
template <class Check>
int InChild(Check check) {
    const pid_t child = fork();
    if (child == 0) _exit(check());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool NoTemporariesIn(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(".glidtavla-", 0) == 0) return false;
    }
    return true;
}

// A file system that is full: of space, then of inodes. The old text must survive whole and
// the failure be "Disk full".
TEST(SafeWrite, AFullDiskFailsBeforeTheOldTextChanges) {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    TempDir dir;
    const std::string mountPoint = dir.File("full");
    std::filesystem::create_directory(mountPoint);
    if (mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=1m,nr_inodes=8") != 0)
        GTEST_SKIP() << "no tmpfs here";
    const std::string old(500 * 1024, 'g');
    const std::string path = mountPoint + "/brev.gtv";
    ASSERT_EQ(CodeOfWrite(path, old), 0);
    EXPECT_EQ(CodeOfWrite(path, std::string(700 * 1024, 'n')), kCodeDiskFull);  // no space
    EXPECT_EQ(ReadAll(path), old);
    for (int i = 0; CodeOfWrite(mountPoint + "/f" + std::to_string(i), "x") == 0; ++i) {
    }
    EXPECT_EQ(CodeOfWrite(path, std::string(100, 'n')), kCodeDiskFull);  // no inode
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_TRUE(NoTemporariesIn(mountPoint));
    umount(mountPoint.c_str());
}

// Past the file size limit a write fails with "Disk full" instead of killing the program.
TEST(SafeWrite, AFileSizeLimitIsDiskFull) {
    TempDir dir;
    const std::string path = dir.Write("brev.gtv", "gammal");
    EXPECT_EQ(InChild([&] {
                  std::signal(SIGXFSZ, SIG_IGN);
                  const rlimit limit{4096, 4096};
                  setrlimit(RLIMIT_FSIZE, &limit);
                  return CodeOfWrite(path, std::string(10000, 'n'));
              }),
              kCodeDiskFull);
    EXPECT_EQ(ReadAll(path), "gammal");
    EXPECT_TRUE(NoTemporariesIn(dir.Path()));
}

// A save killed at any moment leaves the old file or the new one whole, and nothing beside it.
TEST(SafeWrite, AKilledSaveLeavesNoTrace) {
    TempDir dir;
    const std::string path = dir.Write("brev.gtv", "gammal");
    const std::string large(32 << 20, 'n');
    for (int round = 1; round <= 5; ++round) {
        const pid_t child = fork();
        if (child == 0) {
            WriteRegularFile(path, large);
            _exit(0);
        }
        usleep(static_cast<useconds_t>(3000 * round));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string now = ReadAll(path);
        EXPECT_TRUE(now == "gammal" || now == large) << now.size();
    }
    EXPECT_TRUE(NoTemporariesIn(dir.Path()));
}

// A document the user may not write is refused, in a folder the user may write.
TEST(SafeWrite, AFileTheUserMayNotWriteIsRefused) {
    TempDir dir;
    chmod(dir.Path().c_str(), 0777);
    const std::string path = dir.Write("skrivskyddad.gtv", "gammal");
    chmod(path.c_str(), 0444);
    const auto write = [&] { return CodeOfWrite(path, "ny"); };
    const int code =
        geteuid() == 0
            ? InChild([&] { return setgid(65534) == 0 && setuid(65534) == 0 ? write() : 99; })
            : write();
    EXPECT_EQ(code, kCodeAccessDenied);
    EXPECT_EQ(ReadAll(path), "gammal");
}

// Mode, group, extended attributes, hard links and symbolic links survive a save.
TEST(SafeWrite, WhatTheFileWasIsKept) {
    TempDir dir;
    const std::string path = dir.Write("brev.gtv", "gammal");
    chmod(path.c_str(), 0640);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(path.c_str(), 0, 1234), 0);
    }
    const bool xattrs = setxattr(path.c_str(), "user.glidtavla", "ja", 2, 0) == 0;
    ASSERT_EQ(CodeOfWrite(path, "ny"), 0);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(info.st_gid, 1234u);
    }
    if (xattrs) {
        char value[8] = {};
        EXPECT_EQ(getxattr(path.c_str(), "user.glidtavla", value, sizeof value), 2);
        EXPECT_STREQ(value, "ja");
    }

    const std::string link = dir.File("samma.gtv");
    ASSERT_EQ(::link(path.c_str(), link.c_str()), 0);
    ASSERT_EQ(CodeOfWrite(path, "kortare"), 0);
    EXPECT_EQ(ReadAll(link), "kortare");  // one file under two names, written in place

    const std::string target = dir.File("mål.gtv");
    const std::string symbolic = dir.File("pekare.gtv");
    ASSERT_EQ(symlink("mål.gtv", symbolic.c_str()), 0);  // dangling
    ASSERT_EQ(CodeOfWrite(symbolic, "via länken"), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(symbolic));
    EXPECT_EQ(ReadAll(target), "via länken");
    EXPECT_TRUE(NoTemporariesIn(dir.Path()));
}

}  // namespace
}  // namespace glidtavla
