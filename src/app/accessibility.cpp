#include "app/accessibility.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>

#include "app/form/board_image.h"
#include "app/form/form_controls.h"

namespace glidtavla {

namespace {

void Name(QWidget* widget, const QString& name, const QString& description = QString()) {
    widget->setAccessibleName(name);
    if (!description.isEmpty()) widget->setAccessibleDescription(description);
}

// Controls whose changes are not announced; they can still be read when asked.
QSet<const QObject*>& Quiet() {
    static QSet<const QObject*> quiet;
    return quiet;
}
// Lines whose text changes are told by AnnounceTextChange, not by the line's own events.
QSet<const QObject*>& Told() {
    static QSet<const QObject*> told;
    return told;
}
bool telling = false;
QAccessible::UpdateHandler before = nullptr;

bool TextOrCaret(QAccessible::Event type) {
    return type == QAccessible::TextUpdated || type == QAccessible::TextInserted ||
           type == QAccessible::TextRemoved || type == QAccessible::TextCaretMoved ||
           type == QAccessible::TextSelectionChanged;
}

void PassOnAllButTheQuiet(QAccessibleEvent* event) {
    if (Quiet().contains(event->object())) return;
    if (!telling && TextOrCaret(event->type()) && Told().contains(event->object())) return;
    if (before != nullptr) {
        before(event);
        return;
    }
    // Qt hands an event to the platform's screen reader bridge only when no handler is set.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(PassOnAllButTheQuiet);
}

void Filter(QSet<const QObject*>& set, QWidget* widget) {
    static const bool installed = [] {
        before = QAccessible::installUpdateHandler(PassOnAllButTheQuiet);
        return true;
    }();
    (void)installed;
    set.insert(widget);
    QObject::connect(widget, &QObject::destroyed, [&set, widget] { set.remove(widget); });
}

// A read-out that changes at every pointer sample would flood a screen reader with events.
void KeepQuiet(QWidget* widget) {
    Filter(Quiet(), widget);
}

}  // namespace

void NameControlsForAssistiveTechnology(const FormControls& form) {
    Name(form.Image1, "Teckenbord",
         "Vila pekaren i den tomma mittrutan, för den ut till ett tecken och vänd tillbaka: "
         "tecknet skrivs. Håll vänster musknapp nedtryckt för det skiftade tecknet.");
    Name(form.Image2, "Demomarkör", "Visar var den uppspelade demon har pekaren.");
    Name(form.Edit6, "Teckenruta", "Tecknet som hämtas om pekaren vänder tillbaka nu.");
    KeepQuiet(form.Edit6);  // changes at every cell the pointer passes; what is written is said
    Name(form.Edit1, "Teckenrad",
         "Raden som skrivs. Gul när ett tecken kan hämtas; LF för över raden till texten.");
    Filter(Told(), form.Edit1);
    Name(form.Memo1, "Text", "Dokumentet: de färdiga raderna.");
    Name(form.Edit2, "X0", "Pekarens läge i sidled på teckenbordet.");
    Name(form.Edit3, "Y0", "Pekarens läge i höjdled på teckenbordet.");
    Name(form.Edit4, "X1", "Pekarens avstånd i sidled från mittpunkten.");
    Name(form.Edit5, "Y1", "Pekarens avstånd i höjdled från mittpunkten.");
    for (QWidget* readout : {form.Edit2, form.Edit3, form.Edit4, form.Edit5})
        KeepQuiet(readout);
    Name(form.Edit9, "Teckenkod", "Teckenrutans tecken som tal, 0 till 255.");
    KeepQuiet(form.Edit9);  // the character cell says the same in words
    Name(form.Edit7, "Meddelande", "Klicka för att dölja meddelandet.");
    Name(form.Edit8, "Teckenbordets källa", "Tabellfilen som teckenbordet kommer från.");
    Name(form.Memo2, "Bruksanvisning",
         "Klicka i texten, eller vila på Stäng bruksanvisningen, för att dölja den.");
    Name(form.Button1, "START", "Visar teckenbordet och börjar skrivandet.");
    Name(form.Label1, form.Label1->text().simplified());
    Name(form.Label2, form.Label2->text());
    Name(form.Label3, form.Label3->text());
}

void AnnounceTextChange(QWidget* line, const QString& before, const QString& after) {
    if (!QAccessible::isActive()) return;
    // Only what changed at the end: a whole line said again at every character is noise.
    qsizetype same = 0;
    while (same < before.size() && same < after.size() && before[same] == after[same])
        ++same;
    telling = true;
    if (same < before.size()) {
        QAccessibleTextRemoveEvent removed(line, int(same), before.mid(same));
        QAccessible::updateAccessibility(&removed);
    }
    if (same < after.size()) {
        QAccessibleTextInsertEvent inserted(line, int(same), after.mid(same));
        QAccessible::updateAccessibility(&inserted);
    }
    telling = false;
}

}  // namespace glidtavla
