#include "app/tform1.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "app/accessibility.h"
#include "app/board_view.h"
#include "app/contrast/high_contrast.h"
#include "app/demo_notice.h"
#include "app/document_session.h"
#include "app/first_start.h"
#include "app/form/client_area.h"
#include "app/form/colours.h"
#include "app/form/form_layout.h"
#include "app/form/menu_items.h"
#include "app/form/window_place.h"
#include "app/pace/my_pace.h"
#include "app/pointer/pointer_aids.h"
#include "app/predict/word_prediction.h"
#include "app/settings/settings_store.h"
#include "app/settings_keeper.h"
#include "app/speech/speech.h"
#include "app/speed_line.h"
#include "app/typing/compact_panel.h"
#include "app/typing/typing_mode.h"
#include "app/widget_view.h"
#include "app/zoom/window_zoom.h"
#include "base/errors.h"
#include "base/files.h"
#include "pictures/builtin_picture.h"
#include "text/codec.h"

namespace glidtavla {

namespace {

const char* const kCaptionStart = "Glidtavla Ver 1.01 ";
const char* const kCaptionTrailer = "    Glidtavla, fri programvara för alla  2026-12-07";

}  // namespace

TForm1::TForm1(std::string documentPath, std::unique_ptr<Dialogs> dialogs)
    : dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>(this)) {
    setObjectName("Form1");
    setGeometry(73, 351, 812, 588);
    setFont(PixelFont("DejaVu Sans", 11));
    Client = CreateClientArea(this, CurrentColours().Background);
    CreateControls();
    CreateMenu();
    CreateViewMenu();
    const FormControls& controls = *this;
    // Each object is made after those it uses; what calls back between them is wired last.
    view_ = std::make_unique<WidgetView>(controls,
                                         [this](uint8_t ch, std::size_t before, std::size_t after) {
                                             if (!demo_.Holds(DemoSession::Held::Typing))
                                                 typing_->Fetched(ch, before, after);
                                             speed_->Fetched(ch);
                                             pace_->Fetched();
                                         });
    view_->UseWords(prediction_.get());
    view_->UseSpeech(speech_.get());
    settings_ =
        std::make_unique<SettingsKeeper>(static_cast<QWidget&>(*this), *zoom_, *typing_, *speed_,
                                         *panel_, *prediction_, *aids_, *speech_, *contrast_);
    document_ = std::make_unique<DocumentSession>(
        controls, *dialogs_, [this] { SetCaption(); },
        [this](const std::string& path, bool written) {
            settings_->RememberDocumentFolder(path);
            if (written) prediction_->CharacterLineSaved();
        });
    document_->Name(std::move(documentPath));
    board_ = std::make_unique<BoardView>(controls, boards_, *layout_, *zoom_, *panel_, *prediction_,
                                         *settings_, started_);
    Wire();
    NameControlsForAssistiveTechnology(controls);
}

void TForm1::Wire() {
    typing_->SetListener([this](bool on) { TypingChanged(on); });
    zoom_->OnChange([this] {
        layout_->PlaceDemoMarker(state_.X0, state_.Y0);
        panel_->Refit();
        prediction_->Refresh();
        settings_->Remember();
    });
    speed_->OnChange([this] { settings_->Remember(); });
    prediction_->OnColumn([this](bool shown) {
        boards_.ShowWordColumn(shown);
        layout_->PlaceBoardImage();
    });
    prediction_->OnChange([this] { settings_->Remember(); });
    aids_->OnChange([this] { settings_->Remember(); });
    speech_->OnChange([this] { settings_->Remember(); });
    contrast_->OnChange([this] { settings_->Remember(); });
    prediction_->OnShown([this](const std::string& word) {
        speech_->Suggested(word);
        if (!word.empty()) pace_->CompletionShown();
    });
    prediction_->UseThreshold([this](bool calibrated) { return pace_->Threshold(calibrated); });
    pace_->UseSetup([this] {
        return PaceSetup{&boards_.Board(), FromQString(Memo1->toPlainText() + Edit1->text()),
                         prediction_->ModelInUse(), prediction_->Modelled()};
    });
    if (auto* qt = dynamic_cast<QtDialogs*>(dialogs_.get()))
        qt->UseOwnChooser({[this] { return aids_->Current().LargeChooser; },
                           [this] { return Edit1->text(); },
                           [this] { return settings_->RecentDocuments(); }});
    settings_->ReportFailuresTo(*dialogs_);
}

TForm1::~TForm1() = default;

void TForm1::CreateControls() {
    CreateFormControls(*this, this);
    const FormControls& controls = *this;
    layout_ = std::make_unique<FormLayout>(this, controls, boards_.Board(), boards_.EngineBoard());
    Image1->OnMove = [this](QMouseEvent* e) {
        const QPoint p = e->position().toPoint();
        const bool left = e->buttons().testFlag(Qt::LeftButton);
        // The engine works in board pixels whatever the zoom.
        Guarded([&] {
            Image1MouseMove(layout_->ToBoard(p.x()), layout_->ToBoard(p.y()), left,
                            Image1->rect().contains(p));
        });
    };
    Image1->OnPress = [this](QMouseEvent* e) { Image1MouseDown(e->button()); };
    Image1->OnRelease = [this](QMouseEvent*) { Image1MouseUp(); };
    Image1->OnEnter = [this] { Image1MouseEnter(); };
    Image1->OnLeave = [this] { Image1MouseLeave(); };
    connect(Button1, &QPushButton::clicked, this, [this] { Guarded([this] { Button1Click(); }); });
    Edit7->installEventFilter(this);
    Memo2->viewport()->installEventFilter(this);
    connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
}

void TForm1::CreateMenu() {
    const auto item = [this](QMenu* m, const char* name, const QString& caption,
                             void (TForm1::*handler)()) {
        return AddItem(m, name, caption, [this, handler] { Guarded([&] { (this->*handler)(); }); });
    };

    QMenu* fil = AddMenu(menuBar(), "Fil1", "Fil");
    Open1 = item(fil, "Open1", "Öppna", &TForm1::Open1Click);
    Spara2 = item(fil, "Spara2", "Spara", &TForm1::Spara2Click);
    Sparasom1 = item(fil, "Sparasom1", "Spara som", &TForm1::Sparasom1Click);
    fil->addSeparator();
    SkrivAndra = item(fil, "SkrivAndra", "Skriv i andra program", &TForm1::SkrivAndraClick);
    KopieraAllt = item(fil, "KopieraAllt", "Kopiera allt", &TForm1::KopieraAlltClick);
    fil->setToolTipsVisible(true);
    typing_ = std::make_unique<TypingMode>(
        this, SkrivAndra, *dialogs_, ChooseTypingRoute(QGuiApplication::platformName()), *Image1);
    fil->addSeparator();
    Sluta1 = item(fil, "Sluta1", "Sluta", &TForm1::Sluta1Click);
    AskSecondRest(Sluta1, "avsluta Glidtavla");
    QMenu* hamta = AddMenu(menuBar(), "Hmta1", "Hämta teckenbord");
    bild = item(hamta, "bild", "Med bild", &TForm1::bildClick);
    ubild = item(hamta, "ubild", "Utan bild", &TForm1::ubildClick);
    Inbyggt = item(hamta, "Inbyggt", "Inbyggt teckenbord", &TForm1::InbyggtClick);
    QMenu* bruks = AddMenu(menuBar(), "Bruksanvisning1", "Bruksanvisning");
    Bruksanvisning2 =
        item(bruks, "Bruksanvisning2", "Bruksanvisning", &TForm1::Bruksanvisning2Click);
    Mdemo = item(bruks, "Mdemo", "Gör demo", &TForm1::MdemoClick);
    Kdemo1 = item(bruks, "Kdemo1", "Kör demo", &TForm1::Kdemo1Click);
}

void TForm1::CreateViewMenu() {
    QMenu* visa = AddMenu(menuBar(), "Visa", "Visa");
    const FormControls& controls = *this;
    zoom_ =
        std::make_unique<WindowZoom>(this, Image1, *layout_, boards_.Picture(), visa,
                                     [this](const std::function<void()>& body) { Guarded(body); });
    panel_ = std::make_unique<CompactPanel>(this, controls, *layout_);
    speed_ = std::make_unique<SpeedLine>(this, visa);
    prediction_ = std::make_unique<WordPrediction>(
        controls, *layout_, visa, *dialogs_, boards_.EngineBoard(),
        [this] { return demo_.Holds(DemoSession::Held::Prediction); });
    pace_ = std::make_unique<MyPace>(visa, *dialogs_, [this] { return prediction_->Learning(); });
    aids_ = new PointerAids(this, visa);
    speech_ = std::make_unique<Speech>(
        this, visa, KopieraAllt, [this] { return Memo1->toPlainText() + Edit1->text(); },
        [this] { return demo_.Holds(DemoSession::Held::Typing); });
    contrast_ = new HighContrast(this, visa, [this] {
        ApplyColours(*this);
        if (view_) view_->Recolour();
        prediction_->Refresh();
    });
    AddItem(visa, "StallIn", "Ställ in efter mig", [this] { Guarded([this] { StallInClick(); }); });
}

void TForm1::Guarded(const std::function<void()>& body) {
    RunGuarded(*dialogs_, body);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (activated_) return;
    activated_ = true;
    zoom_->Activate();
    // A document or board that cannot be read is reported once the window is on the screen,
    // so the message stands over it rather than on an empty desktop.
    try {
        FormActivate();
    } catch (const std::exception& error) {
        const QString message = QString::fromUtf8(error.what());
        QMetaObject::invokeMethod(
            this, [this, message] { dialogs_->ShowError(message); }, Qt::QueuedConnection);
    }
    // Only now: a document read while activating would keep the window's place before it was
    // maximised, and the next start would open at that size.
    settings_->Activate();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (document_->MayClose([this](const std::function<void()>& body) { Guarded(body); })) {
        settings_->RememberAtClose();
        event->accept();
    } else {
        event->ignore();
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        // The help panel's viewport is its text: a click on its scroll bar does not come here.
        if (watched == Memo2->viewport()) Guarded([this] { Memo2Click(); });
        if (watched == Edit7) Guarded([this] { Edit7Click(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (zoom_ && panel_ && !panel_->IsOn()) Guarded([this] { zoom_->WindowResized(); });
}

void TForm1::FormActivate() {
    started_ = false;
    Image3->setPixmap(QPixmap::fromImage(BuiltInBoardPicture()));
    startDirectory_ = CurrentFolder();
    // A document or start-up board that cannot be read is reported after activation has
    // completed, so the built-in board is loaded and the window works all the same.
    DeferredErrors deferred;
    if (!document_->Path().empty() && !StampOf(document_->Path())) {
        document_->ShowMissing();  // as "Öppna" says it
    } else if (!document_->Path().empty()) {
        deferred.Run([this] { document_->Load(document_->Path()); });
    } else {
        document_->Name(startDirectory_ + "/namnlos.gtv");
    }
    demo_.Choose("demonst.dem");
    demo_.End();
    SetCaption();
    boards_.ShowBuiltIn();
    deferred.Run([this] { board_->LoadStartup(startDirectory_); });
    if (!IsRegularFile(boards_.TablePath()) || !IsRegularFile(boards_.PicturePath()))
        deferred.Run([this] { board_->LoadRemembered(); });
    ShowAsRemembered();
    ResetToCentre(state_);
    deferred.ThrowAny();
}

void TForm1::SetCaption() {
    setWindowTitle(kCaptionStart + Shown(document_->Path()) + kCaptionTrailer +
                   typing_->CaptionNote());
}

void TForm1::ApplyBoardLayout(int width, int height) {
    layout_->PlaceAround(width, height);
}

void TForm1::Button1Click() {
    layout_->PlaceStarted();
    for (QWidget* widget : std::initializer_list<QWidget*>{Edit1, Edit2, Edit3, Edit4, Edit5, Edit6,
                                                           Edit9, Memo1, Image1}) {
        widget->show();
    }
    for (QWidget* widget : std::initializer_list<QWidget*>{Edit8, Button1, Label1, Label2, Label3})
        widget->hide();
    SetCaption();
    FitClientToControls(Client);
    Memo1->setFocus();
    started_ = true;
    StartWriting(state_, *view_);  // the pointer comes from the START button, not the centre
    prediction_->Started();
    prediction_->Refresh();
    if (typing_->IsOn()) EnterPanel();
}

void TForm1::EnterPanel() {
    settings_->Remember();  // the full window's place, before the panel takes it
    panel_->Enter(settings_->PanelGeometry());
}

void TForm1::Image1MouseMove(int x, int y, bool leftHeld, bool insideImage) {
    // Qt grabs the pointer for any button; only the left button's capture counts.
    if (!insideImage && !leftHeld) return;
    if (demo_.Playing()) {
        if (started_) {
            Image2->show();
            // Starting a running timer would restart it: a moving pointer would hold the demo.
            if (!Timer1->isActive()) Timer1->start();
        }
        return;
    }
    Timer1->stop();
    Image2->hide();
    // A demo writes on the board alone, without the word column.
    const CharacterBoard& board =
        demo_.Holds(DemoSession::Held::Prediction) ? boards_.Board() : boards_.EngineBoard();
    const GuardedSample at = aids_->Guard(board, state_, {x, y}, Zoom(), [=, this] {
        Guarded([&] { Image1MouseMove(x, y, leftHeld, insideImage); });
    });
    state_.SpaceAfterSigns = prediction_->SpaceAfterSigns();
    ProcessPointerSample(state_, board, *view_, demo_.Recorder(), at.X, at.Y);
    pace_->Sampled(board, at.X, at.Y);
}

void TForm1::Image1MouseDown(Qt::MouseButton button) {
    if (button == Qt::LeftButton) state_.ShiftHeld = true;
}

void TForm1::Image1MouseUp() {
    state_.ShiftHeld = false;
    typing_->ButtonsReleased();
}

// A left-button drag keeps the pointer captured, so only a free pointer enters or leaves. While
// a demo plays, the selection is the demo's own.
void TForm1::Image1MouseEnter() {
    if (!demo_.Playing() && !Image1->ButtonHeld()) RestSelection(state_);
}

void TForm1::Image1MouseLeave() {
    aids_->RepeatNow();
    if (!demo_.Playing() && !Image1->ButtonHeld()) Disarm(state_, *view_);
}

void TForm1::Open1Click() {
    document_->Open(document_->Preset(settings_->DocumentFolder()));
}

void TForm1::Spara2Click() {
    document_->Save();
}

void TForm1::Sparasom1Click() {
    document_->SaveAs();
}

// Closing the window asks first when there is something to lose.
void TForm1::Sluta1Click() {
    close();
}

void TForm1::Bruksanvisning2Click() {
    layout_->PlaceHelp();
    Memo2->show();
    Memo2->raise();  // over the read-outs beside the board
}

void TForm1::Memo2Click() {
    Memo2->hide();
}

void TForm1::Edit7Click() {
    Edit7->hide();
    Memo1->setFocus();
}

void TForm1::bildClick() {
    board_->AskPicture(*dialogs_, Refusal());
}

void TForm1::ubildClick() {
    board_->AskDrawn(*dialogs_, Refusal());
}

// The three questions: asked at the first start, and again from Visa.
void TForm1::StallInClick() {
    SetUpByAsking(this, *prediction_, *aids_,
                  [this](const std::string& t) { board_->UseDrawn(t, Refusal()); });
    settings_->FirstStartAsked();  // kept together with the answers
}

void TForm1::AskFirstStartIfDue() {
    if (settings_->FirstStartDue()) StallInClick();
}

// Back to the board the program starts with; like the other board commands, not during a demo.
void TForm1::InbyggtClick() {
    if (const char* why = Refusal()) throw Error(why);
    board_->ShowBuiltIn();
    settings_->RememberBoard({});
}

const char* TForm1::Refusal() const {
    return BoardCommandRefusal(demo_);
}

// Maximised, unless the window was last left at a size and place of its own.
void TForm1::ShowAsRemembered() {
    if (settings_->Geometry().isEmpty() || !restoreGeometry(settings_->Geometry())) showMaximized();
    KeepOnScreen(this);
    if (zoom_->FitsWindow()) zoom_->FitToWindow();
}

void TForm1::UseSettings(std::unique_ptr<SettingsStore> store) {
    settings_->Use(std::move(store));
}

void TForm1::SetZoom(int percent) {
    zoom_->Set(percent);
}

// While a demo is recorded the same item stops it, closing the file whole.
void TForm1::MdemoClick() {
    if (demo_.Recording()) {
        demo_.End();
        ShowDemoState(demo_, *this);
        return;
    }
    const std::optional<QString> chosen =
        dialogs_->Ask(DialogKind::SaveDialog2, Shown(demo_.Path()));
    if (!chosen) return;
    std::string path = QFile::encodeName(*chosen).toStdString();
    if (!demo_.MayRecordOver(*dialogs_, path)) return;
    demo_.Choose(path);
    demo_.End();
    Timer1->stop();  // a finished playback's ticks would read a file no longer open
    Image2->hide();
    demo_.Record();
    board_->ShowBuiltIn();
    ShowDemoState(demo_, *this);
}

void TForm1::Kdemo1Click() {
    const std::optional<QString> chosen =
        dialogs_->Ask(DialogKind::OpenDialog2, Shown(demo_.Path()));
    if (!chosen) return;
    demo_.Choose(QFile::encodeName(*chosen).toStdString());
    board_->ShowBuiltIn();
    try {
        demo_.Play();
    } catch (const Error&) {
        Timer1->stop();  // the earlier playback has ended: its ticks must not go on
        Image2->hide();
        ShowDemoState(demo_, *this);
        throw;
    }
    ShowDemoState(demo_, *this);
}

void TForm1::SkrivAndraClick() {
    typing_->SetOn(SkrivAndra->isChecked());
}

// Typing into other programs shows the program written into: the window becomes a panel once
// the board is started, and the full window again when the mode ends.
void TForm1::TypingChanged(bool on) {
    if (!on) {
        settings_->Remember();  // the panel's place, before it goes
        panel_->Leave();
        prediction_->Refresh();
    } else if (started_) {
        EnterPanel();
    }
    SetCaption();
    settings_->Remember();
}

void TForm1::KopieraAlltClick() {
    QGuiApplication::clipboard()->setText(Memo1->toPlainText() + Edit1->text());
}

void TForm1::Timer1Timer() {
    demo_.PlaySample(state_, [this] {
        layout_->PlaceDemoMarker(state_.X0, state_.Y0);
        ProcessPointerSample(state_, boards_.Board(), *view_, demo_.Recorder(), state_.X0,
                             state_.Y0);
    });
}

const std::string& TForm1::DocumentPath() const {
    return document_->Path();
}

std::vector<std::string> TForm1::TextAreaLines() const {
    return document_->Lines();
}

int TForm1::Zoom() const {
    return zoom_->Percent();
}

}  // namespace glidtavla
