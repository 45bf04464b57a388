#include "shell/qt/help_window.h"

#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>

namespace vx {

namespace {
constexpr int kPositionRole = Qt::UserRole;  // a contents item's place in the text
}

HelpWindow::HelpWindow(QWidget* owner)
    : QWidget(owner, Qt::Window),
      browser_(new QTextBrowser),
      contents_(new QTreeWidget),
      findBox_(new QLineEdit),
      findStatus_(new QLabel) {
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

    contents_->setObjectName("help_contents");
    contents_->setHeaderHidden(true);
    contents_->setRootIsDecorated(true);
    fillContents();
    connect(contents_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { showHeading(item->data(0, kPositionRole).toInt()); });
    connect(contents_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showHeading(item->data(0, kPositionRole).toInt()); });

    findBox_->setObjectName("help_find");
    findBox_->setPlaceholderText("Find in the manual");
    findBox_->setClearButtonEnabled(true);
    findStatus_->setObjectName("help_find_status");
    connect(findBox_, &QLineEdit::returnPressed, this, [this] {
        findNext(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier);
    });
    connect(findBox_, &QLineEdit::textEdited, this, [this] {
        // Typing searches from the start of the current match again.
        QTextCursor cursor = browser_->textCursor();
        cursor.setPosition(cursor.selectionStart());
        browser_->setTextCursor(cursor);
        findNext();
    });

    auto* findRow = new QHBoxLayout;
    findRow->addWidget(findBox_, 1);
    findRow->addWidget(findStatus_);
    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addLayout(findRow);
    rightLayout->addWidget(browser_, 1);
    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(contents_);
    split->addWidget(right);
    split->setStretchFactor(1, 1);
    split->setSizes({220, 640});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(split);
    resize(880, 720);

    for (QKeySequence keys : {QKeySequence(QKeySequence::Close), QKeySequence(Qt::Key_Escape)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        findBox_->setFocus();
        findBox_->selectAll();
    });
}

void HelpWindow::fillContents() {
    // Sections (level 2) at the top, their subsections beneath.
    QTreeWidgetItem* section = nullptr;
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
        int level = block.blockFormat().headingLevel();
        if (level < 2 || level > 3) continue;
        auto* item = level == 2 || !section ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(section);
        if (level == 2) section = item;
        item->setText(0, block.text());
        item->setData(0, kPositionRole, block.position());
    }
}

void HelpWindow::showHeading(int position) {
    QTextCursor cursor(browser_->document());
    cursor.setPosition(position);
    browser_->setTextCursor(cursor);
    // To the end first, so that the heading comes to rest at the top.
    browser_->verticalScrollBar()->setValue(browser_->verticalScrollBar()->maximum());
    browser_->ensureCursorVisible();
}

bool HelpWindow::findNext(bool backward) {
    QString text = findBox_->text();
    if (text.isEmpty()) {
        findStatus_->clear();
        return false;
    }
    QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = browser_->find(text, flags);
    if (!found) {
        QTextCursor cursor(browser_->document());
        cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        browser_->setTextCursor(cursor);
        found = browser_->find(text, flags);
    }
    findStatus_->setText(found ? QString() : QString("Not found"));
    return found;
}

}  // namespace vx
