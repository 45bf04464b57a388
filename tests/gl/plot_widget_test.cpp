// The plot area widget: painting, dragging, the wheel, zoom, image export
// and the failure message, driven with synthesized events.
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <memory>
#include <thread>

#include "plot/view_math.h"
#include "shell/qt/plot_gl_widget.h"
#include "tests/gl/render_support.h"

namespace vx::test {
namespace {

struct Shown {
    Scene scene;
    PlotGLWidget widget;
    explicit Shown(PlotRecord r) : scene(std::move(r)), widget(scene.registry) {}
    void show() {
        widget.resize(240, 200);
        widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    }
    QImage picture() {
        QApplication::processEvents();
        return widget.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(&widget, &e);
    }
    void drag(QPoint from, QPoint to) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    void wheel(int notches) {
        QPointF at(50, 50);
        QWheelEvent e(at, widget.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(&widget, &e);
    }
};

PlotRecord surfaceRecord() { return record3D(PlotKind::Plot3d, 1, {}); }

void fillSaddle(Scene& s) {
    fillSurface(s, 16, 16, [](float u, float w) {
        float x = 2 * u - 1, y = 2 * w - 1;
        return std::array<float, 3>{x, y, x * y};
    });
}

TEST(GlWidget, LeftDragTurnsA3DPlotAndTheViewStaysInTheRecord) {
    Shown p(surfaceRecord());
    fillSaddle(p.scene);
    p.show();
    QImage before = p.picture();
    keepScreenshot(before, "widget_plot3d");
    EXPECT_GT(inkCount(before), 1000);
    p.drag({100, 100}, {130, 90});
    EXPECT_FLOAT_EQ(p.scene.record().rotZ, 45 + 30);
    EXPECT_FLOAT_EQ(p.scene.record().rotX, 305 - 10);
    QImage after = p.picture();
    keepScreenshot(after, "widget_plot3d_turned");
    EXPECT_NE(before, after);

    // Only a move with the left button alone, inside the window's height, drags.
    p.mouse(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton, Qt::LeftButton);
    p.mouse(QEvent::MouseMove, {40, 10}, Qt::NoButton, Qt::LeftButton | Qt::RightButton);
    p.mouse(QEvent::MouseMove, {40, 500}, Qt::NoButton, Qt::LeftButton);
    p.mouse(QEvent::MouseMove, {60, 10}, Qt::NoButton, Qt::NoButton);
    EXPECT_FLOAT_EQ(p.scene.record().rotZ, 75);
    EXPECT_FLOAT_EQ(p.scene.record().rotX, 295);
}

// Pixels of `moved` that match `original` shifted by (dx, dy), among the
// inked pixels of the original that stay inside.
double shiftedMatch(const QImage& original, const QImage& moved, int dx, int dy) {
    int inked = 0, matched = 0;
    for (int y = 0; y < original.height(); ++y)
        for (int x = 0; x < original.width(); ++x) {
            int mx = x + dx, my = y + dy;
            if (isWhite(pixel(original, x, y)) || mx < 0 || my < 0 || mx >= moved.width() || my >= moved.height())
                continue;
            ++inked;
            if (anyNear(moved, {mx, my}, 1, [&](Rgb c) { return near(c, pixel(original, x, y), 40); })) ++matched;
        }
    return inked ? double(matched) / inked : 0;
}

TEST(GlWidget, LeftDragMovesA2DPlotWithThePointerAndResetViewBringsItBack) {
    Shown p(record2D(PlotKind::Plot, 1, {}));
    fillCurve(p.scene, 160, -1, 1, [](float x) { return x * x; });
    p.scene.display().axes2D = 0;
    p.show();
    QImage before = p.picture();
    ASSERT_GT(inkCount(before), 200);
    p.drag({150, 50}, {120, 70});
    QImage panned = p.picture();
    keepScreenshot(panned, "widget_plot_panned");
    // The curve moved 30 pixels left and 20 down, as the pointer did.
    EXPECT_GT(shiftedMatch(before, panned, -30, 20), 0.95);
    EXPECT_LT(shiftedMatch(before, panned, 0, 0), 0.5);
    p.widget.resetView();
    EXPECT_EQ(p.picture(), before);
}
TEST(GlWidget, WheelAndZoomCommandsZoom) {
    Shown flat(record2D(PlotKind::Plot, 1, {}));
    fillCurve(flat.scene, 160, -10, 10, [](float x) { return x / 2; });
    flat.show();
    flat.wheel(1);
    EXPECT_FLOAT_EQ(flat.scene.record().view2D.xMax, 8);
    EXPECT_FLOAT_EQ(flat.scene.record().view2D.yMin, -4);
    flat.widget.zoom(ZoomDirection::Out);
    EXPECT_FLOAT_EQ(flat.scene.record().view2D.xMax, 10);

    Shown solid(surfaceRecord());
    fillSaddle(solid.scene);
    solid.show();
    QImage before = solid.picture();
    solid.wheel(2);
    EXPECT_EQ(solid.scene.record().zoom, 82);
    QImage closer = solid.picture();
    EXPECT_GT(inkBounds(closer).width(), inkBounds(before).width());
    solid.wheel(-10);
    EXPECT_EQ(solid.scene.record().zoom, 32);
    solid.widget.zoom(ZoomDirection::In);
    EXPECT_EQ(solid.scene.record().zoom, 37);
    solid.widget.resetView();
    EXPECT_EQ(solid.picture(), before);
}

TEST(GlWidget, PaintingWhileWorkingKeepsThePictureAndRepaintIsThreadSafe) {
    Shown p(surfaceRecord());
    fillSaddle(p.scene);
    p.show();
    QImage shown = p.picture();
    p.scene.engine.working.store(1);
    p.scene.record().rotZ += 40;
    p.widget.update();
    EXPECT_EQ(p.picture(), shown);
    p.scene.engine.working.store(0);
    std::thread worker([&] { p.widget.repaintPlot(); });
    worker.join();
    QTest::qWait(50);
    EXPECT_NE(p.picture(), shown);

    p.scene.registry.meshReady.store(0);
    p.widget.update();
    EXPECT_EQ(inkCount(p.picture()), 0);
}

TEST(GlWidget, ExportImageWritesTheShownPictureAsPng) {
    Shown p(surfaceRecord());
    fillSaddle(p.scene);
    p.scene.display().axes3D = 1;
    p.show();
    QTemporaryDir dir;
    QString path = dir.filePath("plot.png");
    ASSERT_TRUE(p.widget.exportImage(path));
    QImage written(path);
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.size(), p.widget.size() * p.widget.devicePixelRatio());
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), p.picture());
    // The numbers included, byte for byte what --export-png draws.
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), p.scene.numbers(written.width(), written.height()));
    // Opaque and not washed out: the surface keeps its saturated colours.
    EXPECT_FALSE(written.hasAlphaChannel() && written.pixelColor(120, 100).alpha() < 255);
    EXPECT_FALSE(p.widget.exportImage(dir.filePath("missing/folder/plot.png")));
}

TEST(GlWidget, FailureMessageSaysItCouldNotInitialize) {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->accept();
    });
    PlotGLWidget::reportOpenGLFailure(nullptr);
    EXPECT_EQ(title, "Error");
    EXPECT_EQ(text, "Could not initialize OpenGL window!");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_TRUE(PlotGLWidget::initOpenGL(nullptr));  // this display can draw plots
}

TEST(GlWidget, FactoryMakesThePlotWidgetAndTheExportItemFollowsPlotCommands) {
    Engine engine;
    auto factory = plotGLAreaFactory();
    QWidget parent;
    std::unique_ptr<QWidget> area(factory(&parent, plotRegistry(engine), engine));
    auto* widget = qobject_cast<PlotGLWidget*>(area.get());
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(&widget->registry(), &plotRegistry(engine));

    QMenu menu;
    QAction* before = menu.addAction("Save User Data");
    QAction closeTab("Close Tab");
    closeTab.setEnabled(false);
    addExportImageAction(&menu, before, &closeTab, widget, [] { return QString(); });
    ASSERT_EQ(menu.actions().size(), 2);
    QAction* item = menu.actions().first();
    EXPECT_EQ(item->text(), "Export &Image (.png)...");
    EXPECT_FALSE(item->isEnabled());
    closeTab.setEnabled(true);
    EXPECT_TRUE(item->isEnabled());
    // A stand-in widget gets no item.
    QWidget standIn;
    addExportImageAction(&menu, before, &closeTab, &standIn, [] { return QString(); });
    EXPECT_EQ(menu.actions().size(), 2);
}

}  // namespace
}  // namespace vx::test
