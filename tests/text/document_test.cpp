#include "text/document.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "test_support.h"

namespace glidtavla {
namespace {

TEST(DocumentEncoding, Utf8OnlyWithAMultiByteSequence) {
    EXPECT_EQ(EncodingOf("plain ascii\r\n"), TextEncoding::Windows1252);
    EXPECT_EQ(EncodingOf("M\xC3\xA5ns"), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("M\xE5ns"), TextEncoding::Windows1252);            // å in Windows-1252
    EXPECT_EQ(EncodingOf("\xC3\xA5 and \xE5"), TextEncoding::Windows1252);  // not valid UTF-8
    EXPECT_EQ(EncodingOf("\xC0\xAF"), TextEncoding::Windows1252);           // overlong
    EXPECT_EQ(EncodingOf("\xE2\x82"), TextEncoding::Windows1252);           // cut short
}

// Runs body as a user who is not root (nobody), in a child; its exit status is the result.
int AsAnotherUser(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(99);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

// A writable document in a folder the user cannot write to: no temporary file can be made
// beside it, so the document is written in place.
TEST(DocumentFile, SavesInPlaceWhereTheFolderRefusesATemporaryFile) {
    if (geteuid() != 0 && access("/", W_OK) == 0) GTEST_SKIP() << "cannot make a locked folder";
    TempDir dir;
    const std::filesystem::path folder = dir.File("locked");
    std::filesystem::create_directory(folder);
    const std::string path = (folder / "doc.gtv").string();
    std::ofstream(path, std::ios::binary) << "old";
    chmod(dir.Path().c_str(), 0755);
    chmod(path.c_str(), 0666);
    chmod(folder.c_str(), 0555);
    const int status = AsAnotherUser([&] {
        try {
            WriteDocumentFile(path, "new\r\n");
        } catch (const Error&) {
            return 1;
        }
        return 0;
    });
    ASSERT_NE(status, 99) << "could not become another user";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadAll(path), "new\r\n");
    // A document the user may not write at all is still refused with the message.
    chmod(path.c_str(), 0644);
    EXPECT_EQ(AsAnotherUser([&] {
                  return ErrorOf([&] { WriteDocumentFile(path, "x"); }) ==
                                 "Cannot create file " + path
                             ? 0
                             : 1;
              }),
              0);
    EXPECT_EQ(ReadAll(path), "new\r\n");
}

}  // namespace
}  // namespace glidtavla
