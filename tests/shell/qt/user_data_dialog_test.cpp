// The User Data dialog: what it lists and what Delete does.
#include <QTest>

#include "tests/shell/qt/qt_test_registry.h"
#include "tests/shell/qt/window_fixture.h"

namespace vx::test {

class UserDataDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listsAndDeletes() {
        WindowFixture f;
        f.submit("newfunc(f,x,y,x*y)\nnewfunc(g,t,t)\nnew(a,2)\nnew(L,{1,2,3,4})\nnew(M,[1,2,3][4,5,6])");
        QVERIFY(f.waitIdle());
        f.window->runCommand(kCmdManageUserData);
        UserDataDialog* dialog = f.window->userDataDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QString("User Data"));
        QVERIFY(dialog->showingFunctions());
        QCOMPARE(dialog->lines(), (QStringList{"f(x,y)", "g(t)"}));
        QCOMPARE(dialog->list()->selectionMode(), QAbstractItemView::ExtendedSelection);

        dialog->showView(UserDataView::Variables);
        QCOMPARE(dialog->lines(), (QStringList{"M: matrix (2x3)", "a: cpx", "L: list (4)"}));

        // Nothing selected: nothing deleted, the variables are shown.
        f.window->outputPane()->clear();
        dialog->showView(UserDataView::Functions);
        dialog->deleteSelected();
        QVERIFY(!dialog->showingFunctions());
        QCOMPARE(f.output(), QString());

        dialog->list()->item(0)->setSelected(true);
        dialog->list()->item(2)->setSelected(true);
        dialog->deleteSelected();
        QCOMPARE(f.output(), QString("Deleted 'M'\nDeleted 'L'\n"));
        QCOMPARE(dialog->lines(), (QStringList{"a: cpx"}));

        dialog->showView(UserDataView::Functions);
        dialog->selectAll();
        dialog->deleteSelected();
        QVERIFY(dialog->showingFunctions());
        QCOMPARE(dialog->lines(), QStringList());
        f.submit("f(2,3)");
        QVERIFY(f.waitIdle());
        QVERIFY(f.output().endsWith(">  Error: Unknown Function 'f'\n"));

        // Opening again focuses the same dialog; closing it forgets it.
        f.window->runCommand(kCmdManageUserData);
        QCOMPARE(f.window->userDataDialog(), dialog);
        dialog->close();
        QTRY_VERIFY(!f.window->userDataDialog());
    }

    void neverListsStartUpDefinitions() {
        WindowFixture f;
        f.window->runCommand(kCmdManageUserData);
        UserDataDialog* dialog = f.window->userDataDialog();
        QCOMPARE(dialog->lines(), QStringList());
        dialog->showView(UserDataView::Variables);
        QCOMPARE(dialog->lines(), QStringList());
    }

    void deletingWhileWorkingIsRefused() {
        WindowFixture f;
        f.submit("new(a,1)");
        QVERIFY(f.waitIdle());
        f.window->runCommand(kCmdManageUserData);
        UserDataDialog* dialog = f.window->userDataDialog();
        dialog->showView(UserDataView::Variables);
        f.submit("sum(k,k,1,100000000)");
        QVERIFY(QTest::qWaitFor([&] { return f.window->engine().working.load() == 1; }, 5000));
        dialog->selectAll();
        dialog->deleteSelected();
        QVERIFY(f.output().endsWith("Error: Already Working\n"));
        f.window->runCommand(kCmdRecalculate);
        QVERIFY(f.waitIdle());
        f.submit("a");
        QVERIFY(f.waitIdle());
        QVERIFY(f.output().endsWith(">  1\n"));
    }
};

VX_QT_TEST(UserDataDialogTest);

}  // namespace vx::test

#include "user_data_dialog_test.moc"
