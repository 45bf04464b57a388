#pragma once
// The user manual in a window of its own, read from the program's
// resources so that it works without a network or an installed browser.
// A contents list on the left jumps to a section; the find box searches
// the text (Enter: next match, Shift+Enter: previous).
#include <QLabel>
#include <QLineEdit>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QWidget>

namespace vx {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* owner);
    QTextBrowser* browser() const { return browser_; }
    QTreeWidget* contents() const { return contents_; }
    QLineEdit* findBox() const { return findBox_; }
    QLabel* findStatus() const { return findStatus_; }

    // Selects the next (or previous) match of the find box's text,
    // starting over at the other end when there is none further.
    bool findNext(bool backward = false);

private:
    void fillContents();
    void showHeading(int position);

    QTextBrowser* browser_;
    QTreeWidget* contents_;
    QLineEdit* findBox_;
    QLabel* findStatus_;
};

}  // namespace vx
