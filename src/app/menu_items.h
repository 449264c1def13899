#pragma once

#include <QString>

#include <functional>
#include <utility>
#include <vector>

class QAction;
class QMenu;

namespace glidtavla {

// A checkable item of a menu, telling toggled whether it is now on.
QAction* AddCheckable(QMenu* menu, const QString& name, const QString& text,
                      const std::function<void(bool)>& toggled);

// A submenu of checkable items of which one is chosen; chosen is told the index picked. Each
// item is its object name and its text.
std::vector<QAction*> AddChoices(QMenu* menu, const QString& name, const QString& title,
                                 const std::vector<std::pair<QString, QString>>& items,
                                 const std::function<void(int)>& chosen);

}  // namespace glidtavla
