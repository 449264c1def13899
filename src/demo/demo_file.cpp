#include "demo/demo_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/errors.h"
#include "base/files.h"

namespace glidtavla {

DemoFile::~DemoFile() {
    Close();
}

void DemoFile::OpenForWriting(const std::string& path) {
    Close();
    // A demo replays to everything written: for its owner's eyes only, like the learnt words.
    const int fd = OpenRegularFileForWriting(path, O_CREAT, 0600);
    // Lock before emptying, so a file another writer holds is left as it is.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ftruncate(fd, 0) != 0) {
        const int err = errno;
        close(fd);
        throw IoError(CodeFromErrno(err, path));
    }
    fchmod(fd, 0600);  // a file of another owner's keeps its mode
    fd_ = fd;
    path_ = path;
    mode_ = Mode::Writing;
}

void DemoFile::OpenForReading(const std::string& path) {
    Close();
    reader_ = std::make_unique<TextReader>(path);
    mode_ = Mode::Reading;
}

void DemoFile::Close() {
    if (fd_ >= 0) close(fd_);  // every line is already written: nothing is buffered
    fd_ = -1;
    reader_.reset();
    mode_ = Mode::Closed;
}

void DemoFile::WriteLine(const std::string& line) {
    if (mode_ != Mode::Writing) throw IoError(kCodeNotOpenForWriting);
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t wrote = write(fd_, line.data() + done, line.size() - done);
        if (wrote < 0) {
            if (errno == EINTR) continue;
            throw IoError(CodeFromErrno(errno, path_));
        }
        done += static_cast<std::size_t>(wrote);
    }
}

TextReader& DemoFile::Reader() {
    if (mode_ != Mode::Reading) throw IoError(kCodeNotOpenForReading);
    return *reader_;
}

// The third value is the armed flag, 0 or 1, or -1 on the first sample after the pointer came
// onto the board. Older files hold only 0 and 1, and the player treats -1 as a rest, so both
// kinds replay to what was written live. This is the one place the rule is decided.
constexpr int32_t kRestingMark = -1;

std::string FormatDemoLine(const SelectionState& state) {
    const std::string armed =
        state.Resting ? std::to_string(kRestingMark) : std::string(1, state.Armed ? '1' : '0');
    return std::to_string(state.X0) + ' ' + std::to_string(state.Y0) + ' ' + armed + ' ' +
           (state.ShiftHeld ? '1' : '0') + "\r\n";
}

void OpenDemoForRecording(DemoFile& file, const std::string& demoPath) {
    file.OpenForWriting(demoPath);
}

void OpenDemoForPlayback(DemoFile& file, const std::string& demoPath) {
    file.OpenForReading(demoPath);
}

void DemoRecorder::WriteDemoSample(const SelectionState& state) {
    file_.WriteLine(FormatDemoLine(state));
}

void ReadDemoSample(DemoFile& file, SelectionState& state, bool& playing) {
    ReadDemoSample(file.Reader(), state, playing);
}

void ApplyDemoSample(const int32_t* values, SelectionState& state) {
    state.X0 = values[0];
    state.Y0 = values[1];
    if (values[2] == 1) state.Armed = true;
    if (values[2] == kRestingMark) RestSelection(state);
    state.ShiftHeld = values[3] == 1;
}

bool ReadDemoValues(TextReader& reader, int32_t* values) {
    if (reader.AtEndOfFile()) return false;
    if (reader.ReadPlainLines<kDemoValues>(values, 1) == 1) return true;
    for (int i = 0; i < kDemoValues; ++i) {
        const ValueRead got = reader.TryReadValue();
        if (!got.Ok) {
            reader.SkipLine();
            throw IoError(kCodeInvalidNumericInput);
        }
        values[i] = got.Value;
    }
    reader.SkipLine();
    return true;
}

void ReadDemoSample(TextReader& reader, SelectionState& state, bool& playing) {
    int32_t values[kDemoValues];
    if (!ReadDemoValues(reader, values)) {
        playing = false;
        state.ShiftHeld = false;
        return;
    }
    ApplyDemoSample(values, state);
    if (reader.AtEndOfFile()) playing = false;
}

}  // namespace glidtavla
