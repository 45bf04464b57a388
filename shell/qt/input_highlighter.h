#pragma once
// Colours the input pane's document with the shell's scanner. Only the
// formats change, never the text: the caret, the selection and the scroll
// position stay where they are.
#include <QSyntaxHighlighter>

namespace vx {

class InputHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit InputHighlighter(QObject* parent) : QSyntaxHighlighter(parent) {}

protected:
    void highlightBlock(const QString& text) override;
};

}  // namespace vx
