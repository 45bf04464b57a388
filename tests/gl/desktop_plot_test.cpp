// The plot area inside the desktop window: a plot command, its tab, the
// picture, dragging and the window's Zoom In command.
#include <QMouseEvent>
#include <QTest>

#include "shell/commands.h"
#include "shell/qt/plot_area.h"
#include "shell/qt/plot_gl_widget.h"
#include "tests/gl/render_support.h"
#include "tests/shell/qt/window_fixture.h"

namespace vx::test {
namespace {

TEST(GlDesktop, PlotTabShowsTheRenderedPlotAndFollowsTheMouseAndZoom) {
    setPlotAreaFactory(plotGLAreaFactory());
    WindowFixture f;
    f.window->resize(420, 460);
    f.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.window.get()));
    auto* area = qobject_cast<PlotGLWidget*>(f.window->paneArea()->plotArea());
    ASSERT_NE(area, nullptr);
    EXPECT_TRUE(f.errors.isEmpty());

    f.submit("plot3d(sin(u)*cos(w), u, -3, 3, w, -3, 3)");
    ASSERT_TRUE(f.waitIdle());
    f.window->paneArea()->tabBar()->setCurrentIndex(1);
    ASSERT_TRUE(f.waitIdle());
    ASSERT_TRUE(area->isVisible());
    QTest::qWait(50);
    QImage shown = area->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    keepScreenshot(f.window->grab().toImage(), "desktop_plot3d");
    EXPECT_GT(inkCount(shown), 5000);

    PlotRecord& record = *f.window->plotRegistry().record(0);
    QPoint from(80, 80), to(110, 80);
    QMouseEvent press(QEvent::MouseButtonPress, from, area->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, to, area->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(area, &press);
    QApplication::sendEvent(area, &move);
    EXPECT_FLOAT_EQ(record.rotZ, 75);
    QImage turned = area->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    EXPECT_NE(turned, shown);

    f.window->runCommand(kCmdZoomIn);
    EXPECT_EQ(record.zoom, 77);
    QImage closer = area->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    keepScreenshot(closer, "desktop_plot3d_zoomed");
    EXPECT_GT(inkBounds(closer).width(), inkBounds(turned).width());

    // File > Export Image sits with the plot commands' enabling.
    QAction* exportImage = nullptr;
    for (QAction* a : f.window->actions()->menu(Menu::File)->actions())
        if (a->text() == "Export &Image (.png)...") exportImage = a;
    ASSERT_NE(exportImage, nullptr);
    EXPECT_TRUE(exportImage->isEnabled());
    f.window->paneArea()->tabBar()->setCurrentIndex(0);
    ASSERT_TRUE(f.waitIdle());
    EXPECT_FALSE(exportImage->isEnabled());
}

struct GLPlotAreas {
    GLPlotAreas() { setPlotAreaFactory(plotGLAreaFactory()); }
};

struct Desktop {
    GLPlotAreas factory;  // before the window is made
    WindowFixture f;
    PlotGLWidget* area = nullptr;
    Desktop() {
        f.window->resize(600, 500);
        f.window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(f.window.get()));
        f.window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(f.window.get()));
        area = qobject_cast<PlotGLWidget*>(f.window->paneArea()->plotArea());
    }
    void run(const QString& text) {
        selectTab(0);
        f.submit(text);
        EXPECT_TRUE(f.waitIdle());
    }
    void selectTab(int tab) {
        f.window->paneArea()->tabBar()->setCurrentIndex(tab);
        EXPECT_TRUE(f.waitIdle());
        QTest::qWait(300);  // the window's look at the finished worker, then the paint
    }
    QImage shown() { return framebufferAsShown(area); }
};

TEST(GlDesktop, AFailedPlotTabIsWhiteAndTheStatusBarSaysWhy) {
    Desktop d;
    ASSERT_NE(d.area, nullptr);
    d.run("plot3d(sin(u)*cos(w), u, -3, 3, w, -3, 3)\nplot(sin(zz),t,0,1)");
    d.selectTab(1);
    ASSERT_GT(inkCount(d.shown()), 5000);
    d.selectTab(2);  // straight from the 3D plot
    EXPECT_EQ(inkCount(d.shown()), 0);
    EXPECT_EQ(d.f.window->statusText(), "Error while precalculating!  Error: Unknown Variable 'zz'");
    EXPECT_TRUE(d.f.output().endsWith("Error: Unknown Variable 'zz'\n"));
    // A graph that would delete a plot while it is calculated.
    d.run("plot3d(delplot(0), u, 0, 1, w, 0, 1)");
    d.selectTab(3);
    EXPECT_EQ(inkCount(d.shown()), 0);
    EXPECT_TRUE(d.f.output().endsWith("(delplot) Error: Not allowed while a plot is being calculated\n"));
    EXPECT_EQ(d.f.window->paneArea()->tabBar()->count(), 4);
}

TEST(GlDesktop, EachPlotKeepsItsOwnZoomUntilResetView) {
    Desktop d;
    d.run("plot3d(u*w, u, -1, 1, w, -1, 1)\nplot3d(u*w, u, -1, 1, w, -1, 1)");
    d.selectTab(1);
    int width = inkBounds(d.shown()).width();
    for (int k = 0; k < 3; ++k) d.f.window->runCommand(kCmdZoomIn);
    QTest::qWait(100);
    int zoomed = inkBounds(d.shown()).width();
    EXPECT_GT(zoomed, width + 10);
    d.selectTab(2);
    EXPECT_EQ(inkBounds(d.shown()).width(), width);
    d.selectTab(1);
    EXPECT_EQ(inkBounds(d.shown()).width(), zoomed);
    QTest::keyClick(d.area, Qt::Key_Home);
    QTest::qWait(100);
    EXPECT_EQ(inkBounds(d.shown()).width(), width);
}

}  // namespace
}  // namespace vx::test
