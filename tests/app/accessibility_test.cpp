#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "window_test.h"

using namespace glidtavla;

// What a screen reader finds in the window.
class AccessibilityTest : public WindowTest {
    Q_OBJECT

  private slots:
    void init() { dir = std::make_unique<TempDir>(); }
    void cleanup() {
        form.reset();
        dir.reset();
    }

    void everyVisibleControlHasASwedishName() {
        Start();
        for (const bool started : {false, true}) {
            if (started) PressStart();
            Bruksanvisning2()->trigger();
            for (QWidget* widget : form->centralWidget()->findChildren<QWidget*>()) {
                if (!widget->isVisible() || widget->parentWidget() != Image1()->parentWidget()) {
                    continue;
                }
                QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
            }
        }
        QCOMPARE(Image1()->accessibleName(), QString("Teckenbord"));
        QVERIFY(!Edit1()->accessibleDescription().isEmpty());
    }

    // What a screen reader reads when the line edit reports a change: the line as written.
    void theCharacterLineReadsAsWritten() {
        Start();
        PressStart();
        Write(2, 2);
        Write(1, 7);
        QAccessibleInterface* line = QAccessible::queryAccessibleInterface(Edit1());
        QVERIFY(line != nullptr);
        QCOMPARE(line->text(QAccessible::Name), QString("Teckenrad"));
        QCOMPARE(line->text(QAccessible::Value), QString("aå"));
        QVERIFY(line->textInterface() != nullptr);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
