#pragma once
// The editable input pane. Shift+Enter does not insert a line break: it
// asks for the whole pane to be submitted. Ctrl+Up and Ctrl+Down bring back
// earlier submissions (the zoom keys belong to the plot tabs, where this
// pane is hidden). A name being typed is offered for completion, and inside
// a call's brackets a tip shows how the function is called.
#include <QCompleter>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStringListModel>
#include <functional>

#include "engine/name_catalog.h"
#include "shell/input_history.h"

namespace vx {

class InputPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit InputPane(QWidget* parent = nullptr);

    InputHistory& history() { return history_; }
    // Selects characters [begin, end) and shows them.
    void selectRange(int begin, int end);

    // Where completion and call tips look names up; the window answers
    // from the engine only while no statement changes its stores.
    using NameSource = std::function<std::vector<CatalogName>()>;
    using CallTipSource = std::function<std::vector<CallTipLine>(std::string_view name)>;
    void setNameSources(NameSource names, CallTipSource tips);

    QCompleter* completer() const { return completer_; }
    QLabel* callTip() const { return callTip_; }

Q_SIGNALS:
    void submitRequested();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    // Replaces the whole text as one undoable edit.
    void replaceText(const std::string& text);
    QString textBeforeCursor() const;
    // The name being typed at the cursor (it starts with a letter).
    QString namePrefix() const;
    void offerCompletions();
    void insertCompletion(const QString& name);
    void updateCallTip();

    InputHistory history_;
    QCompleter* completer_;
    QStringListModel* completionNames_;
    QStringList callableNames_;  // sorted: completing one of them adds "("
    QLabel* callTip_;
    NameSource names_;
    CallTipSource tips_;
};

}  // namespace vx
