#pragma once

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>

#include "app/tform1.h"
#include "scripted_dialogs.h"
#include "test_support.h"

namespace glidtavla {

// What the window tests share: a window with scripted dialogs, and real pointer events.
class WindowTest : public QObject {
  protected:
    void Start(const std::string& document = "") {
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        form = std::make_unique<TForm1>(document, std::move(scripted));
        form->show();
        QCoreApplication::processEvents();  // what activation reports comes once it is shown
    }
    void PressStart() { QTest::mouseClick(Button1(), Qt::LeftButton); }

    // The form's controls, found by their names.
    template <typename T>
    T* Find(const char* name) const {
        T* found = form->findChild<T*>(name);
        if (found == nullptr) qFatal("no control %s", name);
        return found;
    }
    BoardImage* Image1() const { return Find<BoardImage>("Image1"); }
    QLabel* Image2() const { return Find<QLabel>("Image2"); }
    QLabel* Image3() const { return Find<QLabel>("Image3"); }
    QLabel* Label1() const { return Find<QLabel>("Label1"); }
    QLabel* Label2() const { return Find<QLabel>("Label2"); }
    QLabel* Label3() const { return Find<QLabel>("Label3"); }
    QLineEdit* Edit(int n) const { return Find<QLineEdit>(qPrintable(QString("Edit%1").arg(n))); }
    QLineEdit* Edit1() const { return Edit(1); }
    QLineEdit* Edit2() const { return Edit(2); }
    QLineEdit* Edit3() const { return Edit(3); }
    QLineEdit* Edit4() const { return Edit(4); }
    QLineEdit* Edit5() const { return Edit(5); }
    QLineEdit* Edit6() const { return Edit(6); }
    QLineEdit* Edit7() const { return Edit(7); }
    QLineEdit* Edit8() const { return Edit(8); }
    QLineEdit* Edit9() const { return Edit(9); }
    QPlainTextEdit* Memo1() const { return Find<QPlainTextEdit>("Memo1"); }
    QPlainTextEdit* Memo2() const { return Find<QPlainTextEdit>("Memo2"); }
    QPushButton* Button1() const { return Find<QPushButton>("Button1"); }
    QTimer* Timer1() const { return Find<QTimer>("Timer1"); }
    QAction* Open1() const { return Find<QAction>("Open1"); }
    QAction* Spara2() const { return Find<QAction>("Spara2"); }
    QAction* Sparasom1() const { return Find<QAction>("Sparasom1"); }
    QAction* Sluta1() const { return Find<QAction>("Sluta1"); }
    QAction* bild() const { return Find<QAction>("bild"); }
    QAction* ubild() const { return Find<QAction>("ubild"); }
    QAction* Inbyggt() const { return Find<QAction>("Inbyggt"); }
    QAction* Bruksanvisning2() const { return Find<QAction>("Bruksanvisning2"); }
    QAction* Mdemo() const { return Find<QAction>("Mdemo"); }
    QAction* Kdemo1() const { return Find<QAction>("Kdemo1"); }
    QAction* SkrivAndra() const { return Find<QAction>("SkrivAndra"); }
    QAction* KopieraAllt() const { return Find<QAction>("KopieraAllt"); }
    // A window on a document that does not exist yet, started, the pointer on the board.
    void StartWriting() {
        Start(dir->File("doc.gtv"));
        dialogs->Errors.clear();
        PressStart();
        Enter(125, 100);
    }

    void Move(int x, int y, Qt::MouseButtons buttons = Qt::NoButton) {
        QMouseEvent event(QEvent::MouseMove, QPointF(x, y), Image1()->mapToGlobal(QPointF(x, y)),
                          Qt::NoButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(Image1(), &event);
    }
    void Button(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(125, 100), Image1()->mapToGlobal(QPointF(125, 100)), button,
                          held, Qt::NoModifier);
        QApplication::sendEvent(Image1(), &event);
    }
    // The free pointer crossing the board's edge, from a menu, the START button or the help.
    void Enter(int x, int y) {
        QEnterEvent event(QPointF(x, y), QPointF(x, y), Image1()->mapToGlobal(QPointF(x, y)));
        QApplication::sendEvent(Image1(), &event);
        Move(x, y);
    }
    void Leave() {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(Image1(), &event);
    }
    // On the built-in board: out from the centre to a cell and back writes its character.
    void Write(int column, int row, Qt::MouseButtons held = Qt::NoButton) {
        Move(125, 100, held);
        Move(50 * column - 25, 40 * row - 20, held);
        Move(50 * column - 22, 40 * row - 17, held);
        Move(125, 100, held);
    }
    // Answers the dialog of a menu command with path.
    void Choose(QAction* action, const std::string& path) {
        dialogs->Answers.push_back(QString::fromStdString(path));
        action->trigger();
    }

    std::unique_ptr<TForm1> form;
    ScriptedDialogs* dialogs = nullptr;
    std::unique_ptr<TempDir> dir;
};

}  // namespace glidtavla
