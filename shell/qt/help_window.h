#pragma once
// The user manual in a window of its own, read from the program's
// resources so that it works without a network or an installed browser.
#include <QTextBrowser>
#include <QWidget>

namespace vx {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* owner);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

}  // namespace vx
