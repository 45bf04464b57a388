// Switches that apply to every kind: axes, the busy flag, no mesh, the
// renderer's start-up state and the OpenGL probe.
#include "tests/gl/render_support.h"

namespace vx::test {
namespace {

bool isDark(Rgb c) { return c.r < 100 && c.g < 100 && c.b < 100; }

TEST(GlSettings, AxesAppearOnlyWhenSwitchedOn) {
    Scene s(record2D(PlotKind::Plot, 1, {}));
    fillCurve(s, 160, -1, 1, [](float x) { return x * x; });
    s.record().view2D = View2D{-1, 1, -0.5f, 1};  // both axes inside
    QImage with = s.render();
    keepScreenshot(with, "plot_axes");
    s.display().axes2D = 0;
    QImage without = s.render();
    const View2D& v = s.record().view2D;
    for (auto [x, y] : {std::pair{0.0f, 0.6f}, {0.0f, -0.3f}, {-0.7f, 0.0f}, {0.9f, 0.0f}}) {
        EXPECT_TRUE(anyNear(with, toPixel(with, v, x, y), 1, isDark)) << x << "," << y;
        EXPECT_FALSE(anyNear(without, toPixel(without, v, x, y), 1, isDark)) << x << "," << y;
    }
    // A tick across the y axis at y = 0.625 (steps of 1.5 / 12 from -0.5).
    QPoint tick = toPixel(with, v, 0.015f, 0.625f);
    EXPECT_TRUE(anyNear(with, tick, 1, isDark));
    EXPECT_TRUE(isWhite(pixel(with, toPixel(with, v, 0.05f, 0.6f).x(), toPixel(with, v, 0.05f, 0.6f).y())));
}

TEST(GlSettings, NothingIsDrawnWhileWorkingAndWhiteWithoutAMesh) {
    Scene s(record2D(PlotKind::Plot, 1, {}));
    fillCurve(s, 160, -1, 1, [](float x) { return x * x; });
    s.engine.working.store(1);
    EXPECT_TRUE(s.render().isNull());
    s.engine.working.store(0);
    EXPECT_GT(inkCount(s.render()), 100);
    s.registry.meshReady.store(0);
    QImage blank = s.render();
    ASSERT_FALSE(blank.isNull());
    EXPECT_EQ(inkCount(blank), 0);
}

TEST(GlSettings, ZoomAndFieldOfViewScaleA3DPlot) {
    Scene s(record3D(PlotKind::Plot3d, 1, {}));
    fillSurface(s, 10, 10, [](float u, float w) { return std::array<float, 3>{u, w, u * w}; });
    auto width = [&] { return inkBounds(s.render()).width(); };
    int normal = width();
    s.display().zoom = 100;
    int closer = width();
    s.display().zoom = 0;
    int farther = width();
    s.display().zoom = 72;
    s.display().fov = 90;
    int wider = width();
    EXPECT_GT(closer, normal + 20);
    EXPECT_LT(farther, normal - 20);
    EXPECT_LT(wider, normal - 20);
}

TEST(GlSettings, ProbeAcceptsTheCompatibilityFormatAndRefusesACoreProfile) {
    EXPECT_TRUE(probePlotOpenGL());
    QSurfaceFormat core;
    core.setVersion(4, 5);
    core.setProfile(QSurfaceFormat::CoreProfile);
    EXPECT_FALSE(probePlotOpenGL(core));
    QSurfaceFormat f = plotSurfaceFormat();
    EXPECT_EQ(f.profile(), QSurfaceFormat::CompatibilityProfile);
    EXPECT_GE(f.depthBufferSize(), 16);
    EXPECT_GE(f.redBufferSize() + f.greenBufferSize() + f.blueBufferSize(), 15);
    EXPECT_EQ(f.swapBehavior(), QSurfaceFormat::DoubleBuffer);
}

}  // namespace
}  // namespace vx::test
