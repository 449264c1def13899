#pragma once

#include <QString>

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/settings/settings.h"
#include "board/character_board.h"
#include "predict/model_files.h"
#include "predict/word_model.h"

class QAction;
class QLabel;
class QMenu;
class QWidget;

namespace glidtavla {

class BoardSession;
class Dialogs;
class WindowZoom;
struct FormControls;

// Word prediction in the window: the best completion of the word on the character line in
// the centre cell and greyed after the line, written by SP with shift; the next ones in a
// column of word slots beside the board, if chosen; what the user writes, learnt. Everything
// is off while a demo is recorded or played, so demos replay exactly.
class WordPrediction {
  public:
    WordPrediction(const FormControls& controls, QMenu* menu, Dialogs& dialogs,
                   const BoardSession& boards, const WindowZoom& zoom,
                   std::function<bool()> demoInUse);
    ~WordPrediction();

    // Where learnt words are kept; without a file they last as long as the run.
    void UseFile(std::string path);
    static std::string DefaultFile();
    // The base model and the system's word counts, when not the installed ones.
    void UseModel(std::string base, std::string wordCounts);
    void Use(const PredictionSettings& settings);
    const PredictionSettings& Current() const { return settings_; }
    // Told when the user changes a setting.
    void OnChange(std::function<void()> changed) { changed_ = std::move(changed); }
    // glidtavla --no-predict: off for this run, the setting kept as it is.
    void OffForThisRun();
    // The user pressed START: the model is read on a thread of its own, so neither the window
    // nor the first glide waits for it.
    void Started();
    // Takes the model now (waiting for that thread, or reading it here), if it is not taken;
    // false when it cannot be read.
    bool Load();

    // What the engine asks of a fetch of SP with shift (slot 0) or of a word slot.
    std::optional<std::string> WordToComplete(int slot);
    // A line that reached the text area, and the character line when a save keeps it.
    void LineWritten(const std::string& line);
    void CharacterLineSaved();

    // The character line, the board or the zoom changed: the words shown follow.
    void Refresh();
    // The board the engine works on: with the word column when it is shown.
    const CharacterBoard& EngineBoard();
    // The words shown: the centre's first, then the column's (empty where none).
    const std::vector<std::string>& Shown() const { return shown_; }

  private:
    bool Active() const;
    void CreateMenu(QMenu* menu);
    void Changed();
    void Learn(const std::string& text);
    void Forget();
    void PlaceCentre(const std::string& word);
    void PlaceColumn();

    const FormControls& c_;
    Dialogs& dialogs_;
    const BoardSession& boards_;
    const WindowZoom& zoom_;
    std::function<bool()> demoInUse_;
    std::function<void()> changed_;
    PredictionSettings settings_;
    bool offForRun_ = false;
    // The model and what the user taught it, read together, on any thread.
    struct Loaded {
        std::unique_ptr<WordModel> model;
        std::string error;        // the model could not be read
        std::string learntError;  // the learnt words could not be read; the model works
    };
    static Loaded ReadModel(const std::string& base, const std::string& counts,
                            const std::string& learnt);

    std::unique_ptr<WordModel> model_;
    std::future<Loaded> reading_;  // waited for when destroyed
    std::string loadError_;
    std::string file_;
    std::string modelPath_ = BaseModelPath();
    std::string countsPath_ = kSystemWordCounts;
    bool mayWrite_ = true;  // false after a file that could not be read: it is left as it was
    bool reportedWrite_ = false;
    std::string lastLearnt_;  // the character line a save learnt, not to learn twice
    QString description_;     // the character line's own, before a suggestion is added
    std::vector<std::string> shown_;
    std::vector<std::string> rest_;  // of each shown word, what completes it
    CharacterBoard board_;
    QLabel* centre_;
    QLabel* ghost_;
    std::vector<QLabel*> slots_;
    QAction *on_, *learn_, *forget_, *column_;
    std::vector<QAction*> pointers_;
};

}  // namespace glidtavla
