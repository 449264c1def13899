#include "app/tform1.h"

#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QWindow>

#include <climits>
#include <limits>

#include "app/accessibility.h"
#include "app/client_area.h"
#include "app/help_text.h"
#include "app/zoom/board_zoom.h"
#include "board/board_table.h"
#include "board/errors.h"
#include "board/files.h"
#include "pictures/board_drawing.h"
#include "pictures/builtin_picture.h"
#include "pictures/picture_file.h"
#include "text/codec.h"
#include "text/document.h"

namespace glidtavla {

namespace {

const char* const kCaptionStart = "Glidtavla Ver 1.01 ";
const char* const kCaptionTrailer = "    Glidtavla, fri programvara för alla  2026-12-07";
const QColor kBackground(56, 144, 13);

QColor ColourOf(IndicatorColour colour) {
    switch (colour) {
        case IndicatorColour::White:
            return QColor(255, 255, 255);
        case IndicatorColour::Yellow:
            return QColor(255, 255, 0);
        case IndicatorColour::Blue:
            return QColor(0, 0, 255);
        case IndicatorColour::Red:
            return QColor(255, 0, 0);
        case IndicatorColour::Green:
            return QColor(0, 128, 0);
        case IndicatorColour::Lime:
            return QColor(0, 255, 0);
    }
    return Qt::white;
}

void SetBase(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
}

QFont PixelFont(const QString& family, int pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Most samples leave most read-outs as they were; an unchanged text costs nothing.
void SetText(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) edit->setText(text);
}

std::string CurrentDirectory() {
    std::string buffer(PATH_MAX, '\0');
    if (getcwd(buffer.data(), buffer.size()) == nullptr) return ".";
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

// The character cell shows the three control codes by key symbols its bold face has.
QString CellText(uint8_t ch) {
    switch (ch) {
        case 0:
            return QString();
        case kCodeDeleteLine:
            return QString(QChar(0x2327));  // clear key
        case kCodeBackspace:
            return QString(QChar(0x232B));  // erase to the left
        case kCodeLineFeed:
            return QString(QChar(0x21B5));  // return
        default:
            return ToQString(std::string(1, static_cast<char>(ch)));
    }
}

}  // namespace

void BoardImage::mouseMoveEvent(QMouseEvent* event) {
    if (OnMove) OnMove(event);
}
void BoardImage::mousePressEvent(QMouseEvent* event) {
    if (OnPress) OnPress(event);
}
void BoardImage::mouseReleaseEvent(QMouseEvent* event) {
    if (OnRelease) OnRelease(event);
}
void BoardImage::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    if (OnEnter) OnEnter();
}
void BoardImage::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    if (OnLeave) OnLeave();
}

TForm1::TForm1(std::string documentPath, std::unique_ptr<Dialogs> dialogs)
    : DocumentPath(std::move(documentPath)),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>(this)) {
    setObjectName("Form1");
    setGeometry(73, 351, 812, 588);
    setFont(PixelFont("DejaVu Sans", 11));
    auto* client = new QWidget(this);
    client->setObjectName("client");
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, kBackground);
    client->setPalette(palette);
    client->setAutoFillBackground(true);
    setCentralWidget(ScrollingClientArea(client));
    CreateControls();
    CreateMenu();
    CreateViewMenu();
    NameControlsForAssistiveTechnology(*this);
}

TForm1::~TForm1() = default;

QWidget* TForm1::Client() const {
    return findChild<QWidget*>("client");
}

void TForm1::CreateControls() {
    QWidget* client = Client();
    const auto place = [](QWidget* widget, const char* name, int left, int top, int width,
                          int height, bool visible) {
        widget->setObjectName(name);
        widget->setGeometry(left, top, width, height);
        widget->setVisible(visible);
    };
    const auto lineEdit = [&](const char* name, int left, int top, int width, int height,
                              const QString& text) {
        auto* edit = new QLineEdit(text, client);
        place(edit, name, left, top, width, height, false);
        return edit;
    };

    Image1 = new BoardImage(client);
    place(Image1, "Image1", 0, 0, 657, 481, false);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(QPixmap::fromImage(BuiltInBoardPicture()));
    Image1->setMouseTracking(true);
    Image1->OnMove = [this](QMouseEvent* e) {
        const QPoint p = e->position().toPoint();
        const bool left = e->buttons().testFlag(Qt::LeftButton);
        // The engine works in board pixels whatever the zoom.
        Guarded([&] {
            Image1MouseMove(Unzoomed(p.x(), Zoom), Unzoomed(p.y(), Zoom), left,
                            Image1->rect().contains(p));
        });
    };
    Image1->OnPress = [this](QMouseEvent* e) { Image1MouseDown(e->button()); };
    Image1->OnRelease = [this](QMouseEvent*) { Image1MouseUp(); };
    Image1->OnEnter = [this] { Image1MouseEnter(); };
    Image1->OnLeave = [this] { Image1MouseLeave(); };

    Label1 = new QLabel("VÄLKOMMEN   ATT   PROVA   GLIDTAVLA", client);
    place(Label1, "Label1", 72, 168, 566, 33, true);
    Label1->setFont(PixelFont("Blankenburg_UNZ1A", 29));
    Label2 = new QLabel("Hemsida: glidtavla.se", client);
    place(Label2, "Label2", 72, 440, 160, 16, true);
    Label3 = new QLabel("Tekniksida: glidtavla.se/teknik", client);
    place(Label3, "Label3", 72, 464, 278, 16, true);
    for (QLabel* label : {Label1, Label2, Label3}) {
        QPalette blue = label->palette();
        blue.setColor(QPalette::WindowText, Qt::blue);
        label->setPalette(blue);
    }
    Label2->setFont(PixelFont("DejaVu Sans", 13));
    Label3->setFont(PixelFont("DejaVu Sans", 13));

    Image2 = new QLabel(client);
    place(Image2, "Image2", 152, 248, 33, 33, false);
    Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image2->setPixmap(QPixmap::fromImage(DemoMarkerIcon()));
    Image2->setAttribute(Qt::WA_TransparentForMouseEvents);
    Image3 = new QLabel(client);
    place(Image3, "Image3", 0, 0, 353, 281, false);

    Edit1 = lineEdit("Edit1", 0, 360, 793, 24, "");
    Edit1->setFont(PixelFont("DejaVu Sans", 14));          // read at a glance, above the text area
    Edit1->setMaxLength(std::numeric_limits<int>::max());  // the editing rules decide the length
    Edit2 = lineEdit("Edit2", 688, 0, 49, 21, "X0");
    Edit3 = lineEdit("Edit3", 736, 0, 49, 21, "Y0");
    Edit4 = lineEdit("Edit4", 688, 24, 49, 21, "X1");
    Edit5 = lineEdit("Edit5", 736, 24, 49, 21, "Y1");

    Memo1 = new QPlainTextEdit(client);
    place(Memo1, "Memo1", 0, 384, 793, 137, false);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetTextAreaLines({"", ""});  // one empty line, ended

    Button1 = new QPushButton("START", client);
    place(Button1, "Button1", 680, 504, 75, 25, true);
    connect(Button1, &QPushButton::clicked, this, [this] { Guarded([this] { Button1Click(); }); });

    Edit6 = lineEdit("Edit6", 0, 312, 49, 46, "");
    Edit6->setFont(PixelFont("DejaVu Sans", 27, true));
    Edit7 = lineEdit("Edit7", 456, 24, 233, 21, "Funktionen ännu ej inlagd");
    Edit7->installEventFilter(this);

    Memo2 = new QPlainTextEdit(HelpText(), client);
    place(Memo2, "Memo2", 296, 32, 417, 377, false);
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Wide enough that the control-cell lines, quoted as they are, keep to one line each.
    int widest = 0;
    for (const QString& line : HelpText().split('\n')) {
        if (line.contains("CHAR("))
            widest = std::max(widest, Memo2->fontMetrics().horizontalAdvance(line));
    }
    Memo2->resize(std::max(417, widest + 40), 377);
    Memo2->viewport()->installEventFilter(this);

    Edit8 = lineEdit("Edit8", 350, 0, 323, 21, "Edit8");
    Edit8->setFrame(false);
    SetBase(Edit8, QColor(0, 255, 0));
    Edit9 = lineEdit("Edit9", 712, 48, 41, 21, "Ord(ch)");
    Edit9->resize(std::max(41, Edit9->fontMetrics().horizontalAdvance(Edit9->text()) + 12), 21);
    // Read-outs and notices only show: typing there would change what they report, so the
    // keyboard stays with the text area.
    for (QLineEdit* shown : {Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9}) {
        shown->setReadOnly(true);
        shown->setFocusPolicy(Qt::NoFocus);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
}

void TForm1::CreateMenu() {
    const auto menu = [this](const char* name, const QString& title) {
        QMenu* m = menuBar()->addMenu(title);
        m->setObjectName(name);
        return m;
    };
    const auto item = [this](QMenu* m, const char* name, const QString& caption,
                             void (TForm1::*handler)()) {
        QAction* action = m->addAction(caption);
        action->setObjectName(name);
        if (handler != nullptr) {
            connect(action, &QAction::triggered, this,
                    [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
        } else {
            action->setEnabled(false);  // wired with the board and demo commands
        }
        return action;
    };

    QMenu* fil = menu("Fil1", "Fil");
    Open1 = item(fil, "Open1", "Öppna", &TForm1::Open1Click);
    Spara2 = item(fil, "Spara2", "Spara", &TForm1::Spara2Click);
    Sparasom1 = item(fil, "Sparasom1", "Spara som", &TForm1::Sparasom1Click);
    fil->addSeparator();
    SkrivAndra = item(fil, "SkrivAndra", "Skriv i andra program", &TForm1::SkrivAndraClick);
    KopieraAllt = item(fil, "KopieraAllt", "Kopiera allt", &TForm1::KopieraAlltClick);
    fil->setToolTipsVisible(true);
    Typing = std::make_unique<TypingMode>(this, SkrivAndra, *dialogs_, OpenXTestKeySender);
    fil->addSeparator();
    Sluta1 = item(fil, "Sluta1", "Sluta", &TForm1::Sluta1Click);
    QMenu* hamta = menu("Hmta1", "Hämta teckenbord");
    bild = item(hamta, "bild", "Med bild", &TForm1::bildClick);
    ubild = item(hamta, "ubild", "Utan bild", &TForm1::ubildClick);
    Inbyggt = item(hamta, "Inbyggt", "Inbyggt teckenbord", &TForm1::InbyggtClick);
    QMenu* bruks = menu("Bruksanvisning1", "Bruksanvisning");
    Bruksanvisning2 =
        item(bruks, "Bruksanvisning2", "Bruksanvisning", &TForm1::Bruksanvisning2Click);
    Mdemo = item(bruks, "Mdemo", "Gör demo", &TForm1::MdemoClick);
    Kdemo1 = item(bruks, "Kdemo1", "Kör demo", &TForm1::Kdemo1Click);
}

void TForm1::Guarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const std::bad_alloc&) {
        dialogs_->ShowError("Out of memory: the file or the task is too large for this computer");
    } catch (const std::exception& error) {
        dialogs_->ShowError(QString::fromUtf8(error.what()));
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (activated_) return;
    activated_ = true;
    // On a screen of another pixel density the board is drawn afresh for it.
    connect(windowHandle(), &QWindow::screenChanged, this, [this] { RefreshBoardPicture(); });
    // A document or board that cannot be read is reported once the window is on the screen,
    // so the message stands over it rather than on an empty desktop.
    try {
        FormActivate();
    } catch (const std::exception& error) {
        const QString message = QString::fromUtf8(error.what());
        QMetaObject::invokeMethod(
            this, [this, message] { dialogs_->ShowError(message); }, Qt::QueuedConnection);
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

void TForm1::FormActivate() {
    Started = false;
    Image3->setPixmap(QPixmap::fromImage(BuiltInBoardPicture()));
    StartDirectory = CurrentDirectory();
    // A document or start-up board that cannot be read is reported after activation has
    // completed, so the built-in board is loaded and the window works all the same.
    std::string deferredError;
    const auto deferring = [&deferredError](const std::function<void()>& step) {
        try {
            step();
        } catch (const std::exception& error) {
            deferredError += (deferredError.empty() ? "" : "\n") + std::string(error.what());
        }
    };
    if (!DocumentPath.empty()) {
        deferring([this] { LoadDocument(DocumentPath); });
    } else {
        DocumentPath = StartDirectory + "/namnlos.gtv";
    }
    DemoPath = "demonst.dem";
    Playing = false;
    Recording = false;
    SetCaption();
    ResetToBuiltInBoard(Board);
    deferring([this] { LoadStartupBoard(); });
    if (!IsRegularFile(TablePath) || !IsRegularFile(PicturePath))
        deferring([this] { LoadRememberedBoard(); });
    ShowAsRemembered();
    ResetToCentre(State);
    if (!deferredError.empty()) throw Error(deferredError);
}

void TForm1::SetCaption() {
    setWindowTitle(kCaptionStart + Shown(DocumentPath) + kCaptionTrailer + Typing->CaptionNote());
}

// At a zoom the board is larger and the controls below it keep their distance, grown with
// their text; at 100 % every place is the form's.
void TForm1::ApplyBoardLayout(int width, int height) {
    const int64_t top = Zoomed(height, Zoom);
    Edit1->move(Edit1->x(), Pixels(top + BelowBoard(80)));
    Edit6->move(Edit6->x(), Pixels(top + BelowBoard(30)));
    const int64_t memoTop = top + BelowBoard(104);
    // A tall board would leave the text area no height: it keeps five lines, and the client
    // grows (and scrolls) instead.
    Memo1->setGeometry(Memo1->x(), Pixels(memoTop), Memo1->width(),
                       Pixels(std::max<int64_t>(MinimumTextAreaHeight(Memo1), 510 - memoTop)));
    Image1->resize(Pixels(Zoomed(std::max(width, 0), Zoom)),
                   Pixels(Zoomed(std::max(height, 0), Zoom)));
    PlaceReadouts(width);
    FitClientToControls(Client());
}

void TForm1::Button1Click() {
    const int64_t width = Zoomed(std::max(Board.BoardWidth, 0), Zoom);
    const int64_t height = Zoomed(Board.BoardHeight, Zoom);
    Edit1->move(Edit1->x(), Pixels(height + BelowBoard(80)));
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5})
        edit->show();
    Edit6->move(Edit6->x(), Pixels(height + BelowBoard(30)));
    Edit6->show();
    Edit8->hide();
    Edit9->show();
    Memo1->move(Memo1->x(), Pixels(height + BelowBoard(104)));
    Memo1->show();
    Image1->resize(Pixels(width), Pixels(std::max<int64_t>(height, 0)));
    Image1->show();
    PlaceReadouts(Board.BoardWidth);
    for (QWidget* widget : std::initializer_list<QWidget*>{Button1, Label1, Label2, Label3}) {
        widget->hide();
    }
    SetCaption();
    FitClientToControls(Client());
    Memo1->setFocus();
    Started = true;
    RestSelection(State);  // the pointer comes from the START button, not the centre
}

void TForm1::Image1MouseMove(int x, int y, bool leftHeld, bool insideImage) {
    // Qt grabs the pointer for any button; only the left button's capture counts.
    if (!insideImage && !leftHeld) return;
    if (Playing) {
        if (Started) {
            Image2->show();
            // Starting a running timer would restart it: a moving pointer would hold the demo.
            if (!Timer1->isActive()) Timer1->start();
        }
        return;
    }
    Timer1->stop();
    Image2->hide();
    ProcessPointerSample(State, Board, *this, ActiveRecorder(), x, y);
}

void TForm1::Image1MouseDown(Qt::MouseButton button) {
    if (button == Qt::LeftButton) State.ShiftHeld = true;
}

void TForm1::Image1MouseUp() {
    State.ShiftHeld = false;
}

// A left-button drag keeps the pointer captured, so only a free pointer enters or leaves. While
// a demo plays, the selection is the demo's own.
void TForm1::Image1MouseEnter() {
    if (!Playing && QGuiApplication::mouseButtons() == Qt::NoButton) RestSelection(State);
}

void TForm1::Image1MouseLeave() {
    if (!Playing && QGuiApplication::mouseButtons() == Qt::NoButton) Disarm(State, *this);
}

void TForm1::Bruksanvisning2Click() {
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

void TForm1::ShowBoardSource() {
    Edit8->move(Pixels(Zoomed(Board.BoardWidth, Zoom)), Edit8->y());
    Edit8->show();
    Edit8->setText("Tecken från: " + Shown(TablePath));
}

void TForm1::LoadStartupBoard() {
    // The separator is always inserted: a doubled one at the root is one to the file system.
    PicturePath = StartDirectory + "/tecken.bmp";
    TablePath = StartDirectory + "/tecken.tab";
    LoadBoardWithPicture();
}

// All or nothing: a table or picture that fails leaves the board that was shown, so the picture
// never shows one board while the pointer writes from another.
bool TForm1::LoadBoardWithPicture() {
    if (!IsRegularFile(PicturePath) || !IsRegularFile(TablePath)) return false;
    const CharacterBoard previous = Board;
    const bool sourceShown = Edit8->isVisible();
    const QString source = Edit8->text();
    const QPoint sourcePlace = Edit8->pos();
    try {
        LoadBoardTable(Board, TablePath);
        ShowBoardSource();
        ApplyBoardLayout(Board.BoardWidth, Board.BoardHeight);
        Picture.ShowPicture(LoadPictureFile(PicturePath));
    } catch (...) {
        Board = previous;
        ApplyBoardLayout(Board.BoardWidth, Board.BoardHeight);
        Edit8->setText(source);
        Edit8->move(sourcePlace);
        Edit8->setVisible(sourceShown);
        throw;
    }
    RefreshBoardPicture();
    return true;
}

void TForm1::bildClick() {
    const std::optional<QString> chosen = dialogs_->Ask(DialogKind::OpenPictureDialog1, "");
    if (!chosen) return;
    PicturePath = QFile::encodeName(*chosen).toStdString();
    // The last three characters give way to "tab", whatever they are.
    TablePath =
        PicturePath.substr(0, PicturePath.size() - std::min<std::size_t>(3, PicturePath.size())) +
        "tab";
    if (Playing || Recording) return;
    if (LoadBoardWithPicture())
        RememberBoard({RememberedBoard::Kind::Picture, TablePath, PicturePath});
}

void TForm1::ubildClick() {
    const std::optional<QString> chosen = dialogs_->Ask(DialogKind::OpenDialog3, "");
    if (!chosen) return;
    TablePath = QFile::encodeName(*chosen).toStdString();
    if (Playing || Recording) return;
    if (!IsRegularFile(TablePath)) return;
    LoadBoardTable(Board, TablePath);
    ShowBoardSource();
    ApplyBoardLayout(Board.BoardWidth, Board.BoardHeight);
    Picture.ShowDrawn(Board);  // drawn afresh on the built-in picture at every zoom
    RefreshBoardPicture();
    if (!Started) Image1->hide();
    RememberBoard({RememberedBoard::Kind::Drawn, TablePath, ""});
}

// Back to the board the program starts with; like the other board commands, not during a demo.
void TForm1::InbyggtClick() {
    if (Playing || Recording) return;
    ShowBuiltInBoard();
    RememberBoard({});
}

// A new recording or playback first ends the earlier use of the one demo file: everything
// recorded is already in the file, and no later tick or sample meets a file that is closed.
void TForm1::EndDemoUse() {
    Demo.Close();
    Recording = false;
    Playing = false;
}

void TForm1::ShowBuiltInBoard() {
    ResetToBuiltInBoard(Board);
    Edit8->hide();
    ApplyBoardLayout(Board.BoardWidth, Board.BoardHeight);
    Picture.ShowBuiltIn();
    RefreshBoardPicture();
}

void TForm1::MdemoClick() {
    const std::optional<QString> chosen = dialogs_->Ask(DialogKind::SaveDialog2, Shown(DemoPath));
    if (!chosen) return;
    DemoPath = QFile::encodeName(*chosen).toStdString();
    EndDemoUse();
    Timer1->stop();  // a finished playback's ticks would read a file no longer open
    Image2->hide();
    OpenDemoForRecording(Demo, DemoPath);
    Recording = true;
    ShowBuiltInBoard();
}

void TForm1::Kdemo1Click() {
    const std::optional<QString> chosen = dialogs_->Ask(DialogKind::OpenDialog2, Shown(DemoPath));
    if (!chosen) return;
    DemoPath = QFile::encodeName(*chosen).toStdString();
    ShowBuiltInBoard();
    EndDemoUse();
    try {
        OpenDemoForPlayback(Demo, DemoPath);
    } catch (const Error&) {
        Timer1->stop();  // the earlier playback has ended: its ticks must not go on
        Image2->hide();
        throw;
    }
    Playing = true;
}

void TForm1::SkrivAndraClick() {
    Typing->SetOn(SkrivAndra->isChecked());
    SetCaption();
    RememberSettings();
}

void TForm1::KopieraAlltClick() {
    QGuiApplication::clipboard()->setText(Memo1->toPlainText() + Edit1->text());
}

void TForm1::CharacterFetched(uint8_t ch, std::size_t lengthBefore, std::size_t lengthAfter) {
    Typing->Fetched(ch, lengthBefore, lengthAfter);
    Speed->Fetched(ch);
}

void TForm1::Timer1Timer() {
    ReadDemoSample(Demo, State, Playing);
    Image2->move(Pixels(Zoomed(State.X0, Zoom)), Pixels(Zoomed(State.Y0, Zoom)));
    ProcessPointerSample(State, Board, *this, ActiveRecorder(), State.X0, State.Y0);
}

void TForm1::ShowReadouts(int32_t x0, int32_t y0, int64_t x1, int64_t y1) {
    SetText(Edit2, QString::number(x0));
    SetText(Edit3, QString::number(y0));
    SetText(Edit4, QString::number(x1));
    SetText(Edit5, QString::number(y1));
}

void TForm1::ShowCharacterCell(uint8_t ch, IndicatorColour colour) {
    if (colour != cellColour_) {
        cellColour_ = colour;
        SetBase(Edit6, ColourOf(colour));
    }
    SetText(Edit6, CellText(ch));
    SetText(Edit9, QString::number(ch));
}

void TForm1::SetCharacterLineColour(IndicatorColour colour) {
    if (colour == lineColour_) return;
    lineColour_ = colour;
    SetBase(Edit1, ColourOf(colour));
}

std::string TForm1::CharacterLine() {
    return FromQString(Edit1->text());
}

// The line edit itself tells assistive technology of every change of its text (a text-update
// event), so a screen reader hears each fetch.
std::size_t TForm1::CharacterLineLength() {
    return static_cast<std::size_t>(Edit1->text().size());
}

void TForm1::AppendToCharacterLine(uint8_t ch) {
    Edit1->setText(Edit1->text() + ToQString(std::string(1, static_cast<char>(ch))));
}

void TForm1::TruncateCharacterLine(std::size_t length) {
    Edit1->setText(Edit1->text().left(static_cast<qsizetype>(length)));
}

}  // namespace glidtavla
