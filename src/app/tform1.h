#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/board_session.h"
#include "app/demo_session.h"
#include "app/form/board_image.h"
#include "app/form/dialogs.h"
#include "app/form/form_controls.h"
#include "engine/selection_engine.h"

namespace glidtavla {

class BoardView;
class CompactPanel;
class HighContrast;
class FormLayout;
class PointerAids;
class DocumentSession;
class SettingsKeeper;
class SettingsStore;
class MyPace;
class SpeedLine;
class Speech;
class TypingMode;
class WidgetView;
class WindowZoom;
class WordPrediction;

// The main window: the form's controls, its menus and handlers, which delegate to the objects
// it owns. Controls carry the form's names as object names, for tests and assistive technology.
class TForm1 : public QMainWindow, private FormControls {
    Q_OBJECT

  public:
    TForm1(std::string documentPath, std::unique_ptr<Dialogs> dialogs = nullptr);
    ~TForm1() override;

    // Handlers.
    void FormActivate();
    void Button1Click();
    void Image1MouseMove(int x, int y, bool leftHeld, bool insideImage);
    void Image1MouseDown(Qt::MouseButton button);
    void Image1MouseUp();
    void Image1MouseEnter();
    void Image1MouseLeave();
    void Open1Click();
    void Spara2Click();
    void Sparasom1Click();
    void Sluta1Click();
    void Bruksanvisning2Click();
    void Memo2Click();
    void Edit7Click();
    void bildClick();
    void ubildClick();
    void StallInClick();
    void InbyggtClick();
    void MdemoClick();
    void Kdemo1Click();
    void Timer1Timer();
    void SkrivAndraClick();
    void KopieraAlltClick();

    void ApplyBoardLayout(int width, int height);
    void SetCaption();

    // Settings kept between runs, read before the window is shown so they are in force from
    // the start.
    void UseSettings(std::unique_ptr<SettingsStore> store);
    // The first start's questions, once for a store that has not had them.
    void AskFirstStartIfDue();
    void SetZoom(int percent);
    TypingMode& Typing() { return *typing_; }
    WordPrediction& Prediction() { return *prediction_; }
    MyPace& Pace() { return *pace_; }
    PointerAids& Aids() { return *aids_; }
    Speech& Speaking() { return *speech_; }
    HighContrast& Contrast() { return *contrast_; }

    // Runs a handler's body; an error ends it and is shown in the message box.
    void Guarded(const std::function<void()>& body);

    // What the window is showing, read-only.
    const CharacterBoard& Board() const { return boards_.Board(); }
    const BoardSession& Boards() const { return boards_; }
    const DemoSession& Demo() const { return demo_; }
    const SelectionState& State() const { return state_; }
    bool Started() const { return started_; }
    const std::string& StartDirectory() const { return startDirectory_; }
    const std::string& DocumentPath() const;
    std::vector<std::string> TextAreaLines() const;
    int Zoom() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void CreateControls();
    void CreateMenu();
    void CreateViewMenu();
    void Wire();
    // Why board commands do nothing now (a demo holds the board), or nullptr.
    const char* Refusal() const;
    void ShowAsRemembered();
    void TypingChanged(bool on);
    void EnterPanel();

    std::unique_ptr<Dialogs> dialogs_;
    BoardSession boards_;
    DemoSession demo_;
    SelectionState state_;
    bool started_ = false;
    bool activated_ = false;
    std::string startDirectory_;
    std::unique_ptr<FormLayout> layout_;
    std::unique_ptr<WidgetView> view_;
    std::unique_ptr<DocumentSession> document_;
    std::unique_ptr<TypingMode> typing_;
    std::unique_ptr<SpeedLine> speed_;
    std::unique_ptr<MyPace> pace_;
    std::unique_ptr<WindowZoom> zoom_;
    std::unique_ptr<CompactPanel> panel_;
    std::unique_ptr<SettingsKeeper> settings_;
    std::unique_ptr<WordPrediction> prediction_;
    std::unique_ptr<BoardView> board_;
    std::unique_ptr<Speech> speech_;
    PointerAids* aids_ = nullptr;
    HighContrast* contrast_ = nullptr;
};

}  // namespace glidtavla
