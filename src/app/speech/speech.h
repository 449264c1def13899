#pragma once

#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/form/setting_values.h"
#include "app/speech/voice.h"

class QAction;
class QMenu;
class QWidget;

namespace glidtavla {

// What the user chose to hear, under "Visa > Tal". All off by default.
struct SpeechSettings {
    bool Words = false;        // "Läs upp ord"
    bool Lines = false;        // "Läs upp rader"
    bool Suggestions = false;  // "Läs upp förslag"
    bool Character = false;    // "Läs upp tecknet"
    bool InDemos = false;      // "Läs upp när en demo spelas"
    int Rate = 0;              // -10 (slow) to 10 (fast)
    QString VoiceName;         // empty: the service's Swedish voice
    friend bool operator==(const SpeechSettings&, const SpeechSettings&) = default;
    static SpeechSettings Read(const SettingValues& values);
    void Write(SettingValues& values) const;
};

// Speaks what is written, through the desktop's speech service, or tells it to the screen
// reader when one runs, so the person hears each thing once. The pointer's read-outs are never
// said; the armed cell only when asked, as it changes only when the pointer reaches a new cell.
class Speech : public QObject {
    Q_OBJECT

  public:
    // window hosts what a screen reader hears; readAllAfter is the Fil item "Läs upp allt"
    // follows; document gives the whole text; demoPlaying tells when a demo writes.
    Speech(QWidget* window, QMenu* menu, QAction* readAllAfter, std::function<QString()> document,
           std::function<bool()> demoPlaying);
    ~Speech() override;

    void Use(const SpeechSettings& settings);
    const SpeechSettings& Current() const { return settings_; }
    void OnChange(std::function<void()> changed) { changed_ = std::move(changed); }
    // For tests: what speaks, and whether a screen reader runs.
    void UseVoice(std::unique_ptr<Voice> voice);
    void SetScreenReader(std::function<bool()> running) { screenReader_ = std::move(running); }

    // A fetch that wrote code; the character line as it is after it, and its length before.
    void Fetched(uint8_t code, std::size_t lengthBefore, const std::string& lineAfter);
    // A line LF moved into the text area (its code 13 kept).
    void LineWritten(const std::string& line);
    // The completion shown for the word begun, empty when none is.
    void Suggested(const std::string& word);
    // What turning back would write now, 0 when nothing is armed.
    void Armed(uint8_t code);
    // "Läs upp allt": the document from the top; any fetch stops it.
    void ReadAll();

    // Whether the voice is known to be missing; the submenu is then disabled, its tooltip says
    // why.
    bool Missing();

  private:
    enum class Kind { Word, Line, Suggestion, Character, Document };
    struct Utterance {
        Kind Type;
        QString Text;
    };
    void CreateMenu(QMenu* menu, QAction* readAllAfter);
    void Changed();
    bool Quiet() const;
    void Say(Kind kind, const QString& text);
    void SayNext();

    QWidget* window_;
    std::function<QString()> document_;
    std::function<bool()> demoPlaying_;
    std::function<bool()> screenReader_;
    std::unique_ptr<Voice> voice_;
    std::function<void()> changed_;
    SpeechSettings settings_;
    std::deque<Utterance> pending_;
    std::optional<Kind> speaking_;
    std::string movedLine_;   // the line LF took, for the word it ends
    std::string wordSaidAt_;  // the character line up to the end of the word said last
    std::string suggested_;
    uint8_t armed_ = 0;
    bool missing_ = false;
    QMenu* menu_ = nullptr;
    QAction *words_, *lines_, *suggestions_, *character_, *demos_, *readAll_;
    std::vector<QAction*> rates_;
    QMenu* voices_ = nullptr;
};

}  // namespace glidtavla
