// The input pane's colouring as the user sees it, and that typing never
// moves the caret, the selection or the scroll position.
#include <QScrollBar>
#include <QTest>
#include <QTextLayout>

#include "tests/shell/qt/qt_test_registry.h"
#include "tests/shell/qt/window_fixture.h"

namespace vx::test {

namespace {

struct Span {
    int start, length;
    QColor colour;
    bool bold;
};

// The highlighter's spans of the first block, in order.
QList<Span> spans(QPlainTextEdit* pane, int blockNumber = 0) {
    QList<Span> out;
    QTextBlock block = pane->document()->findBlockByNumber(blockNumber);
    for (const QTextLayout::FormatRange& r : block.layout()->formats())
        out << Span{r.start, r.length, r.format.foreground().color(), r.format.fontWeight() == QFont::Bold};
    return out;
}

const QColor kBlue(0, 0, 255), kGreen(0, 128, 0);

}  // namespace

class HighlightTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void coloursTheExamples() {
        WindowFixture f;
        InputPane* pane = f.window->inputPane();
        pane->setPlainText("sin(x)+2.5");
        QList<Span> s = spans(pane);
        QCOMPARE(s.size(), 2);
        QCOMPARE(s[0].start, 0); QCOMPARE(s[0].length, 3); QCOMPARE(s[0].colour, kBlue);
        QCOMPARE(s[1].start, 7); QCOMPARE(s[1].length, 3); QCOMPARE(s[1].colour, kDarkRed);

        pane->setPlainText("f (x)");
        QVERIFY(spans(pane).isEmpty());

        pane->setPlainText("a/*{b}*/[c]");
        s = spans(pane);
        QCOMPARE(s.size(), 3);
        QCOMPARE(s[0].start, 1); QCOMPARE(s[0].length, 7); QCOMPARE(s[0].colour, kGreen); QVERIFY(!s[0].bold);
        QCOMPARE(s[1].start, 8); QVERIFY(s[1].bold);
        QCOMPARE(s[2].start, 10); QVERIFY(s[2].bold);

        pane->setPlainText("1\n/* open\nstill {x}\n");
        QCOMPARE(spans(pane, 2).size(), 1);
        QCOMPARE(spans(pane, 2)[0].colour, kGreen);
        QCOMPARE(spans(pane, 2)[0].length, 9);

        pane->setPlainText("a\\b");
        QCOMPARE(pane->toPlainText(), QString("a\\b"));
        QVERIFY(spans(pane).isEmpty());
    }

    void turningOffLeavesPlainText() {
        WindowFixture f;
        InputPane* pane = f.window->inputPane();
        pane->setPlainText("sum(k,k,1,10) /* c */ [1]");
        QVERIFY(!spans(pane).isEmpty());
        f.window->runCommand(kCmdSyntaxHighlighting);
        QCOMPARE(f.window->statusText(), QString("Syntax highlighting disabled"));
        QVERIFY(!f.window->actions()->menuItem(kCmdSyntaxHighlighting)->isChecked());
        QVERIFY(spans(pane).isEmpty());
        QVERIFY(pane->font().fixedPitch() || pane->font().family().contains("Courier") ||
                QFontInfo(pane->font()).fixedPitch());
        pane->setPlainText("sin(1)");
        QVERIFY(spans(pane).isEmpty());
        f.window->runCommand(kCmdSyntaxHighlighting);
        QCOMPARE(f.window->statusText(), QString("Syntax highlighting enabled"));
        QCOMPARE(spans(pane).size(), 2);
    }

    void caretSelectionAndScrollStay() {
        WindowFixture f;
        f.window->resize(400, 400);
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        InputPane* pane = f.window->inputPane();
        QString text;
        for (int k = 0; k < 200; ++k) text += QString("line%1(x)+%1\n").arg(k);
        pane->setPlainText(text);
        QScrollBar* bar = pane->verticalScrollBar();
        bar->setValue(bar->maximum() / 2);
        int scroll = bar->value();
        QTextCursor cursor = pane->cursorForPosition(QPoint(5, 5));
        int position = cursor.position();
        pane->setTextCursor(cursor);
        QTest::keyClicks(pane, "7*");
        QCOMPARE(pane->textCursor().position(), position + 2);
        QCOMPARE(bar->value(), scroll);

        cursor.setPosition(position);
        cursor.setPosition(position + 4, QTextCursor::KeepAnchor);
        pane->setTextCursor(cursor);
        f.window->runCommand(kCmdSyntaxHighlighting);
        f.window->runCommand(kCmdSyntaxHighlighting);
        QCOMPARE(pane->textCursor().selectionStart(), position);
        QCOMPARE(pane->textCursor().selectionEnd(), position + 4);
        QCOMPARE(bar->value(), scroll);
    }
};

VX_QT_TEST(HighlightTest);

}  // namespace vx::test

#include "highlight_test.moc"
