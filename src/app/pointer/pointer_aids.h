#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

#include <functional>
#include <optional>
#include <vector>

#include "app/form/second_rest.h"
#include "app/form/setting_values.h"
#include "engine/tremor_guard.h"

class QAbstractButton;
class QAction;
class QLabel;
class QMenu;
class QTimer;

namespace glidtavla {

// What the user set for a pointer that trembles or cannot click.
struct PointerAidSettings {
    int GuardPixels = 0;        // "Darrskydd": 0 (Av), 4, 8 or 12
    bool DwellPress = false;    // "Tryck genom att vila"
    int DwellMs = 1000;         // 500 to 3000
    bool LargeChooser = false;  // "Stor filväljare": the program's own, rows a rest presses
    friend bool operator==(const PointerAidSettings&, const PointerAidSettings&) = default;
    static PointerAidSettings Read(const SettingValues& values);
    void Write(SettingValues& values) const;
};

// "Darrskydd" and "Tryck genom att vila" in the Visa menu. Resting the pointer on any button
// of the program (START, a message's) or an item of its menus for the set time presses it,
// with the time left shown there; the pointer must leave or move before the same one is
// pressed again.
class PointerAids : public QObject {
    Q_OBJECT

  public:
    PointerAids(QObject* parent, QMenu* menu);

    void Use(const PointerAidSettings& settings);
    // Resting presses on, and kept so, for a person who cannot click (--vila); restMs 0
    // keeps the time chosen before.
    void TurnOnResting(int restMs);
    const PointerAidSettings& Current() const { return settings_; }
    void OnChange(std::function<void()> changed) { changed_ = std::move(changed); }
    // The guard in board pixels at a zoom, for the screen's pixels the user chose.
    int GuardBoardPixels(int zoomPercent) const;
    // The guard on a sample of the board at a zoom. It moves the cell on the second sample past
    // its band; a pointer that stops on the first sends no second, so a sample it holds is
    // given again (again) once the pointer has stood still a moment, unless a newer one came.
    GuardedSample Guard(const CharacterBoard& board, SelectionState& state, GuardedSample raw,
                        int zoomPercent, std::function<void()> again);
    // The held sample at once: the pointer leaves the board, and its last place there counts.
    void RepeatNow();

    // What resting presses: a button, or an item (action) of the menu bar or a menu, and
    // where on the widget it stands.
    struct Target {
        QPointer<QWidget> Widget;
        QAction* Action = nullptr;
        QRect Rect;
        bool operator==(const Target& other) const {
            return Widget == other.Widget && Action == other.Action;
        }
    };
    // The widget under the pointer and where the pointer is.
    struct Pointer {
        QWidget* Under;
        QPoint At;
    };
    // For tests: the time (milliseconds from any fixed point) and the pointer.
    void SetClock(std::function<qint64()> now) { now_ = std::move(now); }
    void SetPointer(std::function<Pointer()> pointer) { pointer_ = std::move(pointer); }
    // Looks where the pointer rests and whether it has rested long enough; a timer calls it
    // ten times a second while "Tryck genom att vila" is on.
    void Check();

  protected:
    // While resting presses, a submenu opens only by a rest on its item: a move over the item
    // does not reach the menu, whose own short delay would open it under a passing pointer.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Changed();
    void Rest(const Target& target, QPoint at);
    void PlaceCountdown(const Target& target);
    void Stop();
    void PressSoon(const Target& target);
    void ShowSecondRest(const Target& target, const QString& what);
    void CloseSecondRest();

    PointerAidSettings settings_;
    std::function<void()> changed_;
    std::function<qint64()> now_;
    std::function<Pointer()> pointer_;
    std::vector<QAction*> guards_;
    std::vector<QAction*> times_;
    QAction* dwell_;
    QAction* chooser_;
    QTimer* timer_;
    QTimer* still_;
    std::function<void()> heldSample_;
    Target target_;                    // where the pointer rests
    Target pressed_;                   // pressed by resting, until the pointer has left it
    std::optional<QPoint> pressedAt_;  // and has moved away from where it rested
    QPointer<QLabel> countdown_;
    QPointer<QWidget> secondRest_;  // the confirming buttons, while a second rest is asked
    QPoint restAt_;
    qint64 restSince_ = 0;
};

}  // namespace glidtavla
