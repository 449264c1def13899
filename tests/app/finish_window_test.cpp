#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "app/command_line.h"
#include "window_test.h"

using namespace glidtavla;

// What a Swedish user expects of a finished window.
class FinishWindowTest : public WindowTest {
    Q_OBJECT

  private slots:
    void init() { dir = std::make_unique<TempDir>(); }
    void cleanup() {
        form.reset();
        dir.reset();
    }

    void qtSpeaksSwedish() {
        QVERIFY(InstallSwedishTranslation(*QCoreApplication::instance()));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Avbryt"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Save"), QString("Spara"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QString("Leta i:"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Files of type:"),
                 QString("Filer av typen:"));
        QCOMPARE(QCoreApplication::translate("QWidgetTextControl", "&Copy"), QString("&Kopiera"));
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo"), QString("&Ångra"));
    }

    // As "Öppna" says it: a notice, and the first save creates the file.
    void aMissingDocumentIsNamedAsOppnaNamesIt() {
        const std::string missing = dir->File("saknas.gtv");
        Start(missing);
        QVERIFY(dialogs->Errors.isEmpty());
        QVERIFY(Edit7()->isVisible());
        QCOMPARE(Edit7()->text(), QString::fromStdString(missing) + " finns inte!");
        QCOMPARE(form->DocumentPath(), missing);
    }

    void theKeyboardStaysWithTheText() {
        Start();
        PressStart();
        QCOMPARE(form->focusWidget(), Memo1());
        for (QLineEdit* shown : {Edit2(), Edit6(), Edit8(), Edit9()}) {
            QVERIFY2(shown->isReadOnly() && shown->focusPolicy() == Qt::NoFocus,
                     qPrintable(shown->objectName()));
        }
        QVERIFY(!Edit1()->isReadOnly());  // the character line may be typed in
        Edit7()->show();
        Edit8()->show();
        QTest::mouseClick(Edit7(), Qt::LeftButton);
        QVERIFY(!Edit7()->isVisible());
        QCOMPARE(form->focusWidget(), Memo1());
    }

    void nothingIsCutOff() {
        Start();
        PressStart();
        const int ordWidth = Edit9()->fontMetrics().horizontalAdvance("Ord(ch)");
        QVERIFY(Edit9()->width() >= ordWidth + 8);
        QVERIFY(Edit1()->font().pixelSize() >= Memo1()->font().pixelSize());
        QVERIFY2(Edit1()->height() >= Edit1()->minimumSizeHint().height(),
                 qPrintable(QString::number(Edit1()->minimumSizeHint().height())));
        QVERIFY(Edit1()->geometry().bottom() < Memo1()->y());

        // The help is wrapped to its panel, a paragraph a block: a block that wraps is a whole
        // paragraph (it ends a sentence), and only its last line may hold a single word.
        Bruksanvisning2()->trigger();
        QApplication::processEvents();
        for (QTextBlock block = Memo2()->document()->begin(); block.isValid();
             block = block.next()) {
            const QTextLayout* layout = block.layout();
            if (layout->lineCount() < 2) continue;
            QVERIFY2(QString(".:!?)").contains(block.text().back()), qPrintable(block.text()));
            for (int i = 0; i + 1 < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                const QString text = block.text().mid(line.textStart(), line.textLength());
                QVERIFY2(text.simplified().count(' ') >= 1, qPrintable(block.text()));
            }
        }
    }

    // The help tells of every command of the menus, by the name the menu gives it.
    void theHelpNamesEveryMenuCommand() {
        Start();
        const QString help = Memo2()->toPlainText();
        QStringList missing;
        for (QMenu* menu : form->menuBar()->findChildren<QMenu*>()) {
            for (const QAction* action : menu->actions()) {
                const QString name = action->text();
                if (name.isEmpty() || name.endsWith(" %")) continue;
                if (!help.contains(name, Qt::CaseInsensitive)) missing << name;
            }
        }
        if (!help.contains("Sluta spela in")) missing << "Sluta spela in";
        QCOMPARE(missing, QStringList());
    }
};

QTEST_MAIN(FinishWindowTest)
#include "finish_window_test.moc"
