#pragma once

#include <string>

#include "predict/word_model.h"

namespace glidtavla {

// The Swedish word counts Debian's onboard-data installs; read when they are there.
inline constexpr const char* kSystemWordCounts = "/usr/share/onboard/models/sv_SE.lm";

// The base model: beside the running program in the build, in its data folder once installed.
std::string BaseModelPath();
// The larger base model, built from more text: better guesses for 4 MiB more and a slower load.
std::string LargerModelPath();

// The base model, and the word counts of wordCounts where that file exists (empty: none).
// Throws Error when the base model cannot be read.
WordModel LoadWordModel(const std::string& baseModel, const std::string& wordCounts);

// The user's learnt words into model; a file that is not there is no error. Throws Error when
// the file cannot be read or is not such a file; model keeps its base then.
void ReadLearntWords(WordModel& model, const std::string& path);
// Written whole (no failure loses the old file), readable by its owner only, under a lock: what
// another window wrote there since is merged in first (WordModel::MergeUser), and the model
// goes on from the merge. Throws Error when the file there cannot be read or is damaged, or the
// lock is not had; the file is left as it was then.
void WriteLearntWords(WordModel& model, const std::string& path);
// The file half of WriteLearntWords, for a thread of its own: under the lock, the file's grams
// with since added are written (pruned to the bound) and returned as written. Throws Error as
// WriteLearntWords does, the file left as it was.
WordModel::LearntGrams WriteLearntGrams(const WordModel::LearntGrams& since,
                                        const std::string& path);
// Forgets every learnt word, in the model and in the file, for every window: the file is
// emptied under the same lock, a damaged one too.
void ForgetLearntWords(WordModel& model, const std::string& path);

// The most a file of learnt words may grow to.
inline constexpr std::size_t kMaxLearntBytes = 2 << 20;

}  // namespace glidtavla
