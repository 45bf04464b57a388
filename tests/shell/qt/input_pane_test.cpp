// The input pane's helpers: the history of submissions behind Ctrl+Up and
// Ctrl+Down, kept across runs, the statement a failed check points at, name
// completion and call tips.
#include <QAbstractItemView>
#include <QTest>

#include "tests/shell/qt/qt_test_registry.h"
#include "tests/shell/qt/window_fixture.h"

namespace vx::test {

namespace {

void showActive(MainWindow& window) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.inputPane()->setFocus();
}

}  // namespace

class InputPaneTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ctrlUpAndDownBrowseTheSubmissionsOfEveryRun() {
        WindowFixture f;
        showActive(*f.window);
        for (const char* text : {"1+1", "new(q,\n2)", "1+1"}) {
            f.submit(text);
            QVERIFY(f.waitIdle());
        }
        QCOMPARE(readFile(f.dataPath("input_history.txt")), QByteArray("new(q,\\n2)\n1+1\n"));
        InputPane* pane = f.window->inputPane();
        pane->setPlainText("draft");
        struct Step {
            Qt::Key key;
            const char* text;
        } steps[] = {{Qt::Key_Up, "1+1"}, {Qt::Key_Up, "new(q,\n2)"}, {Qt::Key_Up, "new(q,\n2)"},
                     {Qt::Key_Down, "1+1"}, {Qt::Key_Down, "draft"}, {Qt::Key_Down, "draft"}};
        for (const Step& s : steps) {
            QTest::keyClick(pane, s.key, Qt::ControlModifier);
            QCOMPARE(pane->toPlainText(), QString(s.text));
        }
        // A later run starts with the same history.
        WindowFixture next(f.dir);
        showActive(*next.window);
        QTest::keyClick(next.window->inputPane(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(next.window->inputPane()->toPlainText(), QString("1+1"));
    }

    void aFailedCheckSelectsItsStatement() {
        WindowFixture f;
        struct Case {
            const char* input;
            const char* selected;
            const char* answer;
        } cases[] = {
            {"1+1\n2*", "2*", ">  Error: Unexpected '*' at line end\n"},
            {"x\n  sin(2,\n  *3)\ny", "sin(2,\n  *3)", nullptr},
            {"1+1", "", ">  2\n"},
        };
        for (const Case& c : cases) {
            f.window->outputPane()->clear();
            f.submit(c.input);
            QVERIFY(f.waitIdle());
            QCOMPARE(f.window->inputPane()->textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n'),
                     QString(c.selected));
            QCOMPARE(f.window->inputPane()->toPlainText(), QString(c.input));
            if (c.answer) QVERIFY2(f.output().endsWith(c.answer), qPrintable(f.output()));
        }
    }

    void namesAreCompletedAndCallsExplained() {
        WindowFixture f;
        showActive(*f.window);
        f.submit("new(myvalue,1)");
        QVERIFY(f.waitIdle());
        InputPane* pane = f.window->inputPane();
        pane->clear();
        QAbstractItemView* popup = pane->completer()->popup();
        struct Step {
            const char* typed;
            bool accept;           // Return in the popup
            const char* offered;   // first completion, or "" for no popup
            const char* text;      // the pane afterwards
            const char* tip;       // in the call tip, or "" for none
        } steps[] = {
            {"polyr", true, "polyroots", "polyroots(", "polyroots(p)</b>&nbsp;&nbsp;all roots"},
            {"{1,-1})", false, "", "polyroots({1,-1})", ""},
            {"+myv", true, "myvalue", "polyroots({1,-1})+myvalue", ""},  // a variable gets no bracket
            {"*take(", false, "", "polyroots({1,-1})+myvalue*take(", "take(list, i)</b>&nbsp;&nbsp;element i"},
            {"{1},sin(", false, "", "polyroots({1,-1})+myvalue*take({1},sin(", "sin(z)</b>"},
            {"0)", false, "", "polyroots({1,-1})+myvalue*take({1},sin(0)", "take(list, a, b)"},
        };
        for (const Step& s : steps) {
            QTest::keyClicks(pane, s.typed);
            QCOMPARE(popup->isVisible(), *s.offered != 0);
            if (*s.offered) QCOMPARE(pane->completer()->currentCompletion(), QString(s.offered));
            if (s.accept) QTest::keyClick(popup, Qt::Key_Return);
            QCOMPARE(pane->toPlainText(), QString(s.text));
            QCOMPARE(pane->callTip()->isVisible(), *s.tip != 0);
            if (*s.tip) QVERIFY2(pane->callTip()->text().contains(s.tip), qPrintable(pane->callTip()->text()));
        }
    }
};

VX_QT_TEST(InputPaneTest);

}  // namespace vx::test

#include "input_pane_test.moc"
