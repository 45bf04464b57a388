// 2D kinds drawn into images: graphs, contours and vector fields.
#include <cmath>

#include "tests/gl/render_support.h"

namespace vx::test {
namespace {

bool isRed(Rgb c) { return c.r > 170 && c.g < 130 && c.b < 130 && c.r - c.g > 60; }
bool isDark(Rgb c) { return c.r < 140 && c.g < 140 && c.b < 140; }
bool isGrey(Rgb c) { return std::abs(c.r - c.g) <= 3 && std::abs(c.g - c.b) <= 3; }

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

TEST(GlKinds, ConstrainProportionsKeepsACircleRound) {
    Scene s(record2D(PlotKind::Plot, 1, {}));
    fillCurve(s, 200, 0, 1, [](float) { return 0.0f; });
    MeshBuffers& m = s.mesh();
    for (int k = 0; k < 200; ++k) {
        float t = 2 * static_cast<float>(M_PI) * static_cast<float>(k) / 199;
        m.vertices[size_t(k) * 2] = std::cos(t);
        m.vertices[size_t(k) * 2 + 1] = std::sin(t);
    }
    s.record().view2D = View2D{-1.1f, 1.1f, -1.1f, 1.1f};
    s.display().axes2D = 0;
    QRect round = inkBounds(s.render(300, 150));
    EXPECT_NEAR(round.width(), round.height(), 3);
    EXPECT_NEAR(round.height(), 150 / 1.1, 4);
    s.display().constrainProportions = 0;
    QRect stretched = inkBounds(s.render(300, 150));
    EXPECT_NEAR(stretched.width(), 2 * stretched.height(), 4);
}

}  // namespace
}  // namespace vx::test
