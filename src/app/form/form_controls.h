#pragma once

#include <QFont>

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QWidget;

namespace glidtavla {

class BoardImage;

// The form's controls under the names the form gives them (also their object names), for the
// objects the window hands them to.
struct FormControls {
    QWidget* Client = nullptr;
    BoardImage* Image1 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Image2 = nullptr,
           *Image3 = nullptr;
    QLabel* DemoNotice = nullptr;  // beyond the form: that a demo is being recorded
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr,
              *Edit5 = nullptr, *Edit6 = nullptr, *Edit7 = nullptr, *Edit8 = nullptr,
              *Edit9 = nullptr;
    QPlainTextEdit *Memo1 = nullptr, *Memo2 = nullptr;
    QPushButton* Button1 = nullptr;
    QTimer* Timer1 = nullptr;
    QAction *Open1 = nullptr, *Spara2 = nullptr, *Sparasom1 = nullptr, *Sluta1 = nullptr,
            *bild = nullptr, *ubild = nullptr, *Inbyggt = nullptr, *Bruksanvisning2 = nullptr,
            *Mdemo = nullptr, *Kdemo1 = nullptr, *SkrivAndra = nullptr, *KopieraAllt = nullptr;
};

// Makes the form's controls in controls.Client, hidden or shown as the form starts; the timer
// belongs to owner. Their wiring is the window's.
void CreateFormControls(FormControls& controls, QObject* owner);

// A font of a size in pixels, as the form gives its sizes.
QFont PixelFont(const QString& family, int pixels, bool bold = false);

}  // namespace glidtavla
