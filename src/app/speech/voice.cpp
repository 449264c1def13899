#include "app/speech/voice.h"

#include <QLocale>
#include <QTextToSpeech>

namespace glidtavla {

const char* const kSpeechMissing =
    "Tal behöver talsyntesen speech-dispatcher med en svensk röst. Installera paketen "
    "speech-dispatcher, speech-dispatcher-espeak-ng och qt6-speech-speechd-plugin.";

namespace {

class SpeechDispatcherVoice : public Voice {
  public:
    QString Missing() override {
        Open();
        if (engine_ == nullptr || engine_->state() == QTextToSpeech::Error) return kSpeechMissing;
        return QString();
    }

    void Say(const QString& text) override {
        if (!Missing().isEmpty()) return;
        engine_->say(text);
    }

    void Stop() override {
        if (engine_ != nullptr) engine_->stop();
    }

    bool Speaking() const override {
        return engine_ != nullptr && engine_->state() == QTextToSpeech::Speaking;
    }

    QStringList Voices() override {
        QStringList names;
        if (!Missing().isEmpty()) return names;
        for (const QVoice& voice : engine_->availableVoices())
            names << voice.name();
        return names;
    }

    void Use(double rate, const QString& voice) override {
        rate_ = rate;
        voice_ = voice;
        if (engine_ == nullptr) return;
        engine_->setRate(rate);
        for (const QVoice& offered : engine_->availableVoices()) {
            if (offered.name() == voice) engine_->setVoice(offered);
        }
    }

  private:
    void Open() {
        if (opened_) return;
        opened_ = true;
        if (!QTextToSpeech::availableEngines().contains("speechd")) return;
        engine_ = std::make_unique<QTextToSpeech>("speechd");
        QObject::connect(engine_.get(), &QTextToSpeech::stateChanged, engine_.get(),
                         [this](QTextToSpeech::State state) {
                             if (state == QTextToSpeech::Ready) Done();
                         });
        const QLocale swedish(QLocale::Swedish, QLocale::Sweden);
        if (engine_->availableLocales().contains(swedish)) engine_->setLocale(swedish);
        Use(rate_, voice_);
    }

    bool opened_ = false;
    std::unique_ptr<QTextToSpeech> engine_;
    double rate_ = 0;
    QString voice_;
};

}  // namespace

std::unique_ptr<Voice> OpenSpeechDispatcherVoice() {
    return std::make_unique<SpeechDispatcherVoice>();
}

}  // namespace glidtavla
