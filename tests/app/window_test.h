#pragma once

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

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
    void PressStart() { QTest::mouseClick(form->Button1, Qt::LeftButton); }
    // A window on a document that does not exist yet, started, the pointer on the board.
    void StartWriting() {
        Start(dir->File("doc.gtv"));
        dialogs->Errors.clear();  // the missing document's report
        PressStart();
        Enter(125, 100);
    }

    void Move(int x, int y, Qt::MouseButtons buttons = Qt::NoButton) {
        QMouseEvent event(QEvent::MouseMove, QPointF(x, y),
                          form->Image1->mapToGlobal(QPointF(x, y)), Qt::NoButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(form->Image1, &event);
    }
    void Button(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(125, 100), form->Image1->mapToGlobal(QPointF(125, 100)),
                          button, held, Qt::NoModifier);
        QApplication::sendEvent(form->Image1, &event);
    }
    // The free pointer crossing the board's edge, from a menu, the START button or the help.
    void Enter(int x, int y) {
        QEnterEvent event(QPointF(x, y), QPointF(x, y), form->Image1->mapToGlobal(QPointF(x, y)));
        QApplication::sendEvent(form->Image1, &event);
        Move(x, y);
    }
    void Leave() {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(form->Image1, &event);
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
