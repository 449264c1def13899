#include "app/speech/voice.h"

#include <QLocale>
#include <QMutex>
#include <QTextToSpeech>
#include <QThread>

#include <atomic>

namespace glidtavla {

const char* const kSpeechMissing =
    "Tal behöver talsyntesen speech-dispatcher med en svensk röst. Installera paketen "
    "speech-dispatcher, speech-dispatcher-espeak-ng och qt6-speech-speechd-plugin.";

namespace {

// The service is reached on a thread of its own: opening it asks for every voice it has, which
// takes seconds, and the window must go on meanwhile. Calls go to that thread in order; what it
// tells comes back to the window's thread.
class SpeechDispatcherVoice : public Voice {
  public:
    SpeechDispatcherVoice() {
        home_.moveToThread(&thread_);
        thread_.setObjectName("Tal");
    }

    ~SpeechDispatcherVoice() override {
        if (!thread_.isRunning()) return;
        QMetaObject::invokeMethod(
            &home_, [this] { engine_.reset(); }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }

    void Open() override {
        if (thread_.isRunning()) return;
        thread_.start();
        OnThread([this] {
            if (QTextToSpeech::availableEngines().contains("speechd"))
                engine_ = std::make_unique<QTextToSpeech>("speechd");
            const bool missing = engine_ == nullptr || engine_->state() == QTextToSpeech::Error;
            if (!missing) {
                QObject::connect(engine_.get(), &QTextToSpeech::stateChanged, &home_,
                                 [this](QTextToSpeech::State state) {
                                     if (state != QTextToSpeech::Ready) return;
                                     speaking_ = false;
                                     OnWindow([this] { Done(); });
                                 });
                for (const QLocale& locale : engine_->availableLocales()) {
                    if (locale.language() == QLocale::Swedish) engine_->setLocale(locale);
                }
                QStringList names;
                for (const QVoice& voice : engine_->availableVoices())
                    names << voice.name();
                const QMutexLocker lock(&mutex_);
                voices_ = names;
            }
            OnWindow([this, missing] {
                missing_ = missing;
                Opened();
            });
        });
        UseNow();
    }

    QString Missing() override { return missing_ ? kSpeechMissing : QString(); }

    void Say(const QString& text) override {
        Open();
        speaking_ = true;
        OnThread([this, text] {
            if (engine_ == nullptr) {
                speaking_ = false;
                OnWindow([this] { Done(); });
                return;
            }
            engine_->say(text);
        });
    }

    void Stop() override {
        if (thread_.isRunning())
            OnThread([this] {
                if (engine_ != nullptr) engine_->stop();
            });
    }

    bool Speaking() const override { return speaking_; }

    QStringList Voices() override {
        Open();
        const QMutexLocker lock(&mutex_);
        return voices_;
    }

    void Use(double rate, const QString& voice) override {
        rate_ = rate;
        voice_ = voice;
        if (thread_.isRunning()) UseNow();
    }

  private:
    void OnThread(std::function<void()> call) {
        QMetaObject::invokeMethod(&home_, std::move(call), Qt::QueuedConnection);
    }
    void OnWindow(std::function<void()> call) {
        QMetaObject::invokeMethod(&window_, std::move(call), Qt::QueuedConnection);
    }
    void UseNow() {
        OnThread([this, rate = rate_, voice = voice_] {
            if (engine_ == nullptr) return;
            engine_->setRate(rate);
            for (const QVoice& offered : engine_->availableVoices()) {
                if (offered.name() == voice) engine_->setVoice(offered);
            }
        });
    }

    QThread thread_;
    QObject home_;    // lives on the thread; the engine's calls are made on it
    QObject window_;  // lives on the window's thread; gone with the voice, and its calls too
    std::unique_ptr<QTextToSpeech> engine_;  // made, used and deleted on the thread
    std::atomic<bool> speaking_ = false;
    bool missing_ = false;
    double rate_ = 0;
    QString voice_;
    QMutex mutex_;
    QStringList voices_;
};

}  // namespace

std::unique_ptr<Voice> OpenSpeechDispatcherVoice() {
    return std::make_unique<SpeechDispatcherVoice>();
}

}  // namespace glidtavla
