#pragma once
// A main window over a fresh data folder, with message boxes and file
// dialogs replaced by recorders so that tests run unattended.
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <memory>

#include "shell/qt/main_window.h"

namespace vx::test {

class WindowFixture {
public:
    explicit WindowFixture(const QString& dataDir = QString()) {
        MainWindowOptions options;
        dir = dataDir.isEmpty() ? folder.path() : dataDir;
        options.dataDir = dir;
        options.windowSettingsPath = QDir(dir).filePath("window.ini");  // never the user's own
        options.errorBox = [this](QWidget*, const QString& text) { errors << text; };
        options.chooseFile = [this](QWidget*, FileChoice, const QString& folder) {
            askedFolder = folder;
            return nextFile;
        };
        window = std::make_unique<MainWindow>(options);
    }

    // Waits until no thread runs and the output they queued has arrived.
    bool waitIdle(int timeoutMs = 20000) {
        bool idle = QTest::qWaitFor([this] { return window->isIdle(); }, timeoutMs);
        // Everything the threads queued before they ended.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        return idle;
    }

    // Types the text into the input pane and presses Shift+Enter.
    void submit(const QString& text) {
        window->inputPane()->setPlainText(text);
        QTest::keyClick(window->inputPane(), Qt::Key_Return, Qt::ShiftModifier);
    }

    QString output() const { return window->outputPane()->toPlainText(); }
    QString dataPath(const char* name) const { return QDir(dir).filePath(name); }

    QTemporaryDir folder;
    QString dir;
    QStringList errors;
    QString nextFile;
    QString askedFolder;  // where the last file dialog would have started
    std::unique_ptr<MainWindow> window;
};

// Each line of a text pane with the colours its characters are drawn in.
struct ColouredLine {
    QString text;
    QList<QColor> colours;  // one per character
};

inline QList<ColouredLine> colouredLines(QTextDocument* document) {
    QList<ColouredLine> lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        ColouredLine line;
        line.text = block.text();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextFragment f = it.fragment();
            for (int k = 0; k < f.length(); ++k) line.colours << f.charFormat().foreground().color();
        }
        lines << line;
    }
    return lines;
}

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline const QColor kDarkRed(128, 0, 0);

}  // namespace vx::test
