#include "shell/qt/output_pane.h"

#include <QScrollBar>
#include <QTextCursor>

#include "shell/qt/shortcut_guard.h"

namespace vx {

OutputPane::OutputPane(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

bool OutputPane::event(QEvent* e) {
    if (letWindowShortcutsThrough(e)) return true;
    return QPlainTextEdit::event(e);
}

void OutputPane::insertAtEnd(const QString& text, QColor colour, bool bold) {
    QString plain = text;
    plain.remove(QChar('\r'));
    if (plain.isEmpty()) return;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(colour);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    cursor.insertText(plain, format);
}

void OutputPane::appendText(const QString& text, QColor colour) {
    insertAtEnd(text, colour, false);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void OutputPane::appendHighlighted(const QString& text, const std::vector<HighlightRun>& runs) {
    for (const HighlightRun& run : runs) {
        Rgb rgb = highlightRgb(run.colour);
        insertAtEnd(text.mid(run.start, run.length), QColor(rgb.red, rgb.green, rgb.blue), run.bold);
    }
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

}  // namespace vx
