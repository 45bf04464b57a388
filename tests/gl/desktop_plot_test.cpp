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
    EXPECT_EQ(f.window->displaySettings().zoom, 77);
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

}  // namespace
}  // namespace vx::test
