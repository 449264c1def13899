#pragma once

#include <deque>
#include <optional>
#include <utility>

#include "app/form/dialogs.h"

namespace glidtavla {

// Dialogs answered in advance; errors are kept instead of shown.
class ScriptedDialogs : public Dialogs {
  public:
    std::optional<QString> Ask(DialogKind kind, const QString& preset) override {
        LastKind = kind;
        LastPreset = preset;
        if (Answers.empty()) return std::nullopt;
        const QString answer = Answers.front();
        Answers.pop_front();
        if (answer.isNull()) return std::nullopt;
        return answer;
    }
    void ShowError(const QString& message) override { Errors << message; }
    SaveChoice AskToSave(const QString& documentName) override {
        SaveQuestions << documentName;
        if (SaveAnswers.empty()) return SaveChoice::Cancel;
        const SaveChoice answer = SaveAnswers.front();
        SaveAnswers.pop_front();
        return answer;
    }

    ReplaceChoice AskToReplace(const QString& documentName, const QString& freeName) override {
        ReplaceQuestions << documentName + " | " + freeName;
        if (ReplaceAnswers.empty()) return ReplaceChoice::Cancel;
        const ReplaceChoice answer = ReplaceAnswers.front();
        ReplaceAnswers.pop_front();
        return answer;
    }
    std::deque<QString> Answers;  // a null string cancels
    std::optional<DialogKind> LastKind;
    QString LastPreset;
    QStringList Errors;
    std::deque<SaveChoice> SaveAnswers;  // none left: "Avbryt"
    QStringList SaveQuestions;
    std::deque<ReplaceChoice> ReplaceAnswers;  // none left: "Avbryt"
    QStringList ReplaceQuestions;
};

}  // namespace glidtavla
