#pragma once

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace glidtavla {

class PointerAids;
class WordPrediction;

// The answers to the three questions of the first start.
struct FirstStartAnswers {
    int Pointer = 0;     // Vilket pekdon? 0 Mus, 1 Styrkula, 2 Huvudmus
    bool Button = true;  // Kan du trycka på en knapp?
    int Tremor = 0;      // Darrar handen eller huvudet? 0 Nej, 1 Lite, 2 Mycket
};

// What the answers set: the pointer kind (and with it the completion thresholds), resting
// presses and their time, the tremor guard, and a ready board (its file name; empty keeps the
// board).
struct FirstStartSetup {
    int Pointer = 0;
    bool Column = false;
    bool DwellPress = false;
    int DwellMs = 1000;
    int GuardPixels = 0;
    std::string Board;
};
FirstStartSetup SetupFor(const FirstStartAnswers& answers);

// Asks the questions one after another with large answers, each a button a rest presses;
// nothing when the user closes the dialog.
std::optional<FirstStartAnswers> AskFirstStart(QWidget* parent);

// Asks, and puts the pointer kind, resting and the guard in force, handing a ready board's
// table to useBoard; false when the questions were closed unanswered.
bool SetUpByAsking(QWidget* parent, WordPrediction& prediction, PointerAids& aids,
                   const std::function<void(const std::string& table)>& useBoard);

}  // namespace glidtavla
