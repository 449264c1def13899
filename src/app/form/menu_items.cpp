#include "app/form/menu_items.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace glidtavla {

QMenu* AddMenu(QMenuBar* bar, const QString& name, const QString& title) {
    QMenu* menu = bar->addMenu(title);
    menu->setObjectName(name);
    return menu;
}

QAction* AddItem(QMenu* menu, const QString& name, const QString& text,
                 const std::function<void()>& triggered) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    QObject::connect(action, &QAction::triggered, menu, triggered);
    return action;
}

QAction* AddCheckable(QMenu* menu, const QString& name, const QString& text,
                      const std::function<void(bool)>& toggled) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    action->setCheckable(true);
    QObject::connect(action, &QAction::triggered, menu, toggled);
    return action;
}

std::vector<QAction*> AddChoices(QMenu* menu, const QString& name, const QString& title,
                                 const std::vector<std::pair<QString, QString>>& items,
                                 const std::function<void(int)>& chosen) {
    QMenu* submenu = menu->addMenu(title);
    submenu->setObjectName(name);
    auto* group = new QActionGroup(submenu);
    std::vector<QAction*> actions;
    for (std::size_t i = 0; i < items.size(); ++i) {
        QAction* action = submenu->addAction(items[i].second);
        action->setObjectName(items[i].first);
        action->setCheckable(true);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, submenu,
                         [chosen, i] { chosen(static_cast<int>(i)); });
        actions.push_back(action);
    }
    return actions;
}

}  // namespace glidtavla
