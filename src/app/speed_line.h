#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>

#include "engine/writing_speed.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;

namespace glidtavla {

// "Visa skrivhastighet": a line at the foot of the window with the writing speed, fed by the
// fetches. It stands below every control, so nothing of the window moves for it.
class SpeedLine {
  public:
    SpeedLine(QMainWindow* window, QMenu* menu);
    void Fetched(uint8_t ch);
    void SetShown(bool shown);
    bool Shown() const;
    // After the user has shown or hidden the line.
    void OnChange(std::function<void()> changed);
    QString Text() const;

  private:
    QMainWindow* window_;
    QAction* item_;
    QLabel* label_;
    WritingSpeed speed_;
    QElapsedTimer clock_;
};

// "23,5 tecken/min · 4,7 ord/min · 57 tecken skrivna · 12 % rättningar"
QString SpeedText(const SpeedFigures& figures);

}  // namespace glidtavla
