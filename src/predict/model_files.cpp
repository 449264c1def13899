#include "predict/model_files.h"

#include <unistd.h>

#include <cerrno>
#include <climits>

#include "base/errors.h"
#include "base/files.h"

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
    return InstalledDataPath("sv-words.model");
}

std::string LargerModelPath() {
    return InstalledDataPath("sv-words-large.model");
}

WordModel LoadWordModel(const std::string& baseModel, const std::string& wordCounts) {
    WordModel model;
    model.ReadBase(ReadWhole(baseModel, kMaxModelBytes));
    if (wordCounts.empty() || !IsRegularFile(wordCounts)) return model;
    // The system's word counts only add to the base: counts that cannot be read (too large,
    // gone meanwhile) leave prediction on, on the base alone.
    try {
        model.ReadWordCounts(ReadWhole(wordCounts, kMaxModelBytes));
    } catch (const Error&) {
    }
    return model;
}

void ReadLearntWords(WordModel& model, const std::string& path) {
    if (!StampOf(path)) return;
    model.ReadUser(ReadWhole(path, kMaxLearntBytes));
}

namespace {

void NeedHeld(const FileLock& lock, const std::string& path) {
    if (!lock.Held()) throw Error(path + ": another program holds the learnt words");
}

}  // namespace

void WriteLearntWords(WordModel& model, const std::string& path) {
    const FileLock lock(path + ".lock");
    NeedHeld(lock, path);
    model.MergeUser(StampOf(path) ? ReadWhole(path, kMaxLearntBytes) : std::string());
    WriteRegularFile(path, model.WriteUser(kMaxLearntBytes), 0600);
}

WordModel::LearntGrams WriteLearntGrams(const WordModel::LearntGrams& since,
                                        const std::string& path) {
    const FileLock lock(path + ".lock");
    NeedHeld(lock, path);
    WordModel::LearntGrams grams = StampOf(path)
                                       ? WordModel::ParseUser(ReadWhole(path, kMaxLearntBytes))
                                       : WordModel::LearntGrams{};
    WordModel::AddGrams(grams, since);
    WordModel::LearntGrams written;
    WriteRegularFile(path, WordModel::WriteGrams(grams, kMaxLearntBytes, &written), 0600);
    return written;
}

void ForgetLearntWords(WordModel& model, const std::string& path) {
    const FileLock lock(path + ".lock");
    NeedHeld(lock, path);
    model.Forget();
    WriteRegularFile(path, model.WriteUser(kMaxLearntBytes), 0600);
}

}  // namespace glidtavla
