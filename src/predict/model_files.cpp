#include "predict/model_files.h"

#include <unistd.h>

#include <cerrno>
#include <climits>

#include "board/errors.h"
#include "board/files.h"

namespace glidtavla {

namespace {

constexpr std::size_t kMaxModelBytes = 64 << 20;

std::string ReadWhole(const std::string& path, std::size_t limit) {
    bool tooLarge = false;
    std::string bytes = ReadRegularFile(path, limit, tooLarge);
    if (tooLarge) throw Error(path + ": the file is too large to be a word model");
    return bytes;
}

}  // namespace

std::string BaseModelPath() {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = length > 0 ? std::string(self, static_cast<std::size_t>(length)) : "";
    folder = folder.substr(0, folder.rfind('/') + 1);
    const std::string beside = folder + "sv-words.model";
    if (access(beside.c_str(), R_OK) == 0) return beside;
    return folder + GLIDTAVLA_DATA_FROM_BIN "/sv-words.model";
}

WordModel LoadWordModel(const std::string& baseModel, const std::string& wordCounts) {
    WordModel model;
    model.ReadBase(ReadWhole(baseModel, kMaxModelBytes));
    if (!wordCounts.empty() && IsRegularFile(wordCounts))
        model.ReadWordCounts(ReadWhole(wordCounts, kMaxModelBytes));
    return model;
}

void ReadLearntWords(WordModel& model, const std::string& path) {
    if (!StampOf(path)) return;
    model.ReadUser(ReadWhole(path, kMaxLearntBytes));
}

void WriteLearntWords(const WordModel& model, const std::string& path) {
    WriteRegularFile(path, model.WriteUser(kMaxLearntBytes), 0600);
}

}  // namespace glidtavla
