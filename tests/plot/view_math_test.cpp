// Pan, zoom, camera and colour numbers of the plot view.
#include "plot/view_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vx {
namespace {

void expectView(const View2D& v, float x0, float x1, float y0, float y1) {
    EXPECT_FLOAT_EQ(v.xMin, x0);
    EXPECT_FLOAT_EQ(v.xMax, x1);
    EXPECT_FLOAT_EQ(v.yMin, y0);
    EXPECT_FLOAT_EQ(v.yMax, y1);
}

TEST(ViewZoom, ScalesHalfWidthsAboutTheCentre) {
    struct Case {
        View2D view;
        float factor;
        View2D expected;
    } cases[] = {
        {{-10, 10, -5, 5}, kZoomInFactor, {-8, 8, -4, 4}},
        {{-8, 8, -4, 4}, kZoomOutFactor, {-10, 10, -5, 5}},
        {{0, 2, 10, 20}, kZoomInFactor, {0.2f, 1.8f, 11, 19}},
        {{0, 2, 10, 20}, kZoomOutFactor, {-0.25f, 2.25f, 8.75f, 21.25f}},
    };
    for (const Case& c : cases) {
        View2D v = c.view;
        scaleView2D(v, c.factor);
        expectView(v, c.expected.xMin, c.expected.xMax, c.expected.yMin, c.expected.yMax);
    }
}

TEST(ViewZoom, ZoomSettingStepsWithinZeroToHundred) {
    struct Case {
        int zoom, step, expected;
    } cases[] = {{72, kZoomInStep, 77}, {72, kZoomOutStep, 67}, {98, kZoomInStep, 100},
                 {100, kZoomInStep, 100}, {3, kZoomOutStep, 0}, {0, kZoomOutStep, 0}};
    for (const Case& c : cases) EXPECT_EQ(steppedZoom(c.zoom, c.step), c.expected) << c.zoom << " " << c.step;
}

TEST(ViewDrag, ThePointUnderThePointerStaysAndRotationFollowsIt) {
    // A 200 x 100 pixel area showing 20 x 10 units: 10 pixels per unit.
    View2D v{-10, 10, -5, 5};
    panView2D(v, v, 100, 0, 200, 100);  // drag right by 10 units
    expectView(v, -20, 0, -5, 5);
    panView2D(v, v, 0, 50, 200, 100);  // drag down: the window moves up
    expectView(v, -20, 0, 0, 10);
    // With equal scale the shown window is wider than the view: its units count.
    View2D tall{-1, 1, -10, 10};
    View2D shown = shownView2D(tall, 200, 100, true);
    expectView(shown, -20, 20, -10, 10);
    panView2D(tall, shown, 50, 0, 200, 100);
    expectView(tall, -11, -9, -10, 10);

    float rotX = 305, rotZ = 45;
    rotateView3D(rotX, rotZ, 10, -20);
    EXPECT_FLOAT_EQ(rotX, 285);
    EXPECT_FLOAT_EQ(rotZ, 55);
}

TEST(ViewDrag, EqualScaleGrowsTheShorterSideAboutItsCentre) {
    struct Case {
        View2D view;
        int width, height;
        bool equal;
        View2D expected;
    } cases[] = {
        {{-10, 10, -5, 5}, 200, 100, true, {-10, 10, -5, 5}},  // already equal
        {{-10, 10, -10, 10}, 200, 100, true, {-20, 20, -10, 10}},
        {{0, 4, 0, 1}, 100, 100, true, {0, 4, -1.5f, 2.5f}},
        {{0, 4, 0, 1}, 100, 100, false, {0, 4, 0, 1}},
        {{1, 1, 0, 1}, 100, 100, true, {1, 1, 0, 1}},  // a flat view is left alone
    };
    for (const Case& c : cases) {
        View2D v = shownView2D(c.view, c.width, c.height, c.equal);
        expectView(v, c.expected.xMin, c.expected.xMax, c.expected.yMin, c.expected.yMax);
    }
}

TEST(ViewTicks, RoundStepsValuesAndLabels) {
    struct Step {
        double extent;
        double step;
    } steps[] = {{20, 2}, {12, 1}, {1, 0.1}, {2, 0.2}, {50, 5}, {7, 1}, {0.003, 0.0005}, {1e9, 1e8}};
    for (const Step& c : steps) EXPECT_DOUBLE_EQ(tickStep(c.extent, 12), c.step) << c.extent;
    EXPECT_EQ(tickValues(-1.05, 1.05, 0.5), (std::vector<double>{-1, -0.5, 0, 0.5, 1}));
    EXPECT_EQ(tickValues(2, 1, 0.5), std::vector<double>{});
    EXPECT_LE(tickValues(1e7, 1e7 + 1, 1e-30).size(), 64u);
    struct Label {
        double value, step;
        const char* text;
    } labels[] = {{2, 1, "2"}, {-0.5, 0.1, "-0.5"}, {0.25, 0.05, "0.25"}, {-1e-17, 0.1, "0.0"},
                  {3e8, 1e8, "3e+08"}, {0.00015, 0.00005, "0.00015"}, {1.5e-6, 5e-7, "1.5e-06"}};
    for (const Label& c : labels) EXPECT_EQ(tickLabel(c.value, c.step), c.text) << c.value;
    // At equal scale both axes share the larger step.
    struct Pair {
        View2D shown;
        bool equal;
        double x, y;
    } pairs[] = {{{-10, 10, -5, 5}, false, 2, 1}, {{-10, 10, -5, 5}, true, 2, 2}, {{-1, 1, -100, 100}, true, 20, 20}};
    for (const Pair& c : pairs) {
        TickSteps steps = axisTickSteps(c.shown, c.equal);
        EXPECT_DOUBLE_EQ(steps.x, c.x) << c.shown.yMax << c.equal;
        EXPECT_DOUBLE_EQ(steps.y, c.y) << c.shown.yMax << c.equal;
    }
}

TEST(ViewCamera, ProjectionPutsTheCubeCentreInTheMiddle) {
    Matrix4 projection = perspectiveMatrix(45, 2, kNearPlane, kFarPlane);
    Matrix4 camera = modelViewMatrix(72, kHomeRotX, kHomeRotZ);
    double x = 0, y = 0;
    ASSERT_TRUE(projectToPixel(projection, camera, {0, 0, 0}, 400, 200, x, y));
    EXPECT_NEAR(x, 200, 1e-9);
    EXPECT_NEAR(y, 100, 1e-9);
    // Unturned, +x goes right and +y goes up the screen.
    Matrix4 flat = modelViewMatrix(72, 0, 0);
    ASSERT_TRUE(projectToPixel(projection, flat, {0.5f, 0, 0}, 400, 200, x, y));
    EXPECT_GT(x, 200);
    ASSERT_TRUE(projectToPixel(projection, flat, {0, 0.5f, 0}, 400, 200, x, y));
    EXPECT_LT(y, 100);
    // Behind the camera there is no pixel.
    EXPECT_FALSE(projectToPixel(projection, cameraMatrix(100), {0, 0, 5}, 400, 200, x, y));
}

TEST(ViewCamera, DistanceAspectAndPerspective) {
    EXPECT_DOUBLE_EQ(cameraOffsetZ(0), -5.0);
    EXPECT_NEAR(cameraOffsetZ(72), -1.976, 1e-12);
    EXPECT_NEAR(cameraOffsetZ(100), -0.8, 1e-12);
    EXPECT_DOUBLE_EQ(aspectRatio(240, 248), 240.0 / 248.0);
    EXPECT_DOUBLE_EQ(aspectRatio(300, 0), 300.0);

    // fov 90 gives f = 1; the depth terms map near to -1 and far to +1.
    Matrix4 m = perspectiveMatrix(90, 2, kNearPlane, kFarPlane);
    EXPECT_NEAR(m[0], 0.5, 1e-12);
    EXPECT_NEAR(m[5], 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(m[11], -1);
    EXPECT_DOUBLE_EQ(m[15], 0);
    for (double z : {kNearPlane, kFarPlane}) {
        double clipZ = m[10] * -z + m[14], clipW = z;
        EXPECT_NEAR(clipZ / clipW, z == kNearPlane ? -1 : 1, 1e-9);
    }
    EXPECT_NEAR(perspectiveMatrix(45, 1, kNearPlane, kFarPlane)[5], 1 / std::tan(M_PI / 8), 1e-12);
}

TEST(ViewCube, BoxFillsTheCubeOrKeepsItsProportions) {
    struct Case {
        Box3D box;
        bool constrain;
        std::array<float, 3> half;  // half sizes of the mapped box
    } cases[] = {
        {{0, 10, 0, 1, 0, 1}, false, {0.5f, 0.5f, 0.5f}},
        {{0, 10, 0, 1, 0, 1}, true, {0.5f, 0.05f, 0.05f}},
        {{0, 1, -4, 4, 0, 2}, true, {0.0625f, 0.5f, 0.125f}},
        {{0, 1, 0, 1, 0, 3}, true, {1 / 6.0f, 1 / 6.0f, 0.5f}},
        {{0, 2, 0, 2, 0, 1}, true, {0.5f, 0.5f, 0.25f}},  // a tie goes to x
        {{10, 0, 0, 1, 0, 1}, true, {0.5f, 0.05f, 0.05f}},  // reversed x range
    };
    for (const Case& c : cases) {
        CubeMapping m = cubeMapping(c.box, c.constrain);
        auto lo = m.map(c.box.xMin, c.box.yMin, c.box.zMin);
        auto hi = m.map(c.box.xMax, c.box.yMax, c.box.zMax);
        auto mid = m.map((c.box.xMin + c.box.xMax) / 2, (c.box.yMin + c.box.yMax) / 2, (c.box.zMin + c.box.zMax) / 2);
        for (size_t a = 0; a < 3; ++a) {
            EXPECT_NEAR(m.half[a], c.half[a], 1e-6) << a;
            EXPECT_NEAR(lo[a], -c.half[a], 1e-6) << a;
            EXPECT_NEAR(hi[a], c.half[a], 1e-6) << a;
            EXPECT_NEAR(mid[a], 0, 1e-6) << a;
        }
    }
}

TEST(ViewColours, SurfaceMixesWithGreyByIntensity) {
    PlotColour c = rgb(255, 128, 0);
    struct Case {
        int intensity;
        bool on;
        Rgba expected;
    } cases[] = {
        {100, true, {255 / 256.0f, 128 / 256.0f, 0, 1}},
        {0, true, {0.8f, 0.8f, 0.8f, 1}},
        {85, true, {0.15f * 0.8f + 255 * 0.85f / 256, 0.15f * 0.8f + 128 * 0.85f / 256, 0.15f * 0.8f, 1}},
        {150, true, {255 / 256.0f, 128 / 256.0f, 0, 1}},  // clamped to 1
        {-20, true, {0.8f, 0.8f, 0.8f, 1}},
        {85, false, {0.8f, 0.8f, 0.8f, 1}},
    };
    for (const Case& k : cases) {
        Rgba got = surfaceColour(c, k.intensity, k.on);
        EXPECT_NEAR(got.r, k.expected.r, 1e-6) << k.intensity;
        EXPECT_NEAR(got.g, k.expected.g, 1e-6) << k.intensity;
        EXPECT_NEAR(got.b, k.expected.b, 1e-6) << k.intensity;
        EXPECT_EQ(got.a, 1);
    }
    EXPECT_EQ(plainColour(rgb(128, 64, 0)), (Rgba{0.5f, 0.25f, 0, 1}));
    EXPECT_FLOAT_EQ(lineAlpha(15, 200), 0.075f);
    EXPECT_FLOAT_EQ(lineAlpha(15, 100), 0.15f);
    EXPECT_FLOAT_EQ(lineAlpha(100, 100), 1);
    EXPECT_FLOAT_EQ(lineAlpha(-5, 200), 0);
    EXPECT_FLOAT_EQ(lineAlpha(300, 200), 1);
}

}  // namespace
}  // namespace vx
