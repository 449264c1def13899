#include "app/predict/model_loader.h"

#include <sched.h>

#include <chrono>

#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QStandardPaths>

#include "text/codec.h"

namespace glidtavla {

ModelLoader::~ModelLoader() {
    if (reader_.valid()) reader_.wait();
    if (writing_.valid()) writing_.wait();
}

std::string ModelLoader::DefaultFile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QFile::encodeName(folder + "/Glidtavla/inlarda-ord.txt").toStdString();
}

void ModelLoader::UseFile(std::string path) {
    if (reading_.valid()) reading_.get();  // read from the files used before: dropped
    FinishWrite();
    file_ = std::move(path);
}

void ModelLoader::UseModel(std::string base, std::string wordCounts) {
    if (reading_.valid()) reading_.get();
    modelPath_ = std::move(base);
    countsPath_ = std::move(wordCounts);
    ownModel_ = true;
}

std::string ModelLoader::SwitchBase(const std::string& base, bool writeLearnt) {
    if (ownModel_ || base == modelPath_) return "";
    const bool started = Started();
    if (reading_.valid()) Load();
    const std::string failure = writeLearnt ? WriteLearnt() : FinishWrite();
    model_.reset();
    error_.clear();
    learntError_.clear();
    modelPath_ = base;
    if (started) Start();
    return failure;
}

void ModelLoader::Start() {
    if (Started()) return;
    std::promise<Loaded> read;
    reading_ = read.get_future();
    reader_ = std::async(std::launch::async, [this, read = std::move(read), base = modelPath_,
                                              counts = countsPath_, learnt = file_]() mutable {
        // Only what the window and the desktop leave idle: the user glides meanwhile.
        const sched_param idle{};
        sched_setscheduler(0, SCHED_IDLE, &idle);
        // Handed over before the window is told: beside a busy core this thread may not run
        // again for a long while, and the window must not wait for it to end.
        read.set_value(Read(base, counts, learnt));
        QMetaObject::invokeMethod(context_, read_, Qt::QueuedConnection);
    });
}

ModelLoader::Loaded ModelLoader::Read(const std::string& base, const std::string& counts,
                                      const std::string& learnt) {
    Loaded loaded;
    try {
        loaded.Model = std::make_unique<WordModel>(LoadWordModel(base, counts));
    } catch (const std::exception& error) {
        loaded.Error = error.what();
        return loaded;
    }
    if (learnt.empty()) return loaded;
    try {
        ReadLearntWords(*loaded.Model, learnt);
    } catch (const std::exception& error) {
        loaded.LearntError = error.what();
    }
    return loaded;
}

bool ModelLoader::Load() {
    if (model_ || !error_.empty()) return model_ != nullptr;
    Loaded loaded = reading_.valid() ? reading_.get() : Read(modelPath_, countsPath_, file_);
    error_ = loaded.Error;
    learntError_ = loaded.LearntError;
    model_ = std::move(loaded.Model);
    return model_ != nullptr;
}

bool ModelLoader::Ready() const {
    if (model_ || !error_.empty()) return true;
    return reading_.valid() &&
           reading_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

namespace {

std::string Failure(const std::string& file, const std::function<void()>& write) {
    try {
        QDir().mkpath(QFileInfo(Shown(file)).absolutePath());
        write();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

}  // namespace

std::string ModelLoader::WriteLearnt() {
    if (!model_ || file_.empty()) return "";
    const std::string failure = FinishWrite();
    if (!failure.empty()) return failure;
    return Failure(file_, [this] { WriteLearntWords(*model_, file_); });
}

bool ModelLoader::StartWritingLearnt(std::function<void(const std::string&)> done) {
    if (!model_ || file_.empty()) return true;
    if (writing_.valid()) return false;
    Written handed{model_->TakeLearntSinceMerge(), {}, {}};
    const std::weak_ptr<int> alive = alive_;
    writing_ = std::async(std::launch::async, [this, alive, done = std::move(done), file = file_,
                                               handed = std::move(handed)]() mutable {
        handed.Failure =
            Failure(file, [&] { handed.Grams = WriteLearntGrams(handed.Taken, file); });
        QMetaObject::invokeMethod(
            context_,
            [this, alive, done] {
                if (alive.expired()) return;
                const std::string failure = FinishWrite();
                if (done) done(failure);
            },
            Qt::QueuedConnection);
        return std::move(handed);
    });
    return true;
}

std::string ModelLoader::FinishWrite() {
    if (!writing_.valid()) return "";
    Written written = writing_.get();
    if (written.Failure.empty()) {
        model_->KeepWritten(std::move(written.Grams));
    } else {
        model_->PutBack(written.Taken);  // written with the next
    }
    return written.Failure;
}

std::string ModelLoader::ForgetLearnt() {
    if (!model_) return "";
    FinishWrite();  // a write under way would bring the words back
    if (file_.empty()) {
        model_->Forget();
        return "";
    }
    return Failure(file_, [this] { ForgetLearntWords(*model_, file_); });
}

}  // namespace glidtavla
