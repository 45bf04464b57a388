// 2D kinds drawn into images: graphs, contours and vector fields.
#include <cmath>

#include "tests/gl/render_support.h"

namespace vx::test {
namespace {

bool isRed(Rgb c) { return c.r > 170 && c.g < 130 && c.b < 130 && c.r - c.g > 60; }
bool isDark(Rgb c) { return c.r < 140 && c.g < 140 && c.b < 140; }
bool isGrey(Rgb c) { return std::abs(c.r - c.g) <= 3 && std::abs(c.g - c.b) <= 3; }

TEST(GlKinds, PlotOfXSquaredHasItsColourOnTheCurveAndWhiteElsewhere) {
    Scene s(record2D(PlotKind::Plot, 1, {}));
    fillCurve(s, 160, -1, 1, [](float x) { return x * x; });
    QImage image = s.render();
    keepScreenshot(image, "plot");
    ASSERT_FALSE(image.isNull());
    const View2D& v = s.record().view2D;
    for (float x : {-0.8f, -0.5f, -0.3f, 0.3f, 0.5f, 0.8f})
        EXPECT_TRUE(anyNear(image, toPixel(image, v, x, x * x), 1, isRed)) << x;
    for (auto [x, y] : {std::pair{-0.5f, 0.8f}, {0.5f, 0.8f}, {0.6f, 0.1f}, {-0.9f, 0.3f}, {0.3f, 0.6f}})
        EXPECT_TRUE(isWhite(pixel(image, toPixel(image, v, x, y).x(), toPixel(image, v, x, y).y()))) << x << "," << y;
}

TEST(GlKinds, PlotLeavesAGapWhereTwoSamplesInARowAreInvalid) {
    Scene s(record2D(PlotKind::Plot, 1, {}));
    fillCurve(s, 11, 0, 10, [](float) { return 0.5f; });
    s.mesh().flags[5] = s.mesh().flags[6] = 0;
    s.record().view2D = View2D{0, 10, 0, 1};
    s.display().axes2D = 0;
    QImage image = s.render();
    keepScreenshot(image, "plot_gap");
    const View2D& v = s.record().view2D;
    EXPECT_TRUE(anyNear(image, toPixel(image, v, 4.5f, 0.5f), 1, isRed));  // on to sample 5
    EXPECT_FALSE(anyNear(image, toPixel(image, v, 6.0f, 0.5f), 2, [](Rgb c) { return !isWhite(c); }));
    EXPECT_TRUE(anyNear(image, toPixel(image, v, 8.0f, 0.5f), 1, isRed));  // resumed at 7
}

TEST(GlKinds, PlotColourNeedsBothColourSwitches) {
    Scene s(record2D(PlotKind::Plot, 1, {}));
    fillCurve(s, 160, -1, 1, [](float x) { return x * x; });
    s.display().color3D = 0;
    QImage image = s.render();
    EXPECT_TRUE(anyNear(image, toPixel(image, s.record().view2D, 0.5f, 0.25f), 1, isDark));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ASSERT_TRUE(isGrey(pixel(image, x, y))) << x << "," << y;
}

// An implicitplot grid of x^2 + y^2 - 1 over [-2, 2]^2.
void fillCircleGrid(Scene& s, int G) {
    MeshBuffers& m = s.mesh();
    m.gridU = m.gridW = G;
    for (int j = 0; j < G; ++j)
        for (int k = 0; k < G; ++k) {
            float x = -2 + 4.0f * static_cast<float>(k) / static_cast<float>(G - 1);
            float y = -2 + 4.0f * static_cast<float>(j) / static_cast<float>(G - 1);
            m.vertices.insert(m.vertices.end(), {x, y, x * x + y * y - 1});
            m.flags.push_back(1);
        }
    m.colors = graphPalette();
}

TEST(GlKinds, ImplicitCircleIsDrawnOnTheCircleOnly) {
    Scene s(record2D(PlotKind::Implicitplot, 1, View2D{-2, 2, -2, 2}));
    fillCircleGrid(s, 50);
    QImage image = s.render();
    keepScreenshot(image, "implicitplot");
    const View2D& v = s.record().view2D;
    for (double degrees : {20.0, 65.0, 110.0, 160.0, 200.0, 250.0, 290.0, 340.0}) {
        float a = static_cast<float>(degrees * M_PI / 180);
        EXPECT_TRUE(anyNear(image, toPixel(image, v, std::cos(a), std::sin(a)), 1, isRed)) << degrees;
    }
    for (auto [x, y] : {std::pair{0.4f, 0.3f}, {-0.5f, -0.4f}, {1.5f, 1.2f}, {-1.4f, 1.6f}}) {
        QPoint p = toPixel(image, v, x, y);
        EXPECT_TRUE(isWhite(pixel(image, p.x(), p.y()))) << x << "," << y;
    }
}

// vectorplot([-y, x]) on a G x G grid over [-1, 1]^2, arrows scaled so the
// longest is 2 (in cells).
void fillRotationArrows(Scene& s, int G) {
    MeshBuffers& m = s.mesh();
    m.gridU = G;
    float longest = std::sqrt(2.0f);
    for (int r = 0; r < G; ++r)
        for (int c = 0; c < G; ++c) {
            float x = -1 + 2.0f * static_cast<float>(c) / static_cast<float>(G - 1);
            float y = -1 + 2.0f * static_cast<float>(r) / static_cast<float>(G - 1);
            m.vertices.insert(m.vertices.end(), {x, y, -y * 2 / longest, x * 2 / longest});
            m.flags.push_back(1);
        }
    m.colors = vectorPalette();
}

TEST(GlKinds, VectorArrowsWithAndWithoutHeads) {
    Scene s(record2D(PlotKind::Vectorplot, 1, View2D{-1, 1, -1, 1}));
    fillRotationArrows(s, 16);
    QImage withHeads = s.render();
    keepScreenshot(withHeads, "vectorplot_arrows");
    s.display().vectorHeads = 0;
    QImage bare = s.render();
    int inkHeads = inkCount(withHeads), inkBare = inkCount(bare);
    EXPECT_GT(inkBare, 500);
    EXPECT_GT(inkHeads, inkBare + 100);
    // The first graph takes the palette's first entry, black.
    for (int y = 0; y < bare.height(); ++y)
        for (int x = 0; x < bare.width(); ++x) ASSERT_TRUE(isGrey(pixel(bare, x, y)));
    // The arrow based at grid point (10, 7) = (1/3, -1/15) points along
    // (-y, x): mostly up, a little right; its middle is drawn.
    const View2D& v = s.record().view2D;
    float bx = 1 / 3.0f, by = -1 / 15.0f, scale = 2 / std::sqrt(2.0f) * (2.0f / 16);
    EXPECT_TRUE(anyNear(bare, toPixel(bare, v, bx - by * scale / 2, by + bx * scale / 2), 1, isDark));
}

TEST(GlKinds, VectorStreamsFollowTheField) {
    Scene s(record2D(PlotKind::Vectorplot, 2, View2D{-1, 1, -1, 1}));
    const int G = 6, S = 8;
    MeshBuffers& m = s.mesh();
    m.gridU = G;
    m.streamLength = S;
    // Graph 0 (black) circles about the origin, graph 1 (red) runs right.
    for (int g = 0; g < 2; ++g)
        for (int p = 0; p < G * G; ++p) {
            float x = -1 + 2.0f * static_cast<float>(p % G) / (G - 1), y = -1 + 2.0f * static_cast<float>(p / G) / (G - 1);
            for (int k = 0; k < S; ++k) {
                m.vertices.insert(m.vertices.end(), {x, y});
                m.flags.push_back(1);
                float len = std::hypot(x, y);
                if (g == 0 && len > 0) {
                    float nx = x - 0.05f * y / len, ny = y + 0.05f * x / len;
                    x = nx;
                    y = ny;
                } else if (g == 1) {
                    x += 0.02f;
                }
            }
        }
    m.colors = vectorPalette();
    QImage image = s.render();
    keepScreenshot(image, "vectorplot_streams");
    EXPECT_GT(inkCount(image), 300);
    // The red stream from (-0.6, -0.2) runs right for 7 x 0.02.
    EXPECT_TRUE(anyNear(image, toPixel(image, s.record().view2D, -0.53f, -0.2f), 1, isRed));
}

}  // namespace
}  // namespace vx::test
