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
    // Shown at equal scale, y runs from -0.75 to 1.25: a tick across the y
    // axis every 0.2, none between.
    EXPECT_TRUE(anyNear(with, toPixel(with, v, 0.015f, 0.6f), 1, isDark));
    QPoint between = toPixel(with, v, 0.015f, 0.7f);
    EXPECT_TRUE(isWhite(pixel(with, between.x(), between.y())));
}

TEST(GlSettings, AxisNumbersLabelTheTicksWhenAxesAreOn) {
    Scene flat(record2D(PlotKind::Plot, 1, {}));
    fillCurve(flat, 160, -10, 10, [](float x) { return x / 4; });
    flat.record().view2D = View2D{-10, 10, -10, 10};
    QImage plain = flat.render(), numbered = flat.numbers();
    keepScreenshot(numbered, "plot_axis_numbers");
    // Ticks every 2: "4" sits under the x axis at x = 4, "-6" left of the y axis at y = -6.
    auto inked = [](const QImage& image, QRect box) { return inkCount(image.copy(box)); };
    QPoint four = toPixel(plain, flat.record().view2D, 4, 0), minusSix = toPixel(plain, flat.record().view2D, 0, -6);
    QRect underFour(four.x() - 6, four.y() + 3, 12, 14), leftOfMinusSix(minusSix.x() - 22, minusSix.y() - 7, 20, 14);
    for (QRect box : {underFour, leftOfMinusSix}) {
        EXPECT_EQ(inked(plain, box), 0);
        EXPECT_GT(inked(numbered, box), 8);
    }
    // In a large window the ticks reach 8 pixels out; no number comes that near an axis.
    QImage bigPlain = flat.render(800, 800), bigNumbered = flat.numbers(800, 800);
    QPoint origin = toPixel(bigPlain, flat.record().view2D, 0, 0);
    int added = 0, nearAxis = 0;
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 800; ++x) {
            if (pixel(bigPlain, x, y).r == pixel(bigNumbered, x, y).r) continue;
            ++added;
            if (std::abs(x - origin.x()) <= 9 || std::abs(y - origin.y()) <= 9) ++nearAxis;
        }
    EXPECT_GT(added, 300);
    EXPECT_EQ(nearAxis, 0);
    flat.display().axes2D = 0;
    EXPECT_EQ(flat.numbers(), flat.render());

    Scene solid(record3D(PlotKind::Plot3d, 1, {}));
    fillSurface(solid, 12, 12, [](float u, float w) { return std::array<float, 3>{u, w, u * w}; });
    solid.display().axes3D = 1;
    solid.display().zoom = 40;
    QImage box = solid.render(), boxNumbers = solid.numbers();
    keepScreenshot(boxNumbers, "plot3d_axis_numbers");
    EXPECT_GT(inkCount(boxNumbers), inkCount(box) + 60);
    // The numbers sit around the box, outside the drawn surface.
    QRect surface = inkBounds(box);
    EXPECT_FALSE(surface.contains(inkBounds(boxNumbers)));
    solid.display().axes3D = 0;
    EXPECT_EQ(solid.numbers(), solid.render());
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
