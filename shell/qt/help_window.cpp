#include "shell/qt/help_window.h"

#include <QFile>
#include <QShortcut>
#include <QVBoxLayout>

namespace vx {

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser) {
    setObjectName("help_window");
    setWindowTitle("Vexalo Help");
    setAttribute(Qt::WA_DeleteOnClose);
    browser_->setOpenExternalLinks(false);
    browser_->setOpenLinks(true);
    QFile manual(":/docs/manual.md");
    if (manual.open(QIODevice::ReadOnly))
        browser_->setMarkdown(QString::fromUtf8(manual.readAll()));
    else
        browser_->setPlainText("The manual is missing from this build.");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 720);
    for (QKeySequence keys : {QKeySequence(QKeySequence::Close), QKeySequence(Qt::Key_Escape)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
}

}  // namespace vx
