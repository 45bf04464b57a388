#include "shell/qt/action_set.h"

#include <QMenuBar>

#include "shell/qt/icon_painter.h"

namespace vx {

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

ActionSet::ActionSet(QMainWindow* window) : QObject(window), toolbar_(new QToolBar(window)) {
    QMenuBar* bar = window->menuBar();
    menus_[Menu::File] = bar->addMenu("&File");
    menus_[Menu::Options] = bar->addMenu("&Options");
    menus_[Menu::Help] = bar->addMenu("&Help");

    for (const CommandInfo& c : commandTable()) {
        QMenu* menu = menus_[c.menu];
        if (c.separatorBefore && !menu->isEmpty()) menu->addSeparator();
        QAction* action = menu->addAction(toQString(menuLabel(c)));
        std::string_view keys = menuKeys(c);
        if (!keys.empty()) {
            action->setShortcut(QKeySequence::fromString(toQString(keys)));
            action->setShortcutContext(Qt::WindowShortcut);
        }
        action->setData(static_cast<int>(c.id));
        connect(action, &QAction::triggered, this, [this, id = c.id] { Q_EMIT commandTriggered(id); });
        menuItems_[c.id] = action;
    }
    QAction* highlighting = menuItems_[kCmdSyntaxHighlighting];
    highlighting->setCheckable(true);
    highlighting->setChecked(true);

    toolbar_->setObjectName("toolbar");
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(16, 16));
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    window->addToolBar(Qt::TopToolBarArea, toolbar_);
    for (int number : toolbarOrder()) {
        if (number == kBtnSeparator) {
            toolbar_->addSeparator();
            continue;
        }
        QAction* action = toolbar_->addAction(IconPainter::toolbarIcon(number), toQString(toolbarTooltip(number, saveButtonMode_)));
        action->setToolTip(toQString(toolbarTooltip(number, saveButtonMode_)));
        action->setData(number);
        connect(action, &QAction::triggered, this, [this, number] {
            if (int command = toolbarCommand(number, saveButtonMode_)) Q_EMIT commandTriggered(command);
        });
        buttons_[number] = action;
    }
}

void ActionSet::setSaveButtonMode(int mode) {
    saveButtonMode_ = mode;
    QString tip = toQString(toolbarTooltip(kBtnSaveOrExport, mode));
    buttons_[kBtnSaveOrExport]->setText(tip);
    buttons_[kBtnSaveOrExport]->setToolTip(tip);
}

}  // namespace vx
