#pragma once

#include <QString>

#include <string>
#include <vector>

#include "app/form/form_controls.h"

class QLabel;

namespace glidtavla {

class FormLayout;
struct CharacterBoard;

// The suggestions over the form: the completion in the centre cell and greyed after the
// character line (also told to screen readers), and the words over the column's slots.
class SuggestionOverlays {
  public:
    SuggestionOverlays(const FormControls& controls, const FormLayout& layout);

    // words: the centre's first (empty for none), then slot 1's, 2's ...; rest: what completes
    // the centre's. Slots are shown where board has them and shown is set.
    void Show(const CharacterBoard& board, const std::vector<std::string>& words,
              const std::string& rest, bool shown);

  private:
    void Recolour();
    void ShowCentre(const CharacterBoard& board, const std::string& word, const std::string& rest);
    void ShowColumn(const CharacterBoard& board, const std::vector<std::string>& words, bool shown);

    const FormControls& c_;
    const FormLayout& layout_;
    QString description_;  // the character line's own, before a suggestion is added
    QLabel* centre_;
    QLabel* ghost_;
    std::vector<QLabel*> slots_;
    bool high_ = false;  // in high contrast
};

}  // namespace glidtavla
