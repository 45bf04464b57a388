#include "shell/qt/input_pane.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QScrollBar>

#include "shell/qt/shortcut_guard.h"

namespace vx {

namespace {

constexpr int kCompletionFrom = 2;       // letters typed before names are offered
constexpr int kCallTipLookBack = 4000;   // characters searched for an open bracket

bool isHistoryKey(const QKeyEvent* e) {
    return (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down) && e->modifiers() == Qt::ControlModifier;
}

bool isNameChar(QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; }

}  // namespace

InputPane::InputPane(QWidget* parent)
    : QPlainTextEdit(parent),
      completer_(new QCompleter(this)),
      completionNames_(new QStringListModel(this)),
      callTip_(new QLabel(this, Qt::ToolTip)) {
    setLineWrapMode(QPlainTextEdit::NoWrap);  // long statements scroll sideways instead of wrapping
    setTabChangesFocus(false);

    completer_->setModel(completionNames_);
    completer_->setWidget(this);
    completer_->setCompletionMode(QCompleter::PopupCompletion);
    completer_->setCaseSensitivity(Qt::CaseSensitive);  // names are case-sensitive
    completer_->setModelSorting(QCompleter::CaseSensitivelySortedModel);
    completer_->popup()->setObjectName("completion_popup");
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), this, &InputPane::insertCompletion);

    callTip_->setObjectName("call_tip");
    callTip_->setForegroundRole(QPalette::ToolTipText);
    callTip_->setBackgroundRole(QPalette::ToolTipBase);
    callTip_->setPalette(QPalette(callTip_->palette().color(QPalette::ToolTipText),
                                  callTip_->palette().color(QPalette::ToolTipBase)));
    callTip_->setAutoFillBackground(true);
    callTip_->setFrameShape(QFrame::Box);
    callTip_->setMargin(3);
    callTip_->setTextFormat(Qt::RichText);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &InputPane::updateCallTip);
}

void InputPane::setNameSources(NameSource names, CallTipSource tips) {
    names_ = std::move(names);
    tips_ = std::move(tips);
}

bool InputPane::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride && isHistoryKey(static_cast<QKeyEvent*>(e))) {
        e->accept();
        return true;
    }
    if (letWindowShortcutsThrough(e)) return true;
    return QPlainTextEdit::event(e);
}

void InputPane::keyPressEvent(QKeyEvent* e) {
    if (completer_->popup()->isVisible()) {
        // The popup's own keys: the completer acts on them.
        switch (e->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Escape: e->ignore(); return;
            default: break;
        }
    }
    bool isReturn = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (isReturn && (e->modifiers() & Qt::ShiftModifier)) {
        e->accept();
        Q_EMIT submitRequested();
        return;
    }
    if (isHistoryKey(e)) {
        e->accept();
        std::optional<std::string> text =
            e->key() == Qt::Key_Up ? history_.previous(toPlainText().toStdString()) : history_.next();
        if (text) replaceText(*text);
        return;
    }
    if (e->key() == Qt::Key_Escape && callTip_->isVisible()) {
        callTip_->hide();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
    bool typed = !e->text().isEmpty() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (typed || e->key() == Qt::Key_Backspace)
        offerCompletions();
    updateCallTip();
}

void InputPane::focusOutEvent(QFocusEvent* e) {
    callTip_->hide();
    QPlainTextEdit::focusOutEvent(e);
}

void InputPane::replaceText(const std::string& text) {
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(QString::fromStdString(text));
    setTextCursor(cursor);
    ensureCursorVisible();
}

void InputPane::selectRange(int begin, int end) {
    QTextCursor cursor(document());
    cursor.setPosition(begin);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
}

QString InputPane::textBeforeCursor() const {
    QTextCursor cursor = textCursor();
    int end = cursor.position();
    int start = std::max(0, end - kCallTipLookBack);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    return cursor.selectedText().replace(QChar::ParagraphSeparator, '\n');
}

QString InputPane::namePrefix() const {
    QString before = textBeforeCursor();
    qsizetype start = before.size();
    while (start > 0 && isNameChar(before[start - 1])) --start;
    while (start < before.size() && !before[start].isLetter()) ++start;
    return before.mid(start);
}

void InputPane::offerCompletions() {
    QString prefix = namePrefix();
    if (prefix.size() < kCompletionFrom || !names_) {
        completer_->popup()->hide();
        return;
    }
    QStringList names, callable;
    for (const CatalogName& c : names_()) {
        QString name = QString::fromStdString(c.name);
        if (names.isEmpty() || names.back() != name) names << name;
        bool calls = c.kind == NameKind::Builtin || c.kind == NameKind::Elementary || c.kind == NameKind::Function;
        if (calls) callable << name;
        else callable.removeAll(name);  // a variable of that name: no bracket
    }
    completionNames_->setStringList(names);
    callableNames_ = callable;
    completer_->setCompletionPrefix(prefix);
    if (completer_->completionCount() == 0 ||
        (completer_->completionCount() == 1 && completer_->currentCompletion() == prefix)) {
        completer_->popup()->hide();
        return;
    }
    completer_->popup()->setCurrentIndex(completer_->completionModel()->index(0, 0));
    QRect at = cursorRect();
    at.setWidth(completer_->popup()->sizeHintForColumn(0) + completer_->popup()->verticalScrollBar()->sizeHint().width());
    completer_->complete(at);
}

void InputPane::insertCompletion(const QString& name) {
    QString prefix = namePrefix();
    if (!name.startsWith(prefix)) return;
    QTextCursor cursor = textCursor();
    QString insertion = name.mid(prefix.size());
    if (callableNames_.contains(name) && document()->characterAt(cursor.position()) != '(') insertion += '(';
    cursor.insertText(insertion);
    setTextCursor(cursor);
    updateCallTip();
}

void InputPane::updateCallTip() {
    std::vector<CallTipLine> lines;
    if (hasFocus() && !textCursor().hasSelection() && tips_ && !completer_->popup()->isVisible()) {
        std::string before = textBeforeCursor().toStdString();
        std::string_view name = calledName(before);
        if (!name.empty()) lines = tips_(name);
    }
    if (lines.empty()) {
        callTip_->hide();
        return;
    }
    QString html;
    for (const CallTipLine& line : lines) {
        if (!html.isEmpty()) html += "<br>";
        html += QString("<b>%1</b>&nbsp;&nbsp;%2")
                    .arg(QString::fromStdString(line.form).toHtmlEscaped(),
                         QString::fromStdString(line.meaning).toHtmlEscaped());
    }
    callTip_->setText(html);
    callTip_->adjustSize();
    callTip_->move(viewport()->mapToGlobal(cursorRect().bottomLeft() + QPoint(0, 4)));
    callTip_->show();
}

}  // namespace vx
