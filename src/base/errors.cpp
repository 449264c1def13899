#include "base/errors.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

namespace glidtavla {

std::string IoMessage(int code) {
    switch (code) {
        case 2:
            return "File not found";
        case 3:
            return "Invalid filename";
        case 4:
            return "Too many open files";
        case 5:
            return "File access denied";
        case 100:
            return "Read beyond end of file";
        case 101:
            return "Disk full";
        case 106:
            return "Invalid numeric input";
        default:
            return "I/O error " + std::to_string(code);
    }
}

Error IoError(int code) {
    return Error(IoMessage(code), code);
}

namespace {

bool FolderOfExists(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return true;
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    struct stat info {};
    return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

int CodeFromErrno(int err, const std::string& path) {
    switch (err) {
        case ENOENT:
            return FolderOfExists(path) ? 2 : 3;
        case ENOTDIR:
        case ENAMETOOLONG:
            return 3;
        case EMFILE:
        case ENFILE:
            return 4;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            return 5;
        case EWOULDBLOCK:
            return kCodeSharingViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:  // past the file size the system allows: the disk is full to this file
            return 101;
        default:
            return err;
    }
}

Error FileMessageError(const char* format, const std::string& path) {
    std::string message = format;
    const std::size_t at = message.find("%s");
    if (at != std::string::npos) message.replace(at, 2, path);
    return Error(message);
}

}  // namespace glidtavla
