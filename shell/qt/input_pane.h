#pragma once
// The editable input pane. Shift+Enter does not insert a line break: it
// asks for the whole pane to be submitted.
#include <QPlainTextEdit>

namespace vx {

class InputPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit InputPane(QWidget* parent = nullptr);

Q_SIGNALS:
    void submitRequested();

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

}  // namespace vx
