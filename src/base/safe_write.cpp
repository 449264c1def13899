// Saving a file so that no failure loses the old one.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

#include "base/errors.h"
#include "base/files.h"

namespace glidtavla {

namespace {

constexpr const char* kTemporaryPrefix = ".glidtavla-";

[[noreturn]] void Throw(int err, const std::string& path) {
    throw IoError(CodeFromErrno(err, path));
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int Fd = -1;
    explicit Descriptor(int f) : Fd(f) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (Fd >= 0) close(Fd);
    }
};

void WriteAllAt(int fd, const std::string& bytes, const std::string& path) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote =
            pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote < 0) Throw(errno, path);
        done += static_cast<std::size_t>(wrote);
    }
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The file a path names, through any symbolic links, whether or not it exists yet.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0) return path;
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
    }
    throw IoError(CodeFromErrno(ELOOP, path));
}

// Owner and group (the owner only where permitted), extended attributes and with them ACLs.
void CopyWhatTheFileWas(int from, int to, const struct stat& info) {
    if (fchown(to, info.st_uid, info.st_gid) != 0) {
        [[maybe_unused]] const int kept = fchown(to, static_cast<uid_t>(-1), info.st_gid);
    }
    fchmod(to, info.st_mode & 07777);  // after the owner: chown clears set-id bits
    const ssize_t size = flistxattr(from, nullptr, 0);
    if (size <= 0) return;
    std::vector<char> names(static_cast<std::size_t>(size));
    const ssize_t got = flistxattr(from, names.data(), names.size());
    for (ssize_t at = 0; got > 0 && at < got;) {
        const char* name = names.data() + at;
        const ssize_t length = fgetxattr(from, name, nullptr, 0);
        if (length >= 0) {
            std::vector<char> value(static_cast<std::size_t>(length) + 1);
            const ssize_t read = fgetxattr(from, name, value.data(), value.size());
            if (read >= 0) fsetxattr(to, name, value.data(), static_cast<std::size_t>(read), 0);
        }
        at += static_cast<ssize_t>(std::char_traits<char>::length(name)) + 1;
    }
}

// Temporary files of ours that outlived a crash: no writer holds their lock any more.
void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return;
    const std::string prefix = kTemporaryPrefix;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string path = folder + "/" + name;
        const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat info {};
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid() &&
            flock(fd, LOCK_EX | LOCK_NB) == 0) {
            unlink(path.c_str());
        }
        close(fd);
    }
    closedir(dir);
}

// Writes over the file itself, its new size reserved first: a lack of space fails before a
// byte of the old text changes.
void WriteInPlace(const std::string& path, const std::string& bytes) {
    Descriptor file(open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Fd < 0) Throw(errno, path);
    struct stat info {};
    if (fstat(file.Fd, &info) != 0 || !S_ISREG(info.st_mode)) throw IoError(kCodeAccessDenied);
    const off_t size = static_cast<off_t>(bytes.size());
    if (size > info.st_size) {
        const int err = posix_fallocate(file.Fd, 0, size);
        if (err != 0 && err != EOPNOTSUPP && err != EINVAL) Throw(err, path);
    }
    WriteAllAt(file.Fd, bytes, path);
    if (ftruncate(file.Fd, size) != 0 || fsync(file.Fd) != 0) Throw(errno, path);
}

// A temporary file in folder that no crash can leave behind where the file system allows it
// (it has no name until it is whole), otherwise one with a name of ours, locked while written.
struct Temporary {
    int Fd = -1;
    bool Anonymous = false;
    std::string Name;
};

Temporary CreateTemporary(const std::string& folder, mode_t mode) {
    Temporary temporary;
    temporary.Fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (temporary.Fd >= 0) {
        temporary.Anonymous = true;
        return temporary;
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return temporary;
    RemoveStaleTemporaries(folder);
    temporary.Name = folder + "/" + kTemporaryPrefix + "XXXXXX";
    temporary.Fd = mkstemp(temporary.Name.data());
    if (temporary.Fd >= 0) flock(temporary.Fd, LOCK_EX | LOCK_NB);
    return temporary;
}

// Gives the whole anonymous file a name beside the document, to be renamed over it.
std::string NameTemporary(int fd, const std::string& folder, const std::string& path) {
    std::random_device random;
    const std::string proc = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name =
            folder + "/" + kTemporaryPrefix + std::to_string(random()) + std::to_string(random());
        if (linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return name;
        if (errno != EEXIST) Throw(errno, path);
    }
    Throw(EEXIST, path);
}

}  // namespace

void WriteRegularFile(const std::string& given, const std::string& bytes, unsigned mode) {
    const std::string path = FollowLinks(given);
    struct stat info {};
    const bool exists = stat(path.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) throw IoError(kCodeAccessDenied);
    if (exists && access(path.c_str(), W_OK) != 0) Throw(errno, path);
    // Another name of the same file would keep the old text: written in place.
    if (exists && info.st_nlink > 1) {
        if (mode != 0) chmod(path.c_str(), mode);
        return WriteInPlace(path, bytes);
    }

    const std::string folder = FolderOf(path);
    const mode_t newMode = mode != 0 ? mode : exists ? (info.st_mode & 0777) : NewFileMode();
    Temporary temporary = CreateTemporary(folder, newMode);
    if (temporary.Fd < 0) {
        const int err = errno;
        // Only a folder that refuses new files to this user gets the file written in place.
        if (exists && (err == EACCES || err == EPERM)) {
            if (mode != 0) chmod(path.c_str(), mode);
            return WriteInPlace(path, bytes);
        }
        Throw(err, path);
    }
    Descriptor file(temporary.Fd);
    const auto failed = [&](int err) {
        if (!temporary.Name.empty()) unlink(temporary.Name.c_str());
        Throw(err, path);
    };
    if (exists) {
        Descriptor old(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (old.Fd >= 0) CopyWhatTheFileWas(old.Fd, file.Fd, info);
    }
    // The temporary's mode was masked by the umask.
    if (!exists || mode != 0) fchmod(file.Fd, newMode);
    try {
        WriteAllAt(file.Fd, bytes, path);
    } catch (const Error&) {
        if (!temporary.Name.empty()) unlink(temporary.Name.c_str());
        throw;
    }
    if (fsync(file.Fd) != 0) failed(errno);
    if (temporary.Anonymous) temporary.Name = NameTemporary(file.Fd, folder, path);
    if (rename(temporary.Name.c_str(), path.c_str()) != 0) failed(errno);
}

}  // namespace glidtavla
