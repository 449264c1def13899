#pragma once

#include <QImage>
#include <QLabel>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

#include "app/dialogs.h"
#include "app/settings/settings.h"
#include "app/speed_line.h"
#include "app/typing/typing_mode.h"
#include "app/zoom/board_zoom.h"
#include "board/character_board.h"
#include "demo/demo_file.h"
#include "engine/engine_view.h"
#include "engine/selection_engine.h"
#include "text/document.h"

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace glidtavla {

// The board image: shows its picture unscaled at the top left and reports the pointer.
class BoardImage : public QLabel {
  public:
    using QLabel::QLabel;
    std::function<void(QMouseEvent*)> OnMove, OnPress, OnRelease;
    std::function<void()> OnEnter, OnLeave;

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The main window. Its handlers carry the program's steps; the engine sees it as its view.
class TForm1 : public QMainWindow, public EngineView {
    Q_OBJECT

  public:
    TForm1(std::string documentPath, std::unique_ptr<Dialogs> dialogs = nullptr);
    ~TForm1() override;

    // Program-wide state.
    CharacterBoard Board;
    SelectionState State;
    bool Started = false;
    bool Recording = false;
    bool Playing = false;
    std::string DocumentPath, StartDirectory, DemoPath, PicturePath, TablePath;
    DemoFile Demo;

    // Controls, named as the form names them.
    BoardImage* Image1;
    QLabel *Label1, *Label2, *Label3, *Image2, *Image3;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9;
    QPlainTextEdit *Memo1, *Memo2;
    QPushButton* Button1;
    QTimer* Timer1;
    QAction *Open1, *Spara2, *Sparasom1, *Sluta1, *bild, *ubild, *Inbyggt, *Bruksanvisning2, *Mdemo,
        *Kdemo1, *SkrivAndra, *KopieraAllt;

    // Beyond the form: typing into other programs, and the board at a zoom.
    std::unique_ptr<TypingMode> Typing;
    std::unique_ptr<SpeedLine> Speed;
    int Zoom = 100;  // percent
    BoardPicture Picture;
    QAction* ZoomToWindow = nullptr;
    void SetZoom(int percent);
    void FitZoomToWindow();
    // Settings kept between runs; without a store nothing is read or kept.
    void UseSettings(std::unique_ptr<SettingsStore> store);
    void RememberSettings();

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
    void InbyggtClick();
    void MdemoClick();
    void Kdemo1Click();
    void Timer1Timer();
    void SkrivAndraClick();
    void KopieraAlltClick();

    void ApplyBoardLayout(int width, int height);
    void LoadStartupBoard();
    void ShowBoardSource();
    bool LoadBoardWithPicture();  // false when a file is missing
    void SetCaption();

    // The text area's lines as bytes; the document.
    std::vector<std::string> TextAreaLines() const;
    void SetTextAreaLines(const std::vector<std::string>& lines);

    // EngineView.
    void ShowReadouts(int32_t x0, int32_t y0, int64_t x1, int64_t y1) override;
    void ShowCharacterCell(uint8_t ch, IndicatorColour colour) override;
    void SetCharacterLineColour(IndicatorColour colour) override;
    std::string CharacterLine() override;
    std::size_t CharacterLineLength() override;
    void AppendToCharacterLine(uint8_t ch) override;
    void TruncateCharacterLine(std::size_t length) override;
    void AppendTextAreaLine(const std::string& line) override;
    void CharacterFetched(uint8_t ch, std::size_t lengthBefore, std::size_t lengthAfter) override;

    // Runs a handler's body; an error ends it and is shown in the message box.
    void Guarded(const std::function<void()>& body);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* Client() const;
    void CreateViewMenu();
    void RefreshBoardPicture();
    void PlaceReadouts(int boardWidth);
    void ApplyTextSizes();
    int64_t BelowBoard(int pixelsAt100) const;
    void RememberBoard(const RememberedBoard& board);
    void LoadRememberedBoard();
    void ShowAsRemembered();
    void CreateControls();
    void CreateMenu();
    void LoadDocument(const std::string& path);
    void SaveDocument(const std::string& path);
    bool DocumentChanged() const;
    void MarkDocumentSaved();
    QString DocumentPreset() const;
    void RememberDocumentFolder(const std::string& path);
    bool MayClose();
    void SaveAs();
    void EndDemoUse();
    void ShowBuiltInBoard();
    SampleRecorder* ActiveRecorder() { return Recording ? &recorder_ : nullptr; }

    std::unique_ptr<Dialogs> dialogs_;
    DemoRecorder recorder_{Demo};
    bool activated_ = false;
    TextEncoding encoding_ = TextEncoding::Windows1252;
    QString savedCharacterLine_;
    std::unique_ptr<SettingsStore> settingsStore_;
    Settings settings_;
    IndicatorColour cellColour_ = IndicatorColour::White;
    IndicatorColour lineColour_ = IndicatorColour::White;
};

}  // namespace glidtavla
