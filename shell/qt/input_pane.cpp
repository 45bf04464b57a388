#include "shell/qt/input_pane.h"

#include <QKeyEvent>

#include "shell/qt/shortcut_guard.h"

namespace vx {

InputPane::InputPane(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);  // long statements scroll sideways instead of wrapping
    setTabChangesFocus(false);
}

bool InputPane::event(QEvent* e) {
    if (letWindowShortcutsThrough(e)) return true;
    return QPlainTextEdit::event(e);
}

void InputPane::keyPressEvent(QKeyEvent* e) {
    bool isReturn = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (isReturn && (e->modifiers() & Qt::ShiftModifier)) {
        e->accept();
        Q_EMIT submitRequested();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

}  // namespace vx
