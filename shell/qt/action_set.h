#pragma once
// The menus, their keys and the toolbar, built from the shell's command
// table. Menu items and toolbar buttons are separate actions: their
// enabling differs (Export is grayed while button 202 saves the output).
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <map>

#include "shell/commands.h"

namespace vx {

class ActionSet : public QObject {
    Q_OBJECT
public:
    explicit ActionSet(QMainWindow* window);

    QAction* menuItem(CommandId id) const { return menuItems_.at(id); }
    QAction* button(int number) const { return buttons_.at(number); }
    bool hasButton(int number) const { return buttons_.count(number) != 0; }
    QToolBar* toolbar() const { return toolbar_; }
    QMenu* menu(Menu which) const { return menus_.at(which); }

    // Button 202's tooltip follows what it does.
    void setSaveButtonMode(int mode);
    int saveButtonMode() const { return saveButtonMode_; }

Q_SIGNALS:
    // A menu item or its key (commandId), or a toolbar button (through its mode).
    void commandTriggered(int commandId);

private:
    std::map<int, QAction*> menuItems_;
    std::map<int, QAction*> buttons_;
    std::map<Menu, QMenu*> menus_;
    QToolBar* toolbar_;
    int saveButtonMode_ = kSaveButtonSaveOutput;
};

QString toQString(std::string_view text);

}  // namespace vx
