#pragma once
// The read-only output pane: text is only ever appended at the end, in a
// colour, and the end is kept in view.
#include <QPlainTextEdit>

#include "shell/highlight_scanner.h"

namespace vx {

class OutputPane : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit OutputPane(QWidget* parent = nullptr);

    // Carriage returns are dropped: the pane's lines end with line feeds.
    void appendText(const QString& text, QColor colour = Qt::black);
    // Text with highlighting runs (the echo of a submitted input).
    void appendHighlighted(const QString& text, const std::vector<HighlightRun>& runs);

protected:
    bool event(QEvent* e) override;

private:
    void insertAtEnd(const QString& text, QColor colour, bool bold);
};

}  // namespace vx
