#pragma once

#include <string>

#include "app/form/form_controls.h"

namespace glidtavla {

class Dialogs;

class BoardSession;
class CompactPanel;
class FormLayout;
class SettingsKeeper;
class WindowZoom;
class WordPrediction;

// The board session's board in the window: its source line, the controls placed around it,
// its picture at the zoom, the panel and the words shown for it.
class BoardView {
  public:
    // started tells whether START has been pressed.
    BoardView(const FormControls& controls, BoardSession& boards, FormLayout& layout,
              WindowZoom& zoom, CompactPanel& panel, WordPrediction& prediction,
              SettingsKeeper& settings, const bool& started)
        : c_(controls),
          boards_(boards),
          layout_(layout),
          zoom_(zoom),
          panel_(panel),
          prediction_(prediction),
          settings_(settings),
          started_(started) {}

    void Show(bool withSource);
    void ShowSource();
    // "Utan bild" and the remembered drawn board: one load. Before START the board stays hidden.
    void LoadDrawn(const std::string& table);
    void ShowBuiltIn();
    // "Med bild" and "Utan bild" with the file chosen: the name is kept, and the board loaded
    // and remembered unless refused says why not (a demo holds the board).
    void UsePicture(const std::string& picture, const char* refused);
    void UseDrawn(const std::string& table, const char* refused);
    // "Med bild" and "Utan bild": the file asked for, then used as above.
    void AskPicture(Dialogs& dialogs, const char* refused);
    void AskDrawn(Dialogs& dialogs, const char* refused);
    // tecken.tab with tecken.bmp in the start folder, when both are there.
    void LoadStartup(const std::string& folder);
    // As its command loads it. A file that has gone is forgotten without a word; one that
    // cannot be read is reported as the command would report it, and forgotten too.
    void LoadRemembered();

  private:
    const FormControls& c_;
    BoardSession& boards_;
    FormLayout& layout_;
    WindowZoom& zoom_;
    CompactPanel& panel_;
    WordPrediction& prediction_;
    SettingsKeeper& settings_;
    const bool& started_;
};

}  // namespace glidtavla
