#include "app/pointer/pointer_aids.h"

#include "app/form/menu_items.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

namespace glidtavla {

namespace {

constexpr int kGuards[] = {0, 4, 8, 12};
constexpr int kTimes[] = {500, 1000, 1500, 2000, 3000};
// A pointer that moves less than this still rests: a head mouse never keeps quite still.
constexpr int kRestRadius = 8;

QString Seconds(int ms) {
    return QLocale(QLocale::Swedish).toString(ms / 1000.0, 'f', 1) + " s";
}

}  // namespace

PointerAidSettings PointerAidSettings::Read(const SettingValues& values) {
    PointerAidSettings aids;
    const std::optional<int> guard = values.Number("pointer/guardPixels", 0, 12);
    if (guard && *guard % 4 == 0) aids.GuardPixels = *guard;
    aids.DwellPress = values.Flag("pointer/dwellPress", false);
    aids.DwellMs = values.Number("pointer/dwellMs", 500, 3000).value_or(aids.DwellMs);
    aids.LargeChooser = values.Flag("pointer/largeChooser", aids.DwellPress);
    return aids;
}

void PointerAidSettings::Write(SettingValues& values) const {
    values.Set("pointer/guardPixels", GuardPixels);
    values.Set("pointer/dwellPress", DwellPress);
    values.Set("pointer/dwellMs", DwellMs);
    values.Set("pointer/largeChooser", LargeChooser);
}

PointerAids::PointerAids(QObject* parent, QMenu* menu)
    : QObject(parent), now_([] { return QDateTime::currentMSecsSinceEpoch(); }) {
    menu->addSeparator();
    std::vector<std::pair<QString, QString>> guards, times;
    for (const int pixels : kGuards) {
        guards.emplace_back(QString("Darrskydd%1").arg(pixels),
                            pixels == 0 ? "Av" : QString("%1 bildpunkter").arg(pixels));
    }
    for (const int ms : kTimes)
        times.emplace_back(QString("Vilotid%1").arg(ms), Seconds(ms));
    guards_ = AddChoices(menu, "Darrskydd", "Darrskydd", guards, [this](int i) {
        settings_.GuardPixels = kGuards[i];
        Changed();
    });
    dwell_ = AddCheckable(menu, "TryckGenomAttVila", "Tryck genom att vila", [this](bool on) {
        settings_.DwellPress = on;
        if (on) settings_.LargeChooser = true;  // Qt's file dialogs need a click
        Changed();
    });
    times_ = AddChoices(menu, "Vilotid", "Vilotid", times, [this](int i) {
        settings_.DwellMs = kTimes[i];
        Changed();
    });
    chooser_ = AddCheckable(menu, "StorFilvaljare", "Stor filväljare", [this](bool on) {
        settings_.LargeChooser = on;
        Changed();
    });
    // The menus are made by now.
    if (QWidget* bar = menu->parentWidget()) {
        for (QMenu* each : bar->findChildren<QMenu*>())
            each->installEventFilter(this);
    }
    pointer_ = [] {
        const QPoint at = QCursor::pos();
        return Pointer{QApplication::widgetAt(at), at};
    };
    timer_ = new QTimer(this);
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, &PointerAids::Check);
    still_ = new QTimer(this);
    still_->setSingleShot(true);
    still_->setInterval(60);  // some pointers send nothing for a few frames while moving
    connect(still_, &QTimer::timeout, this, &PointerAids::RepeatNow);
    Use(settings_);
}

void PointerAids::Changed() {
    Use(settings_);
    if (changed_) changed_();
}

void PointerAids::Use(const PointerAidSettings& settings) {
    settings_ = settings;
    for (std::size_t i = 0; i < guards_.size(); ++i)
        guards_[i]->setChecked(kGuards[i] == settings_.GuardPixels);
    for (std::size_t i = 0; i < times_.size(); ++i)
        times_[i]->setChecked(kTimes[i] == settings_.DwellMs);
    dwell_->setChecked(settings_.DwellPress);
    chooser_->setChecked(settings_.LargeChooser);
    // Where the pointer is, asked rather than told: enter and leave events do not come when a
    // window appears under a pointer that keeps still.
    if (settings_.DwellPress) {
        timer_->start();
    } else {
        timer_->stop();
        Stop();
        CloseSecondRest();
    }
}

void PointerAids::TurnOnResting(int restMs) {
    settings_.DwellPress = true;
    settings_.LargeChooser = true;
    if (restMs > 0) settings_.DwellMs = restMs;
    Changed();
}

bool PointerAids::eventFilter(QObject* watched, QEvent* event) {
    auto* menu = qobject_cast<QMenu*>(watched);
    if (!settings_.DwellPress || menu == nullptr || event->type() != QEvent::MouseMove)
        return false;
    const QAction* item = menu->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    return item != nullptr && item->menu() != nullptr;
}

int PointerAids::GuardBoardPixels(int zoomPercent) const {
    return zoomPercent > 0 ? settings_.GuardPixels * 100 / zoomPercent : settings_.GuardPixels;
}

GuardedSample PointerAids::Guard(const CharacterBoard& board, SelectionState& state,
                                 GuardedSample raw, int zoomPercent, std::function<void()> again) {
    const GuardedSample at = GuardSample(board, state, raw.X, raw.Y, GuardBoardPixels(zoomPercent));
    const bool held = at.X != raw.X || at.Y != raw.Y;
    heldSample_ = held ? std::move(again) : std::function<void()>();
    if (held) {
        still_->start();
    } else {
        still_->stop();
    }
    return at;
}

void PointerAids::RepeatNow() {
    still_->stop();
    if (const auto sample = std::exchange(heldSample_, {})) sample();
}

namespace {

// What resting at a place presses: a button, or an item of the menu bar or of an open menu.
PointerAids::Target TargetAt(QWidget* under, QPoint at) {
    for (QWidget* widget = under; widget != nullptr; widget = widget->parentWidget()) {
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            if (!button->isEnabled() || !button->isVisible()) return {};
            return {button, nullptr, button->rect()};
        }
        if (auto* bar = qobject_cast<QMenuBar*>(widget)) {
            QAction* action = bar->actionAt(bar->mapFromGlobal(at));
            if (action == nullptr || !action->isEnabled()) return {};
            return {bar, action, bar->actionGeometry(action)};
        }
        if (auto* menu = qobject_cast<QMenu*>(widget)) {
            QAction* action = menu->actionAt(menu->mapFromGlobal(at));
            if (action == nullptr || !action->isEnabled() || action->isSeparator()) return {};
            return {menu, action, menu->actionGeometry(action)};
        }
    }
    return {};
}

void Press(const PointerAids::Target& target) {
    if (auto* bar = qobject_cast<QMenuBar*>(target.Widget))
        return bar->setActiveAction(target.Action);
    auto* menu = qobject_cast<QMenu*>(target.Widget);
    if (menu == nullptr) return static_cast<QAbstractButton*>(target.Widget.data())->click();
    if (target.Action->menu() != nullptr) return menu->setActiveAction(target.Action);
    // The menus close first, so what the item opens stands alone.
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    target.Action->trigger();
}

}  // namespace

void PointerAids::Rest(const Target& target, QPoint at) {
    Stop();
    target_ = target;
    restAt_ = at;
    restSince_ = now_();
    // Beside a button, never over its text; in a menu, at the item's right end.
    const bool button = qobject_cast<QAbstractButton*>(target.Widget) != nullptr;
    countdown_ = new QLabel(button ? target.Widget->window() : target.Widget.data());
    countdown_->setObjectName("Nedrakning");
    countdown_->setAttribute(Qt::WA_TransparentForMouseEvents);
    countdown_->setStyleSheet("background: #ffd54f; color: black; padding: 0 3px;");
}

void PointerAids::Stop() {
    if (countdown_) countdown_->deleteLater();
    countdown_ = nullptr;
    target_ = {};
}

void PointerAids::Check() {
    if (!settings_.DwellPress) return;
    const Pointer pointer = pointer_();
    const Target target = TargetAt(pointer.Under, pointer.At);
    const bool moved = (pointer.At - restAt_).manhattanLength() > kRestRadius;
    // After a press nothing is pressed again until the pointer has moved away and left what it
    // pressed: a dialog or menu that opens under a resting pointer is not answered by the same
    // rest.
    if (pressedAt_) {
        const bool away = (pointer.At - *pressedAt_).manhattanLength() > kRestRadius;
        if (!away || target == pressed_) return Stop();
        pressed_ = {};
        pressedAt_.reset();
    }
    if (target.Widget == nullptr) return Stop();
    if (!(target == target_) || moved) Rest(target, pointer.At);
    const qint64 left = settings_.DwellMs - (now_() - restSince_);
    if (left > 0) {
        countdown_->setText(Seconds(static_cast<int>(left)));
        countdown_->adjustSize();
        PlaceCountdown(target);
        countdown_->show();
        return;
    }
    Stop();
    pressed_ = target;  // once, until the pointer has left it
    pressedAt_ = pointer.At;
    const QObject* item =
        target.Action != nullptr ? static_cast<QObject*>(target.Action) : target.Widget.data();
    const QString what = SecondRestAsked(item);
    if (!what.isEmpty()) return ShowSecondRest(target, what);
    if (!secondRest_ || !secondRest_->isAncestorOf(target.Widget)) CloseSecondRest();
    PressSoon(target);
}

void PointerAids::PressSoon(const Target& target) {
    // After this check has returned: a dialog the press opens waits in an event loop of its
    // own, in which this timer must go on counting rests for the dialog's buttons.
    QMetaObject::invokeMethod(
        this,
        [target] {
            if (target.Widget) Press(target);
        },
        Qt::QueuedConnection);
}

void PointerAids::ShowSecondRest(const Target& target, const QString& what) {
    CloseSecondRest();
    const QRect first(target.Widget->mapToGlobal(target.Rect.topLeft()), target.Rect.size());
    // A child of the dialog it answers, so that a modal dialog lets it be clicked too; a menu
    // closes, and the question stands over the window the menu belongs to.
    QWidget* owner = target.Widget->window();
    while (qobject_cast<QMenu*>(owner) != nullptr && owner->parentWidget() != nullptr)
        owner = owner->parentWidget()->window();
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    secondRest_ = new QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint);
    secondRest_->setObjectName("AndraVilan");
    secondRest_->setAttribute(Qt::WA_DeleteOnClose);
    secondRest_->setStyleSheet(
        "QWidget#AndraVilan { background: #ffd54f; }"
        "QPushButton { font-size: 16pt; padding: 12px 24px; }");
    auto* layout = new QVBoxLayout(secondRest_);
    layout->setContentsMargins(12, 12, 72, 12);  // room for the countdown beside the buttons
    auto* yes = new QPushButton("Ja, " + what, secondRest_);
    yes->setObjectName("Bekrafta");
    auto* no = new QPushButton("Avbryt", secondRest_);
    no->setObjectName("AvbrytBekrafta");
    layout->addWidget(yes);
    layout->addWidget(no);
    connect(yes, &QPushButton::clicked, this, [this, target] {
        CloseSecondRest();
        if (target.Widget) Press(target);
    });
    connect(no, &QPushButton::clicked, this, &PointerAids::CloseSecondRest);
    secondRest_->adjustSize();
    // Away from the first: below it (above where the screen ends), its top a few rows down, so
    // a pointer resting on the first is not on it.
    const QRect screen = QGuiApplication::screenAt(first.center()) != nullptr
                             ? QGuiApplication::screenAt(first.center())->availableGeometry()
                             : QRect(first.topLeft(), QSize(4096, 4096));
    const int gap = std::max(3 * first.height(), 60);
    const QSize size = secondRest_->size();
    int top = first.bottom() + gap;
    if (top + size.height() > screen.bottom()) top = first.top() - gap - size.height();
    const int left = std::clamp(first.center().x() - size.width() / 2, screen.left(),
                                std::max(screen.left(), screen.right() - size.width()));
    secondRest_->move(left, std::max(top, screen.top()));
    secondRest_->show();
    secondRest_->raise();
}

void PointerAids::CloseSecondRest() {
    if (secondRest_) secondRest_->close();
    secondRest_ = nullptr;
}

void PointerAids::PlaceCountdown(const Target& target) {
    if (countdown_->parentWidget() == target.Widget) {
        countdown_->move(target.Rect.right() - countdown_->width() - 1, target.Rect.top() + 1);
        return;
    }
    const QRect at(target.Widget->mapTo(countdown_->parentWidget(), QPoint(0, 0)),
                   target.Widget->size());
    const bool roomRight =
        at.right() + 3 + countdown_->width() <= countdown_->parentWidget()->width();
    countdown_->move(roomRight ? at.right() + 3 : at.left() - countdown_->width() - 3,
                     at.top() + (at.height() - countdown_->height()) / 2);
    countdown_->raise();
}

}  // namespace glidtavla
