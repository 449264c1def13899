#pragma once

#include <functional>
#include <future>
#include <memory>
#include <string>

#include "predict/model_files.h"
#include "predict/word_model.h"

class QObject;

namespace glidtavla {

// The word model and what the user taught it, read on a thread of its own so that neither the
// window nor the first glide waits, and the file of learnt words written back.
class ModelLoader {
  public:
    // read runs on context's thread once the thread has read the model.
    ModelLoader(QObject* context, std::function<void()> read)
        : context_(context), read_(std::move(read)) {}
    ~ModelLoader();

    // Where learnt words are kept; without a file they last as long as the run.
    void UseFile(std::string path);
    const std::string& File() const { return file_; }
    static std::string DefaultFile();
    // The base model and the system's word counts, when not the installed ones.
    void UseModel(std::string base, std::string wordCounts);
    // Another installed base model. A model read already is read again from it, the learnt
    // words written first (when writeLearnt) so that none is lost; what went wrong in that
    // write, or empty. Nothing changes after UseModel.
    std::string SwitchBase(const std::string& base, bool writeLearnt);

    // Starts reading, once.
    void Start();
    bool Started() const { return model_ || reading_.valid() || !error_.empty(); }
    // Takes the model now (waiting for the thread, or reading it here), if it is not taken;
    // false when it cannot be read.
    bool Load();
    // Whether Load would return at once: the thread has read the model (or failed to).
    bool Ready() const;
    WordModel* Model() const { return model_.get(); }
    // Why the model could not be read, or why the learnt words could not (the model works).
    const std::string& Error() const { return error_; }
    const std::string& LearntError() const { return learntError_; }
    // Writes the learnt words to the file, merged with what another window wrote there; what
    // went wrong, or empty. Waits for a write begun by StartWritingLearnt first.
    std::string WriteLearnt();
    // The same on a thread of its own, so the window never waits for the file: done runs on
    // context's thread with what went wrong, or empty. False, starting nothing, while the
    // last write is still going on.
    bool StartWritingLearnt(std::function<void(const std::string&)> done);
    // Forgets the learnt words, in the model and the file (for every window); what went wrong,
    // or empty.
    std::string ForgetLearnt();

  private:
    struct Loaded {
        std::unique_ptr<WordModel> Model;
        std::string Error;
        std::string LearntError;
    };
    static Loaded Read(const std::string& base, const std::string& counts,
                       const std::string& learnt);
    struct Written {
        WordModel::LearntGrams Taken, Grams;  // what was handed over, what the file now holds
        std::string Failure;
    };
    // Waits for the write on its thread, if any, and lets the model go on from it.
    std::string FinishWrite();

    QObject* context_;
    std::function<void()> read_;
    std::unique_ptr<WordModel> model_;
    std::future<Loaded> reading_;                           // what the thread has read
    std::future<void> reader_;                              // waited for when destroyed
    std::future<Written> writing_;                          // waited for when destroyed
    std::shared_ptr<int> alive_ = std::make_shared<int>();  // for what the threads send back
    std::string error_, learntError_;
    std::string file_;
    std::string modelPath_ = BaseModelPath();
    bool ownModel_ = false;  // UseModel chose it
    std::string countsPath_ = kSystemWordCounts;
};

}  // namespace glidtavla
