#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace glidtavla {

// What speaks: the desktop's speech service, or a test's recorder.
class Voice {
  public:
    virtual ~Voice() = default;
    // Reaches the service, if it is not reached yet; Opened is told once it is known whether
    // the voice can speak. Saying anything opens it too.
    virtual void Open() = 0;
    // Why the voice cannot speak, to tell the user; empty when it can or it is not known yet.
    virtual QString Missing() = 0;
    // Interrupts whatever is being said.
    virtual void Say(const QString& text) = 0;
    virtual void Stop() = 0;
    virtual bool Speaking() const = 0;
    // The voices of the service for Swedish (or all, when it has none), by name.
    virtual QStringList Voices() = 0;
    // rate from -1 (slow) to 1 (fast); an empty or unknown voice name keeps the Swedish default.
    virtual void Use(double rate, const QString& voice) = 0;
    // Told when what was said has been said (or stopped), and when the service is reached.
    void OnDone(std::function<void()> done) { done_ = std::move(done); }
    void OnOpened(std::function<void()> opened) { opened_ = std::move(opened); }

  protected:
    void Done() {
        if (done_) done_();
    }
    void Opened() {
        if (opened_) opened_();
    }

  private:
    std::function<void()> done_;
    std::function<void()> opened_;
};

// Qt TextToSpeech through speech-dispatcher, on a thread of its own. Nothing is opened until it
// is first needed, so a missing service costs the start nothing.
std::unique_ptr<Voice> OpenSpeechDispatcherVoice();

// What the user is told to install when speech cannot be had.
extern const char* const kSpeechMissing;

}  // namespace glidtavla
