#pragma once

#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/form/form_controls.h"
#include "app/predict/model_loader.h"
#include "app/predict/prediction_settings.h"
#include "app/predict/suggestion_overlays.h"
#include "model/prediction_cost.h"
#include "predict/suggestion_policy.h"

class QAction;
class QMenu;

namespace glidtavla {

class Dialogs;
class FormLayout;
struct CharacterBoard;

// Word prediction in the window: the best completion of the word on the character line in
// the centre cell and greyed after the line, written by SP with shift; the next ones in a
// column of word slots beside the board, if chosen; what the user writes, learnt. Everything
// is off while a demo is recorded or played, so demos replay exactly.
class WordPrediction {
  public:
    // engineBoard is the board the engine writes on, kept by its owner; demoInUse tells when a
    // demo holds prediction back.
    WordPrediction(const FormControls& controls, const FormLayout& layout, QMenu* menu,
                   Dialogs& dialogs, const CharacterBoard& engineBoard,
                   std::function<bool()> demoInUse);
    ~WordPrediction();
    // How long the writer pauses before what was learnt is written (and at the latest when the
    // window closes).
    static constexpr int kWritePauseMs = 1000;

    void UseFile(std::string path) { loader_.UseFile(std::move(path)); }
    static std::string DefaultFile() { return ModelLoader::DefaultFile(); }
    void UseModel(std::string base, std::string wordCounts) {
        loader_.UseModel(std::move(base), std::move(wordCounts));
    }
    void Use(const PredictionSettings& settings);
    // Whether the model has been read: completions are offered from then on.
    bool ModelRead() const { return loader_.Model() != nullptr; }
    const PredictionSettings& Current() const { return settings_; }
    // Told when the user changes a setting.
    void OnChange(std::function<void()> changed) { changed_ = std::move(changed); }
    // glidtavla --no-predict: off for this run, the setting kept as it is.
    void OffForThisRun();
    // Whether the word column is to stand beside the board; told at every change of a setting,
    // before the words shown follow.
    bool ColumnShown() const { return settings_.Column && settings_.On && !offForRun_; }
    void OnColumn(std::function<void(bool)> changed) { columnChanged_ = std::move(changed); }
    // Told the centre's word after each refresh, empty when none is shown.
    void OnShown(std::function<void(const std::string&)> shown) { centreShown_ = std::move(shown); }
    // Whether what is written now may be learnt from (also the writer's pace), and whether a
    // sign writes its space: never in a demo.
    bool Learning() const { return settings_.Learn && !demoInUse_(); }
    bool SpaceAfterSigns() const { return settings_.SpaceAfterSigns && !demoInUse_(); }
    // The centre completion's threshold, when not the pointer kind's, for the model's own
    // probability or the calibrated one.
    void UseThreshold(std::function<std::optional<double>(bool calibrated)> threshold) {
        threshold_ = std::move(threshold);
    }
    // The user pressed START: the model is read on a thread of its own, so neither the window
    // nor the first glide waits for it.
    void Started();
    // Takes the model now, if it is not taken; false when it cannot be read.
    bool Load();
    bool ModelReady();

    // What the engine asks of a fetch of SP with shift (slot 0) or of a word slot.
    std::optional<std::string> WordToComplete(int slot);
    // A line that reached the text area, and the character line when a save keeps it.
    void LineWritten(const std::string& line);
    void CharacterLineSaved();

    // The character line, the board or the zoom changed: the words shown follow.
    void Refresh();
    // The words shown: the centre's first, then the column's (empty where none).
    const std::vector<std::string>& Shown() const { return shown_; }
    // The model that suggests now (none while prediction is off or the model unread), and the
    // prediction as set, for the cost model.
    const WordModel* ModelInUse() const { return Active() ? loader_.Model() : nullptr; }
    PredictionOptions Modelled() const;

  private:
    bool Active() const;
    SuggestionPolicy Policy() const;  // with the model read
    void CreateMenu(QMenu* menu);
    void Changed();
    void UseBase();
    void Learn(const std::string& text);
    void WriteLearnt();
    void WriteLearntSoon();
    void ReportWrite(const std::string& failure);
    void Forget();

    const FormControls& c_;
    Dialogs& dialogs_;
    const CharacterBoard& board_;
    std::function<bool()> demoInUse_;
    std::function<void()> changed_;
    std::function<void(bool)> columnChanged_;
    std::function<void(const std::string&)> centreShown_;
    std::function<std::optional<double>(bool)> threshold_;
    PredictionSettings settings_;
    bool offForRun_ = false;
    SuggestionOverlays overlays_;
    ModelLoader loader_;
    bool mayWrite_ = true;  // false after a file that could not be read: it is left as it was
    bool reportedWrite_ = false;
    QTimer writeSoon_;
    std::string lastLearnt_;             // the character line a save learnt, not to learn twice
    std::vector<std::string> unlearnt_;  // lines written while the model was being read
    std::vector<std::string> shown_;
    std::vector<std::string> rest_;  // of each shown word, what completes it
    QAction *on_, *learn_, *forget_, *column_, *signSpace_, *larger_;
    std::vector<QAction*> pointers_;
};

}  // namespace glidtavla
