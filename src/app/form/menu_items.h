#pragma once

#include <QString>

#include <functional>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace glidtavla {

// A menu of the menu bar under an object name of its own.
QMenu* AddMenu(QMenuBar* bar, const QString& name, const QString& title);
// An item of a menu that runs triggered.
QAction* AddItem(QMenu* menu, const QString& name, const QString& text,
                 const std::function<void()>& triggered);

// A checkable item of a menu, telling toggled whether it is now on.
QAction* AddCheckable(QMenu* menu, const QString& name, const QString& text,
                      const std::function<void(bool)>& toggled);

// A submenu of checkable items of which one is chosen; chosen is told the index picked. Each
// item is its object name and its text.
std::vector<QAction*> AddChoices(QMenu* menu, const QString& name, const QString& title,
                                 const std::vector<std::pair<QString, QString>>& items,
                                 const std::function<void(int)>& chosen);

}  // namespace glidtavla
