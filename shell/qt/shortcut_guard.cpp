#include "shell/qt/shortcut_guard.h"

#include <QKeyEvent>
#include <QKeySequence>

#include "shell/commands.h"

namespace vx {

bool letWindowShortcutsThrough(QEvent* e) {
    if (e->type() != QEvent::ShortcutOverride) return false;
    auto* key = static_cast<QKeyEvent*>(e);
    QKeySequence pressed(key->keyCombination());
    for (const CommandInfo& c : commandTable()) {
        std::string_view keys = menuKeys(c);
        if (keys.empty()) continue;
        QKeySequence command = QKeySequence::fromString(QString::fromUtf8(keys.data(), static_cast<qsizetype>(keys.size())));
        if (command.matches(pressed) == QKeySequence::ExactMatch) {
            e->ignore();
            return true;
        }
    }
    return false;
}

}  // namespace vx
