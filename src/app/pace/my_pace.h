#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "model/prediction_cost.h"
#include "model/writer_fit.h"

class QAction;
class QLabel;
class QMenu;
class QWidget;

namespace glidtavla {

class Dialogs;

// The present board, what was written on it, and the word model that suggests (none: no
// prediction) with the prediction as set.
struct PaceSetup {
    const CharacterBoard* Board = nullptr;
    std::string Text;
    const WordModel* Model = nullptr;
    PredictionOptions Options;
};

// "Visa > Min skrivtakt": the writer's own glides, measured while they write (never in a demo,
// and only while the program may learn from them), fitted and shown beside what the present
// board gives at that pace; with "Låt min skrivtakt styra förslagen" the centre completion's
// threshold comes from the fit once it has enough glides. Kept in a file of the user's alone.
class MyPace {
  public:
    MyPace(QMenu* menu, Dialogs& dialogs, std::function<bool()> measuring);
    ~MyPace();
    MyPace(const MyPace&) = delete;
    MyPace& operator=(const MyPace&) = delete;

    void UseFile(std::string path);
    // Seconds on a steady clock; tests give their own.
    void UseClock(std::function<double()> clock) { clock_ = std::move(clock); }
    static std::string DefaultFile();
    // Each pointer sample the engine processed on board; a fetch it made is told before.
    void Fetched() { fetched_ = true; }
    void Sampled(const CharacterBoard& board, int32_t x, int32_t y);
    void CompletionShown();
    // What the window writes with now, for the modelled speed.
    void UseSetup(std::function<PaceSetup()> setup) { setup_ = std::move(setup); }

    WriterFit Fit() const;
    // The threshold the fit gives, when it is to steer and has enough glides.
    std::optional<double> Threshold(bool calibrated) const;
    QString Summary() const;
    void Save();

  private:
    void Forget();
    void Refresh();
    double MeanBits() const;  // of the glides measured, a character

    Dialogs& dialogs_;
    std::function<bool()> measuring_;
    std::function<PaceSetup()> setup_;
    std::string path_;
    GlideMeter meter_;
    std::function<double()> clock_;
    bool fetched_ = false;
    std::size_t saved_ = 0;  // glides in the file
    QLabel* figures_;
    QAction* steer_;
};

}  // namespace glidtavla
