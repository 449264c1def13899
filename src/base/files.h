#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace glidtavla {

// Files by their path's bytes, as the file system names them: no name is ever changed on its
// way to the disk. Only regular files (or links to them) are read or written: a folder, a
// FIFO, a socket or a device is refused at once with code 5, "File access denied", so nothing
// blocks in open() or reads for ever.

bool IsRegularFile(const std::string& path);

// The process's working folder, whole, or "." when it cannot be read.
std::string CurrentFolder();

// What a file is on disk, to tell whether it changed since it was last read or written.
struct FileStamp {
    uint64_t Device = 0, Inode = 0;
    int64_t Size = 0, ModifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
// nullopt when nothing is at path (or it cannot be looked at).
std::optional<FileStamp> StampOf(const std::string& path);

// The first name "stem-2.ext", "stem-3.ext", ... beside path at which nothing stands.
std::string FreeNameBeside(const std::string& path);

// An open descriptor for reading, never blocking; throws the file error of its code.
int OpenRegularFileForReading(const std::string& path);

// Opens for writing (flags as open() takes them, beside O_WRONLY) without blocking; a FIFO
// without a reader is refused like any other file that is not a regular one.
int OpenRegularFileForWriting(const std::string& path, int flags, unsigned mode);

// The whole file, if it is at most limit bytes; tooLarge tells when it is not (nothing is
// read then). Throws the file error of its code.
std::string ReadRegularFile(const std::string& path, std::size_t limit, bool& tooLarge);

// A file the program ships: beside the running program in the build, in its data folder
// (share/glidtavla) once installed.
std::string InstalledDataPath(const std::string& name);
// A helper program the program starts: beside it in the build, in the helpers' folder
// (lib/glidtavla) once installed.
std::string InstalledHelperPath(const std::string& name);

// Holds a lock file (path, made if missing, mode 0600) while it lives, taken within half a
// second or not at all: a lock held by a program that hangs, or a lock path that is no file,
// never holds us up. Writers of one file among several windows take it around read and write.
class FileLock {
  public:
    explicit FileLock(const std::string& path);
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();
    bool Held() const { return held_; }

  private:
    int fd_ = -1;
    bool held_ = false;
};

// Writes the file whole so that no failure loses the old one (safe_write.cpp): through a
// temporary file beside it and a rename, keeping what the file was (mode, owner and group,
// extended attributes and ACLs); in place, with its new size reserved first, where it has more
// than one link or the folder refuses a new file. A symbolic link's target is written, created
// if missing. A file the user may not write is refused. Throws the file error of its code; a
// full disk or quota is "Disk full". A mode other than 0 is the file's afterwards, whatever it
// was, so a private file is never readable by others, not even for a moment.
void WriteRegularFile(const std::string& path, const std::string& bytes, unsigned mode = 0);

}  // namespace glidtavla
