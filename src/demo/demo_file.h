#pragma once

#include <memory>
#include <string>

#include "base/text_reader.h"
#include "engine/selection_engine.h"

namespace glidtavla {

// The one demo file object the recorder and the player share: closed, open for writing or
// open for reading.
class DemoFile {
  public:
    enum class Mode { Closed, Writing, Reading };

    DemoFile() = default;
    DemoFile(const DemoFile&) = delete;
    DemoFile& operator=(const DemoFile&) = delete;
    ~DemoFile();

    // Creates or empties the file. Other processes may read it meanwhile; a writer holding it
    // is code 32.
    void OpenForWriting(const std::string& path);
    void OpenForReading(const std::string& path);
    void Close();
    Mode CurrentMode() const { return mode_; }

    // Writes one whole line at once, so every recorded line reaches the file as it is made.
    void WriteLine(const std::string& line);
    // The reader; code 104 when the file is not open for reading.
    TextReader& Reader();

  private:
    Mode mode_ = Mode::Closed;
    int fd_ = -1;
    std::string path_;
    std::unique_ptr<TextReader> reader_;
};

// "X Y A S" and CR LF.
std::string FormatDemoLine(const SelectionState& state);

void OpenDemoForRecording(DemoFile& file, const std::string& demoPath);
void OpenDemoForPlayback(DemoFile& file, const std::string& demoPath);

// The recorder the pointer-sample step calls while a demo is being recorded.
class DemoRecorder : public SampleRecorder {
  public:
    explicit DemoRecorder(DemoFile& file) : file_(file) {}
    void WriteDemoSample(const SelectionState& state) override;

  private:
    DemoFile& file_;
};

// The four values of a sample line: X, Y, the armed flag and the shift flag.
constexpr int kDemoValues = 4;

// Sets the state as a line with these values does.
void ApplyDemoSample(const int32_t* values, SelectionState& state);

// The values of the next line; false at the end of the file. A malformed number skips the
// rest of its line, then raises "Invalid numeric input".
bool ReadDemoValues(TextReader& reader, int32_t* values);

// Reads the next sample into the state; clears playing at the end of the file. A malformed
// number skips the rest of its line, then raises "Invalid numeric input" with the state
// untouched.
void ReadDemoSample(DemoFile& file, SelectionState& state, bool& playing);
void ReadDemoSample(TextReader& reader, SelectionState& state, bool& playing);

}  // namespace glidtavla
