#pragma once

#include <functional>

#include "app/form/form_controls.h"
#include "engine/engine_view.h"

class QLabel;
class QLineEdit;

namespace glidtavla {

class Speech;
class WordPrediction;

// The engine's view over the form's controls: read-outs, the character cell and its code, the
// character line and the text area.
class WidgetView : public EngineView {
  public:
    using FetchListener = std::function<void(uint8_t, std::size_t, std::size_t)>;
    WidgetView(const FormControls& controls, FetchListener fetched)
        : c_(controls), fetched_(std::move(fetched)) {}

    void ShowReadouts(int32_t x0, int32_t y0, int64_t x1, int64_t y1) override;
    void ShowCharacterCell(uint8_t ch, IndicatorColour colour) override;
    void SetCharacterLineColour(IndicatorColour colour) override;
    std::string CharacterLine() override;
    std::size_t CharacterLineLength() override;
    void AppendToCharacterLine(uint8_t ch) override;
    void TruncateCharacterLine(std::size_t length) override;
    void AppendTextAreaLine(const std::string& line) override;
    void CharacterFetched(uint8_t ch, std::size_t lengthBefore, std::size_t lengthAfter) override;
    void ShowArmed(uint8_t code) override;
    std::optional<std::string> WordToComplete(int slot) override;
    // "Skift" or "Skiftlås" at the end of the character line, also told to screen readers.
    void ShiftCellChanged(int state) override;
    // Completes words and learns the lines that reach the text area.
    void UseWords(WordPrediction* words) { words_ = words; }
    // Says what is written and armed, as the user chose.
    void UseSpeech(Speech* speech) { speech_ = speech; }
    // The indicators again, in the colours now in use.
    void Recolour();

  private:
    void SetCharacterLine(const QString& text);
    static void Colour(QLineEdit* indicator, IndicatorColour colour);
    const FormControls& c_;
    FetchListener fetched_;
    WordPrediction* words_ = nullptr;
    Speech* speech_ = nullptr;
    QLabel* shiftState_ = nullptr;
    IndicatorColour cellColour_ = IndicatorColour::White;
    IndicatorColour lineColour_ = IndicatorColour::White;
};

}  // namespace glidtavla
