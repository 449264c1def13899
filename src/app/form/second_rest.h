#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

namespace glidtavla {

// What a single rest must not press (it ends the program, replaces a file, forgets learnt words
// or drops unsaved text): a rest on it asks a second rest on a button placed away from it,
// which says what, and only that presses it. A click presses at once.
inline void AskSecondRest(QObject* buttonOrItem, const QString& what) {
    buttonOrItem->setProperty("glidtavlaSecondRest", what);
}
// What the second rest confirms, or empty when one rest presses.
inline QString SecondRestAsked(const QObject* buttonOrItem) {
    return buttonOrItem->property("glidtavlaSecondRest").toString();
}

}  // namespace glidtavla
