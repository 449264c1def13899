// The form's controls: where each stands, how it looks and what it says at the start.
#include "app/form/form_controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextFrame>
#include <QTimer>

#include <algorithm>
#include <limits>

#include "app/form/board_image.h"
#include "app/form/colours.h"
#include "app/form/help_text.h"
#include "app/form/text_area.h"
#include "pictures/builtin_picture.h"

namespace glidtavla {

QFont PixelFont(const QString& family, int pixels, bool bold) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void CreateFormControls(FormControls& c, QObject* owner) {
    QWidget* client = c.Client;
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

    c.Image1 = new BoardImage(client);
    place(c.Image1, "Image1", 0, 0, 657, 481, false);
    c.Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c.Image1->setPixmap(QPixmap::fromImage(BuiltInBoardPicture()));
    c.Image1->setMouseTracking(true);

    c.Label1 = new QLabel("VÄLKOMMEN   ATT   PROVA   GLIDTAVLA", client);
    place(c.Label1, "Label1", 72, 168, 566, 33, true);
    c.Label1->setFont(PixelFont("Blankenburg_UNZ1A", 29));
    c.Label2 = new QLabel("Hemsida: glidtavla.se", client);
    place(c.Label2, "Label2", 72, 440, 160, 16, true);
    c.Label3 = new QLabel("Tekniksida: glidtavla.se/teknik", client);
    place(c.Label3, "Label3", 72, 464, 278, 16, true);
    c.Label2->setFont(PixelFont("DejaVu Sans", 13));
    c.Label3->setFont(PixelFont("DejaVu Sans", 13));

    c.Image2 = new QLabel(client);
    place(c.Image2, "Image2", 152, 248, 33, 33, false);
    c.Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    c.Image2->setPixmap(QPixmap::fromImage(DemoMarkerIcon()));
    c.Image2->setAttribute(Qt::WA_TransparentForMouseEvents);
    c.Image3 = new QLabel(client);
    place(c.Image3, "Image3", 0, 0, 353, 281, false);

    c.Edit1 = lineEdit("Edit1", 0, 360, 793, 24, "");
    c.Edit1->setFont(PixelFont("DejaVu Sans", 14));  // read at a glance, above the text area
    c.Edit1->setMaxLength(std::numeric_limits<int>::max());  // the editing rules decide the length
    c.Edit2 = lineEdit("Edit2", 688, 0, 49, 21, "X0");
    c.Edit3 = lineEdit("Edit3", 736, 0, 49, 21, "Y0");
    c.Edit4 = lineEdit("Edit4", 688, 24, 49, 21, "X1");
    c.Edit5 = lineEdit("Edit5", 736, 24, 49, 21, "Y1");

    c.Memo1 = new QPlainTextEdit(client);
    place(c.Memo1, "Memo1", 0, 384, 793, 137, false);
    c.Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    c.Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    c.Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetTextAreaLines(c.Memo1, {"", ""}, TextEncoding::Windows1252);  // one empty line, ended

    c.Button1 = new QPushButton("START", client);
    place(c.Button1, "Button1", 680, 504, 75, 25, true);

    c.Edit6 = lineEdit("Edit6", 0, 312, 49, 46, "");
    c.Edit6->setFont(PixelFont("DejaVu Sans", 27, true));
    c.Edit7 = lineEdit("Edit7", 456, 24, 233, 21, "Funktionen ännu ej inlagd");

    c.Memo2 = new QPlainTextEdit(HelpText(), client);
    place(c.Memo2, "Memo2", 296, 32, 417, 377, false);
    c.Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    c.Memo2->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Wide enough that the control-cell lines, quoted as they are, keep to one line each.
    int widest = 0;
    for (const QString& line : HelpText().split('\n')) {
        if (line.contains("CHAR("))
            widest = std::max(widest, c.Memo2->fontMetrics().horizontalAdvance(line));
    }
    c.Memo2->resize(std::max(417, widest + 40), 377);
    // Closed by a rest too: a button over the text's lower right corner, the text kept clear
    // of it at its end.
    auto* closeHelp = new QPushButton("Stäng bruksanvisningen", c.Memo2);
    closeHelp->setObjectName("StangBruksanvisning");
    QObject::connect(closeHelp, &QPushButton::clicked, c.Memo2, &QWidget::hide);
    QTextFrameFormat clear = c.Memo2->document()->rootFrame()->frameFormat();
    clear.setBottomMargin(48);
    c.Memo2->document()->rootFrame()->setFrameFormat(clear);

    c.DemoNotice = new QLabel("● Spelar in demo. Sluta: Bruksanvisning > Sluta spela in", client);
    place(c.DemoNotice, "DemoNotice", 350, 0, 323, 21, false);
    c.DemoNotice->setAccessibleName("Demo spelas in");
    c.Edit8 = lineEdit("Edit8", 350, 0, 323, 21, "Edit8");
    c.Edit8->setFrame(false);
    c.Edit9 = lineEdit("Edit9", 712, 48, 41, 21, "Ord(ch)");
    c.Edit9->resize(std::max(41, c.Edit9->fontMetrics().horizontalAdvance(c.Edit9->text()) + 12),
                    21);
    // Read-outs and notices only show: typing there would change what they report, so the
    // keyboard stays with the text area.
    for (QLineEdit* shown :
         {c.Edit2, c.Edit3, c.Edit4, c.Edit5, c.Edit6, c.Edit7, c.Edit8, c.Edit9}) {
        shown->setReadOnly(true);
        shown->setFocusPolicy(Qt::NoFocus);
    }

    ApplyColours(c);

    c.Timer1 = new QTimer(owner);
    c.Timer1->setObjectName("Timer1");
    c.Timer1->setInterval(50);
}

}  // namespace glidtavla
