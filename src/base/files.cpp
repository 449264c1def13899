#include "base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sys/file.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <thread>

#include "base/errors.h"

namespace glidtavla {

namespace {

[[noreturn]] void Throw(int err, const std::string& path) {
    throw IoError(CodeFromErrno(err, path));
}

}  // namespace

int OpenRegularFileForWriting(const std::string& path, int flags, unsigned mode) {
    const int fd = open(path.c_str(), flags | O_WRONLY | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0) Throw(errno == ENXIO ? EACCES : errno, path);  // a FIFO without a reader
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        throw IoError(kCodeAccessDenied);
    }
    return fd;
}

FileLock::FileLock(const std::string& path) {
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd_ < 0) return;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            held_ = true;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
}

FileLock::~FileLock() {
    if (fd_ >= 0) close(fd_);
}

std::string CurrentFolder() {
    std::string buffer(PATH_MAX, '\0');
    if (getcwd(buffer.data(), buffer.size()) == nullptr) return ".";
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

int OpenRegularFileForReading(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) Throw(errno, path);
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        throw IoError(kCodeAccessDenied);
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string ReadRegularFile(const std::string& path, std::size_t limit, bool& tooLarge) {
    const int fd = OpenRegularFileForReading(path);
    struct stat info {};
    fstat(fd, &info);
    tooLarge = static_cast<uint64_t>(info.st_size) > limit;
    std::string bytes;
    if (!tooLarge) bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    while (!tooLarge) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int err = errno;
            close(fd);
            Throw(err, path);
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
        tooLarge = bytes.size() > limit;  // a file that grows while it is read
    }
    close(fd);
    if (tooLarge) bytes.clear();
    return bytes;
}

std::optional<FileStamp> StampOf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileStamp{info.st_dev, info.st_ino, info.st_size,
                     int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec};
}

std::string FreeNameBeside(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) dot = path.size();
    for (int n = 2;; ++n) {
        const std::string candidate =
            path.substr(0, dot) + "-" + std::to_string(n) + path.substr(dot);
        struct stat info {};
        if (lstat(candidate.c_str(), &info) != 0) return candidate;
    }
}

namespace {

// The folder of the running program, ending in '/'.
std::string OwnFolder() {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string path = length > 0 ? std::string(self, static_cast<std::size_t>(length)) : "";
    return path.substr(0, path.rfind('/') + 1);
}

}  // namespace

// Without the program's own path (/proc not readable) nothing is looked for relative to the
// working folder, where anyone may have left a file of that name: the package's copy or none.
std::string InstalledDataPath(const std::string& name) {
    const std::string folder = OwnFolder();
    if (folder.empty()) return std::string(GLIDTAVLA_SYSTEM_DATA) + "/" + name;
    // Beside the programs at the top of the build (the tests run one folder down), or where
    // the package puts it.
    for (const std::string& candidate : {folder + name, folder + "../" + name}) {
        if (access(candidate.c_str(), R_OK) == 0) return candidate;
    }
    return folder + GLIDTAVLA_DATA_FROM_BIN + "/" + name;
}

std::string InstalledHelperPath(const std::string& name) {
    const std::string folder = OwnFolder();
    if (folder.empty()) return std::string(GLIDTAVLA_SYSTEM_HELPERS) + "/" + name;
    // Beside the programs at the top of the build, and beside each other once installed; the
    // tests and benchmarks run one folder down in the build.
    for (const std::string& candidate :
         {folder + name, folder + GLIDTAVLA_HELPERS_FROM_BIN + "/" + name, folder + "../" + name}) {
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return folder + GLIDTAVLA_HELPERS_FROM_BIN + "/" + name;
}

}  // namespace glidtavla
