// Plot tabs in the window: enabling rules per plot kind, closing tabs and
// the registry's tab bookkeeping, aborting a worker by a tab change, zoom,
// export and Apply.
#include <QTest>

#include "tests/shell/qt/qt_test_registry.h"
#include "tests/shell/qt/window_fixture.h"

namespace vx::test {

namespace {

QStringList tabTitles(MainWindow* w) {
    QStringList titles;
    for (int k = 0; k < w->paneArea()->tabBar()->count(); ++k) titles << w->paneArea()->tabBar()->tabText(k);
    return titles;
}

// Clicks a tab the way a user does, then waits for its precalculation.
bool clickTab(WindowFixture& f, int index) {
    f.window->paneArea()->tabBar()->setCurrentIndex(index);
    return f.waitIdle();
}

bool run(WindowFixture& f, const QString& text) {
    f.window->selectTab(0);
    f.window->controller().tabChanged(0);
    f.submit(text);
    return f.waitIdle();
}

}  // namespace

class PlotTabsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void enablingRulesPerKind() {
        WindowFixture f;
        QVERIFY(run(f, "plot(x,x,0,1)\nplot3d(u*w,u,0,1,w,0,1)\nimplicitplot(x^2+y^2-1,x,-2,2,y,-2,2)\n"
                       "implicitplot3d(x^2+y^2+z^2-1,x,-2,2,y,-2,2,z,-2,2)\ncustomplot3d(0,1,0,1,0,1)"));
        QCOMPARE(tabTitles(f.window.get()), (QStringList{"Input", "Plot 0", "Plot 1", "Plot 2", "Plot 3", "Plot 4"}));
        struct Case {
            int tab;
            bool exportable;
            const char* status;
        } cases[] = {{1, false, "Generated plot ("},
                     {2, true, "Generated "},
                     {3, false, "Generated implicitplot ("},
                     {4, true, "Generated "},
                     {5, false, ""}};
        ActionSet* a = f.window->actions();
        for (const Case& c : cases) {
            QVERIFY(clickTab(f, c.tab));
            QCOMPARE(f.window->selectedTab(), c.tab);
            QCOMPARE(a->menuItem(kCmdExport)->isEnabled(), c.exportable);
            QCOMPARE(a->button(kBtnSaveOrExport)->isEnabled(), c.exportable);
            QCOMPARE(a->button(kBtnSaveOrExport)->toolTip(), QString("Export (.obj)"));
            for (CommandId id : {kCmdCloseTab, kCmdRecalculate, kCmdZoomIn, kCmdZoomOut}) QVERIFY(a->menuItem(id)->isEnabled());
            for (int b : {kBtnCloseTab, kBtnZoomIn, kBtnZoomOut}) QVERIFY(a->button(b)->isEnabled());
            QVERIFY(f.window->paneArea()->plotAreaShown());
            QVERIFY(f.window->statusText().startsWith(c.status));
            QVERIFY(f.window->plotRegistry().meshReady.load());
        }
        QVERIFY(clickTab(f, 0));
        QVERIFY(!a->menuItem(kCmdExport)->isEnabled());
        QVERIFY(!a->menuItem(kCmdCloseTab)->isEnabled());
        QVERIFY(a->button(kBtnSaveOrExport)->isEnabled());
        QCOMPARE(a->button(kBtnSaveOrExport)->toolTip(), QString("Save Output (.txt)"));
        QCOMPARE(f.window->statusText(), QString("Vexalo"));
        QVERIFY(!f.window->plotRegistry().meshReady.load());
    }

    void closeOtherTabsKeepsTheSelectedPlot() {
        WindowFixture f;
        QVERIFY(run(f, "plot(x,x,0,1)\nplot(x,x,0,1)\nplot(x,x,0,1)\nplot(x,x,0,1)\nplot(x,x,0,1)"));
        QVERIFY(clickTab(f, 3));
        f.window->runCommand(kCmdCloseOtherTabs);
        QCOMPARE(tabTitles(f.window.get()), (QStringList{"Input", "Plot 2"}));
        QCOMPARE(f.window->selectedTab(), 1);
        QCOMPARE(f.window->plotRegistry().slotForTab(1), 2);
        f.window->runCommand(kCmdCloseTab);
        QCOMPARE(tabTitles(f.window.get()), QStringList{"Input"});
        QCOMPARE(f.window->selectedTab(), 0);
        QVERIFY(f.window->inputPane()->isVisibleTo(f.window.get()));
    }

    void deletingPlotsKeepsTabsInStep() {
        WindowFixture f;
        QVERIFY(run(f, "plot(x,x,0,1)\nplot(x,x,0,1)\nplot(x,x,0,1)"));
        QVERIFY(run(f, "delplot(1)"));
        QVERIFY(f.output().endsWith(">  (delplot) Plot 1 deleted\n"));
        QCOMPARE(tabTitles(f.window.get()), (QStringList{"Input", "Plot 0", "Plot 2"}));
        QCOMPARE(f.window->plotRegistry().slotForTab(2), 2);
        QVERIFY(run(f, "plot(x,x,0,1)"));
        QCOMPARE(tabTitles(f.window.get()), (QStringList{"Input", "Plot 0", "Plot 2", "Plot 1"}));
        QCOMPARE(f.window->plotRegistry().slotForTab(3), 1);

        // A batch that deletes the shown plot brings the Input tab back.
        QVERIFY(clickTab(f, 2));
        QString path = f.folder.filePath("delete.vxs");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("delplot(2)\n");
        file.close();
        f.window->runBatch(path);
        QVERIFY(f.waitIdle());
        QCOMPARE(tabTitles(f.window.get()), (QStringList{"Input", "Plot 0", "Plot 1"}));
        QCOMPARE(f.window->selectedTab(), 0);
        QVERIFY(!f.window->paneArea()->plotAreaShown());
    }

    void selectingAPlotWhileWorkingAbortsTheEvaluation() {
        WindowFixture f;
        QVERIFY(run(f, "plot(x,x,0,1)"));
        f.submit("sum(k,k,1,100000000)");
        QVERIFY(QTest::qWaitFor([&] { return f.window->engine().working.load() == 1; }, 5000));
        f.window->paneArea()->tabBar()->setCurrentIndex(1);
        QCOMPARE(f.window->selectedTab(), 0);
        QVERIFY(f.waitIdle());
        QVERIFY(f.output().endsWith(">  Error: Operation Aborted\n"));
        QVERIFY(!f.window->paneArea()->plotAreaShown());
    }

    void abortingAPrecalculation() {
        WindowFixture f;
        QVERIFY(run(f, "implicitplot3d(x^2+y^2+z^2-1,x,-2,2,y,-2,2,z,-2,2)"));
        f.window->qualitySettings().implicit3dGrid = 150;  // seconds of work, little memory
        f.window->paneArea()->tabBar()->setCurrentIndex(1);
        QVERIFY(QTest::qWaitFor([&] { return f.window->statusText().startsWith("Precalculating implicitplot3d"); }, 10000));
        f.window->submitInput();
        QVERIFY(f.output().endsWith("Error: Already Working\n"));
        f.window->paneArea()->tabBar()->setCurrentIndex(0);
        QVERIFY(f.waitIdle());
        QVERIFY(f.output().endsWith("Error: Operation Aborted\n"));
        QCOMPARE(f.window->statusText(), QString("Precalculation aborted!"));
    }

    void closingATabDuringItsPrecalculation() {
        WindowFixture f;
        QVERIFY(run(f, "implicitplot3d(x^2+y^2+z^2-1,x,-2,2,y,-2,2,z,-2,2)\nplot(x,x,0,1)"));
        f.window->qualitySettings().implicit3dGrid = 150;  // seconds of work, little memory
        f.window->paneArea()->tabBar()->setCurrentIndex(1);
        QVERIFY(QTest::qWaitFor([&] { return f.window->statusText().startsWith("Precalculating implicitplot3d"); }, 10000));
        f.window->runCommand(kCmdCloseTab);
        QVERIFY(f.waitIdle());
        QCOMPARE(tabTitles(f.window.get()), (QStringList{"Input", "Plot 1"}));
        QCOMPARE(f.window->selectedTab(), 0);
        QVERIFY(!f.window->plotRegistry().meshReady.load());
    }

    void zoomAndExport() {
        WindowFixture f;
        QVERIFY(run(f, "customplot(-10,10,-5,5)\nplot3d(u*w,u,0,1,w,0,1)"));
        QVERIFY(clickTab(f, 1));
        f.window->runCommand(kCmdZoomIn);
        View2D v = f.window->plotRegistry().record(0)->view2D;
        QCOMPARE(v.xMin, -8.0f);
        QCOMPARE(v.xMax, 8.0f);
        QCOMPARE(v.yMin, -4.0f);
        QCOMPARE(v.yMax, 4.0f);
        f.window->runCommand(kCmdExport);
        QCOMPARE(f.window->statusText(), QString("Cannot export this type of plot"));

        QVERIFY(clickTab(f, 2));
        f.window->runCommand(kCmdZoomIn);
        QCOMPARE(f.window->plotRegistry().record(1)->zoom, 77);  // the plot's own zoom
        QCOMPARE(f.window->displaySettings().zoom, 72);
        f.nextFile = f.folder.filePath("mesh.obj");
        f.window->actions()->button(kBtnSaveOrExport)->trigger();
        QCOMPARE(f.window->statusText(), QString("Wrote OBJ file successfully"));
        QByteArray obj = readFile(f.nextFile);
        QVERIFY(obj.startsWith("# Generated by Vexalo\r\n"));
        QVERIFY(obj.contains("\r\nv "));
        QVERIFY(obj.contains("\r\nf "));
    }

    void applyRecomputesTheShownPlot() {
        WindowFixture f;
        QVERIFY(run(f, "plot(x,x,0,1)\nvectorplot([-y,x],x,-1,1,y,-1,1)"));
        QVERIFY(clickTab(f, 1));
        f.window->runCommand(kCmdQualitySettings);
        QualityPage* page = f.window->settingsSheet()->qualityPage();
        QCOMPARE(page->selectedKind(), 0);
        f.window->setStatusText("before");
        page->kinds()->button(3)->click();
        page->namedButton("Low")->click();
        page->namedButton("Apply")->click();  // another kind's value: no recomputation
        QVERIFY(f.waitIdle());
        QCOMPARE(f.window->statusText(), QString("before"));
        QCOMPARE(f.window->qualitySettings().implicitGrid, 20);
        page->kinds()->button(0)->click();
        page->namedButton("Low")->click();
        page->namedButton("Apply")->click();
        QVERIFY(f.waitIdle());
        QVERIFY(f.window->statusText().startsWith("Generated plot ("));
        QCOMPARE(f.window->qualitySettings().plotSamples, 80);
        // Selecting a plot shows its kind on the open Quality page.
        QVERIFY(clickTab(f, 2));
        QCOMPARE(page->selectedKind(), 8);
    }
};

VX_QT_TEST(PlotTabsTest);

}  // namespace vx::test

#include "plot_tabs_test.moc"
