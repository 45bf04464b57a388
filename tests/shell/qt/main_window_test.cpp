// The main window end to end: start-up, Shift+Enter, the busy refusal,
// menus, toolbar, enabling rules, batch files, panes and layout.
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QMenu>
#include <QRegularExpression>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QToolBar>
#include <QToolButton>

#include "tests/shell/qt/qt_test_registry.h"
#include "tests/shell/qt/window_fixture.h"

namespace vx::test {

class MainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsWithItsTexts() {
        WindowFixture f;
        QCOMPARE(f.window->windowTitle(), QString("Vexalo"));
        QCOMPARE(f.output(), QString("Reading user data...\nFinished reading user data\n"
                                     "Vexalo is finished loading.\nPress F1 for help getting started.\n\n"));
        QCOMPARE(f.window->statusText(), QString("Press Shift+Enter to submit input."));
        QCOMPARE(f.window->tabCount(), 1);
        QCOMPARE(f.window->paneArea()->tabBar()->tabText(0), QString("Input"));
        QVERIFY(f.errors.isEmpty());
        // The locked definitions exist once the window is up.
        f.submit("pi");
        QVERIFY(f.waitIdle());
        QVERIFY(f.output().endsWith(">  3.14159265359\n"));
    }

    void menusToolbarAndKeys() {
        WindowFixture f;
        struct Item {
            CommandId id;
            const char* text;
            const char* keys;
        } items[] = {
            {kCmdClearHistory, "&Clear History", "Ctrl+Del"},   {kCmdOpenBatch, "&Open Batch (.vxs)...", "Ctrl+O"},
            {kCmdSaveInput, "Save &Input (.vxs)...", "Ctrl+I"}, {kCmdSaveOutput, "Save Ou&tput (.txt)...", "Ctrl+T"},
            {kCmdExport, "&Export (.obj)...", "Ctrl+E"},       {kCmdSaveUserData, "&Save User Data", "Ctrl+S"},
            {kCmdLoadUserData, "&Load User Data", "Ctrl+L"},   {kCmdExit, "E&xit", ""},
            {kCmdCloseTab, "&Close Tab", "Ctrl+W"},            {kCmdCloseOtherTabs, "Close Other &Tabs", "Ctrl+Shift+W"},
            {kCmdRecalculate, "&Recalculate", "Ctrl+R"},       {kCmdZoomIn, "&Zoom In", "Ctrl+Up"},
            {kCmdZoomOut, "Zoom &Out", "Ctrl+Down"},           {kCmdDisplaySettings, "&Display Settings...", "Ctrl+D"},
            {kCmdQualitySettings, "&Quality Settings...", "Ctrl+Q"}, {kCmdManageUserData, "Manage &User Data...", "Ctrl+U"},
            {kCmdSyntaxHighlighting, "Syntax &Highlighting", "Ctrl+H"}, {kCmdShowHelp, "Show &Help", "F1"},
            {kCmdAbout, "&About Vexalo...", ""},                 {kCmdStop, "&Stop", "Esc"},
            {kCmdResetView, "Reset &View", "Home"},
        };
        for (const Item& item : items) {
            QAction* a = f.window->actions()->menuItem(item.id);
            QCOMPARE(a->text(), QString(item.text));
            QCOMPARE(a->shortcut(), QKeySequence::fromString(item.keys));
        }
        QVERIFY(f.window->actions()->menuItem(kCmdSyntaxHighlighting)->isChecked());
        QStringList menus;
        for (QAction* a : f.window->menuBar()->actions()) menus << a->text();
        QCOMPARE(menus, (QStringList{"&File", "&Options", "&Help"}));

        QStringList tips;
        for (QAction* a : f.window->actions()->toolbar()->actions()) {
            tips << (a->isSeparator() ? "-" : a->toolTip());
            if (a->isSeparator()) continue;
            // Every button shows a picture, enabled or not.
            QImage picture = a->icon().pixmap(16, 16, QIcon::Disabled).toImage();
            int opaque = 0;
            for (int y = 0; y < picture.height(); ++y)
                for (int x = 0; x < picture.width(); ++x) opaque += qAlpha(picture.pixel(x, y)) > 0;
            QVERIFY2(opaque > 20, qPrintable(a->toolTip()));
        }
        QCOMPARE(tips, (QStringList{"Clear History", "Open Batch (.vxs)", "Save Output (.txt)", "Stop", "-",
                                    "Display Settings", "Close Tab", "Close Other Tabs", "Zoom In", "Zoom Out",
                                    "Reset View", "-", "Manage User Data", "Show Help"}));
    }

    void inputTabEnablingAtStart() {
        WindowFixture f;
        ActionSet* a = f.window->actions();
        for (CommandId id : {kCmdExport, kCmdCloseTab, kCmdRecalculate, kCmdZoomIn, kCmdZoomOut})
            QVERIFY(!a->menuItem(id)->isEnabled());
        for (int b : {kBtnCloseTab, kBtnZoomIn, kBtnZoomOut}) QVERIFY(!a->button(b)->isEnabled());
        for (int b : {kBtnClearHistory, kBtnOpenBatch, kBtnSaveOrExport, kBtnDisplaySettings, kBtnCloseOtherTabs,
                      kBtnManageUserData, kBtnShowHelp})
            QVERIFY(a->button(b)->isEnabled());
        QCOMPARE(a->saveButtonMode(), int(kSaveButtonSaveOutput));
        QVERIFY(f.window->inputPane()->isVisibleTo(f.window.get()));
        QVERIFY(!f.window->paneArea()->plotArea()->isVisibleTo(f.window.get()));
        // Button 202 saves the output on the Input tab.
        f.nextFile = f.folder.filePath("out.txt");
        a->button(kBtnSaveOrExport)->trigger();
        QCOMPARE(f.window->statusText(), QString("Wrote output successfully"));
        QCOMPARE(QString::fromUtf8(readFile(f.nextFile)), f.output());
    }

    void shiftEnterSubmitsOnTheStatementThread() {
        WindowFixture f;
        f.window->outputPane()->clear();
        f.submit("1+1\nnew(a,3)\nb");
        QCOMPARE(f.window->inputPane()->toPlainText(), QString("1+1\nnew(a,3)\nb"));  // no line break added
        QVERIFY(f.waitIdle());
        QCOMPARE(f.output(), QString("\n1+1\nnew(a,3)\nb\n>  2\n>  3\n>  Error: Unknown Variable 'b'\n"));
        QList<ColouredLine> lines = colouredLines(f.window->outputPane()->document());
        int answers = 0;
        for (const ColouredLine& line : lines) {
            if (!line.text.startsWith(">  ")) continue;
            ++answers;
            for (const QColor& c : line.colours) QCOMPARE(c, kDarkRed);
        }
        QCOMPARE(answers, 3);
        // The echo is coloured as the input pane shows it.
        ColouredLine echo = lines[2];
        QCOMPARE(echo.text, QString("new(a,3)"));
        QCOMPARE(echo.colours[0], QColor(0, 0, 255));
        QCOMPARE(echo.colours[6], kDarkRed);
        QCOMPARE(echo.colours[4], QColor(Qt::black));
    }

    void secondSubmissionWhileWorkingIsRefused() {
        WindowFixture f;
        f.submit("sum(k,k,1,100000000)");
        QVERIFY(QTest::qWaitFor([&] { return f.window->engine().working.load() == 1; }, 5000));
        // The window keeps answering while the thread computes.
        bool timerFired = false;
        QTimer::singleShot(10, [&] { timerFired = true; });
        QVERIFY(QTest::qWaitFor([&] { return timerFired; }, 2000));
        QTest::keyClick(f.window->inputPane(), Qt::Key_Return, Qt::ShiftModifier);
        f.window->runBatch(f.folder.filePath("none.vxs"));
        QVERIFY(f.output().endsWith("Error: Already Working\nError: Already Working\n"));
        QList<ColouredLine> lines = colouredLines(f.window->outputPane()->document());
        for (const QColor& c : lines[lines.size() - 2].colours) QCOMPARE(c, QColor(Qt::black));
        f.window->runCommand(kCmdRecalculate);  // stops the running evaluation
        QVERIFY(f.waitIdle());
        QVERIFY(f.output().endsWith(">  Error: Operation Aborted\n"));
        QCOMPARE(f.window->engine().abortRequested.load(), 0);
    }

    void escapeOrStopEndsAStatementAndTheNextOneRuns() {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QAction* stopItem = f.window->actions()->menuItem(kCmdStop);
        QAction* stopButton = f.window->actions()->button(kBtnStop);
        QVERIFY(!stopItem->isEnabled() && !stopButton->isEnabled());
        std::function<void()> stops[] = {
            [&] { QTest::keyClick(f.window->inputPane(), Qt::Key_Escape); },
            [&] { QTest::keyClick(f.window->outputPane(), Qt::Key_Escape); },
            [&] { stopButton->trigger(); },
        };
        for (auto& stop : stops) {
            f.submit("sum(k,k,1,2*10^9)");
            QVERIFY(stopItem->isEnabled() && stopButton->isEnabled());
            QTRY_VERIFY(f.window->statusText().startsWith("Working... "));
            QVERIFY(f.window->statusText().contains(QRegularExpression("^Working\\.\\.\\. \\d+ s")));
            QElapsedTimer clock;
            clock.start();
            stop();
            QVERIFY(f.waitIdle(10000));
            // The loop looks at the flag all the time; the margin is for a busy machine.
            QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
            QVERIFY(f.output().endsWith(">  Error: Operation Aborted\n"));
            QTRY_COMPARE(f.window->statusText(), QString("Press Shift+Enter to submit input."));
            QTRY_VERIFY(!stopItem->isEnabled());
            f.submit("1+1");
            QVERIFY(f.waitIdle());
            QVERIFY(f.output().endsWith(">  2\n"));
        }
        // Without a running statement Escape leaves the input alone.
        QTest::keyClick(f.window->inputPane(), Qt::Key_Escape);
        QCOMPARE(f.window->inputPane()->toPlainText(), QString("1+1"));
    }

    void batchFilesRunLikeASubmission() {
        WindowFixture f;
        QString path = f.folder.filePath("session.vxs");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("new(b,5)\nb*2\n");
        file.close();
        f.window->outputPane()->clear();
        f.nextFile = path;
        f.window->runCommand(kCmdOpenBatch);
        QVERIFY(f.waitIdle());
        QCOMPARE(f.output(), QString("Running '%1'...\n>  5\n>  10\nFinished running '%1'\n").arg(path));
        f.window->outputPane()->clear();
        f.window->runBatch(f.folder.filePath("missing.vxs"));
        QVERIFY(f.waitIdle());
        QCOMPARE(f.output(), QString("Error opening file"));
        f.nextFile.clear();  // cancelled dialog: nothing happens
        f.window->runCommand(kCmdOpenBatch);
        QVERIFY(f.waitIdle());
        QCOMPARE(f.output(), QString("Error opening file"));
    }

    void windowKeysReachTheWindowFromThePanes() {
        WindowFixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.window->activateWindow();
        f.window->inputPane()->setFocus();
        f.window->inputPane()->setPlainText("abc def");
        QTest::keyClick(f.window->inputPane(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(f.output(), QString("History cleared.\n"));
        QCOMPARE(f.window->inputPane()->toPlainText(), QString("abc def"));
        QTest::keyClick(f.window->inputPane(), Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(f.window->statusText(), QString("Syntax highlighting disabled"));
        QTest::keyClick(f.window->outputPane(), Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(f.window->statusText(), QString("Syntax highlighting enabled"));
    }

    void savesPanesAndReportsFailures() {
        WindowFixture f;
        f.window->inputPane()->setPlainText("x+1\n/* note */");
        f.nextFile = f.folder.filePath("in.vxs");
        f.window->runCommand(kCmdSaveInput);
        QCOMPARE(f.window->statusText(), QString("Wrote input successfully"));
        QCOMPARE(readFile(f.nextFile), QByteArray("x+1\n/* note */"));
        QVERIFY(!f.window->saveOutputTo(f.folder.filePath("no/such/folder/out.txt")));
        QCOMPARE(f.errors.size(), 1);
        QVERIFY(f.window->statusText() != "Wrote output successfully");
    }

    void layoutKeepsThePaneLimits() {
        WindowFixture f;
        f.window->resize(500, 500);
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        PaneArea* area = f.window->paneArea();
        for (int asked : {0, 64, 150, 5000}) {
            area->setInputHeight(asked);
            int h = area->height();
            QVERIFY(area->inputHeight() >= 64 || h - 94 < 64);
            QVERIFY(area->inputHeight() <= h - 94);
            QVERIFY(area->outputPane()->height() >= 59);
            QCOMPARE(area->inputPane()->geometry().bottom() + 1, h - 5);
            QCOMPARE(area->outputPane()->geometry().top(), 25);
        }
        // A drag on the splitter moves it with the pointer.
        area->setInputHeight(100);
        SplitterBar* bar = area->splitter();
        QPoint start = bar->rect().center();
        QTest::mousePress(bar, Qt::LeftButton, {}, start);
        QMouseEvent move(QEvent::MouseMove, QPointF(start.x(), start.y() - 40), bar->mapToGlobal(QPointF(start.x(), start.y() - 40)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &move);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, start);
        QVERIFY(qAbs(area->inputHeight() - 140) <= 3);
    }

    void windowStateAndDialogFoldersComeBack() {
        WindowFixture f;
        QSize first = f.window->size();
        QVERIFY(first.width() >= 800 && first.height() >= 560);
        QVERIFY(first.width() <= 1000 && first.height() <= 700);
        // A first dialog starts in the user's own folders, never the program's.
        f.window->runCommand(kCmdSaveInput);
        QVERIFY(f.askedFolder != QCoreApplication::applicationDirPath());
        QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(f.askedFolder, !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath());
        QVERIFY(QDir(f.dir).mkpath("saved"));
        f.nextFile = QDir(f.dir).filePath("saved/in.vxs");
        f.window->runCommand(kCmdSaveInput);
        f.window->runCommand(kCmdSaveOutput);
        QCOMPARE(f.askedFolder, QDir(f.dir).filePath("saved"));

        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.window->resize(860, 600);
        f.window->paneArea()->setInputHeight(170);
        f.window->inputPane()->setPlainText("sum(k,k,1,10)");
        f.window->close();

        WindowFixture next(f.dir);
        next.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(next.window.get()));
        QCOMPARE(next.window->size(), QSize(860, 600));
        QCOMPARE(next.window->paneArea()->inputHeight(), 170);
        QCOMPARE(next.window->inputPane()->toPlainText(), QString("sum(k,k,1,10)"));
        next.nextFile.clear();
        next.window->runCommand(kCmdOpenBatch);
        QCOMPARE(next.askedFolder, QDir(f.dir).filePath("saved"));
    }

    void clearHistoryHelpAndClose() {
        WindowFixture f;
        f.window->runCommand(kCmdClearHistory);
        QCOMPARE(f.output(), QString("History cleared.\n"));
        f.window->runCommand(kCmdShowHelp);
        QVERIFY(f.window->helpWindow());
        HelpWindow* help = f.window->helpWindow();
        QVERIFY(help->browser()->toPlainText().contains("Getting started"));
        // The contents list jumps to its section.
        QTreeWidget* contents = help->contents();
        QCOMPARE(contents->topLevelItemCount(), 11);
        QTreeWidgetItem* keys = contents->topLevelItem(10);
        QCOMPARE(keys->text(0), QString("11. Keys"));
        QVERIFY(QTest::qWaitForWindowExposed(help));
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(keys).center());
        QCOMPARE(help->browser()->textCursor().block().text(), QString("11. Keys"));
        QVERIFY(contents->topLevelItem(4)->childCount() > 5);  // the families of built-ins
        // The find box selects each match in turn, and says when there is none.
        QTest::keyClicks(help->findBox(), "Shift+Enter");
        QCOMPARE(help->browser()->textCursor().selectedText(), QString("Shift+Enter"));
        int first = help->browser()->textCursor().position();
        QTest::keyClick(help->findBox(), Qt::Key_Return);
        QVERIFY(help->browser()->textCursor().position() != first);
        QCOMPARE(help->browser()->textCursor().selectedText(), QString("Shift+Enter"));
        help->findBox()->setText("no such words");
        QVERIFY(!help->findNext());
        QCOMPARE(help->findStatus()->text(), QString("Not found"));
        f.submit("new(kept,7)");
        QVERIFY(f.waitIdle());
        f.window->close();
        QCOMPARE(f.window->statusText(), QString("Successfully saved user data"));
        QVERIFY(readFile(f.dataPath("vxdata.vxd")).startsWith("#kept"));
    }
};

VX_QT_TEST(MainWindowTest);

}  // namespace vx::test

#include "main_window_test.moc"
