// 3D kinds drawn into images: surfaces with their lighting and line pass,
// proportions, tubes, iso-surfaces, space curves and 3D vector fields.
#include <cmath>

#include "tests/gl/render_support.h"

namespace vx::test {
namespace {

bool isGrey(Rgb c) { return std::abs(c.r - c.g) <= 3 && std::abs(c.g - c.b) <= 3; }
bool isBlack(Rgb c) { return c.r < 60 && c.g < 60 && c.b < 60; }
int distance(Rgb a, Rgb b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

// The plane z = 0.3 x over [-1, 1]^2 on a 21 x 21 grid (a vertex at the centre).
Scene& tiltedPlane(Scene& s) {
    fillSurface(s, 21, 21, [](float u, float w) {
        float x = 2 * u - 1, y = 2 * w - 1;
        return std::array<float, 3>{x, y, 0.3f * x};
    });
    return s;
}

TEST(GlMesh, LightingNoneShowsTheVertexColoursAndFlatOrSmoothShadeThem) {
    Scene s(record3D(PlotKind::Plot3d, 1, {}));
    tiltedPlane(s);
    paintMesh(s, rgb(255, 0, 0));
    s.display().grid = 0;
    s.display().lighting = 0;
    QImage none = s.render();
    keepScreenshot(none, "plot3d_none");
    // Red mixed with grey at intensity 85: 0.15 x 0.8 + 0.85 x 255/256 and 0.12.
    Rgb centre = pixel(none, 100, 100);
    EXPECT_TRUE(near(centre, Rgb{246, 31, 31}, 3)) << centre.r << " " << centre.g << " " << centre.b;
    s.display().intensity = 100;
    EXPECT_TRUE(near(pixel(s.render(), 100, 100), Rgb{254, 0, 0}, 3));
    s.display().color3D = 0;
    EXPECT_TRUE(near(pixel(s.render(), 100, 100), Rgb{204, 204, 204}, 3));
    s.display().color3D = 1;
    s.display().intensity = 85;

    for (int lighting : {1, 2}) {
        s.display().lighting = lighting;
        QImage lit = s.render();
        keepScreenshot(lit, lighting == 1 ? "plot3d_flat" : "plot3d_smooth");
        EXPECT_GT(distance(pixel(lit, 100, 100), centre), 20) << lighting;
        EXPECT_EQ(inkBounds(lit), inkBounds(none));  // same surface, other shades
    }
}

TEST(GlMesh, FlatLightingFacetsACurvedSurfaceThatSmoothLightingBlends) {
    Scene s(record3D(PlotKind::Plot3d, 1, {}));
    fillSurface(s, 12, 12, [](float u, float w) {
        float x = 2 * u - 1, y = 2 * w - 1;
        return std::array<float, 3>{x, y, x * x + y * y};
    });
    s.display().grid = 0;
    s.display().lighting = 1;
    QImage flat = s.render();
    s.display().lighting = 2;
    QImage smooth = s.render();
    keepScreenshot(smooth, "plot3d_paraboloid");
    int differing = 0;
    for (int y = 0; y < flat.height(); ++y)
        for (int x = 0; x < flat.width(); ++x) differing += distance(pixel(flat, x, y), pixel(smooth, x, y)) > 6;
    EXPECT_GT(differing, 500);
}

TEST(GlMesh, SolidOffDrawsBlackWireLinesOnly) {
    Scene s(record3D(PlotKind::Plot3d, 1, {}));
    tiltedPlane(s);
    paintMesh(s, rgb(255, 0, 0));
    s.display().solid = 0;
    s.display().opacity = 100;
    for (int lighting : {0, 2}) {
        s.display().lighting = lighting;
        QImage image = s.render();
        keepScreenshot(image, "plot3d_wire");
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                Rgb c = pixel(image, x, y);
                ASSERT_TRUE(isGrey(c)) << x << "," << y;
                dark += c.r < 160;
            }
        EXPECT_GT(dark, 300) << lighting;
    }
    // Solid with the grid: the red fill shows between the lines.
    s.display().solid = 1;
    Rgb fill = pixel(s.render(), 103, 101);
    EXPECT_GT(fill.r - fill.g, 100);
}

TEST(GlMesh, LinePassOpacityDarkensTheGrid) {
    Scene s(record3D(PlotKind::Plot3d, 1, {}));
    tiltedPlane(s);
    s.display().lighting = 0;
    s.display().opacity = 0;
    QImage clean = s.render();
    s.display().opacity = 100;
    QImage gridded = s.render();
    keepScreenshot(gridded, "plot3d_grid");
    s.display().grid = 0;
    QImage plain = s.render();
    // Opacity 0 lines are invisible: the picture equals the one without grid.
    EXPECT_EQ(clean, plain);
    int darker = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) darker += pixel(gridded, x, y).r + 20 < pixel(plain, x, y).r;
    EXPECT_GT(darker, 500);
}

TEST(GlMesh, ConstrainProportionsKeepsTheShapeOfATenByOneBox) {
    // A 10 x 1 x 1 surface seen straight from above.
    Scene s(record3D(PlotKind::Plot3d, 1, {}, 0, 0));
    fillSurface(s, 20, 4, [](float u, float w) { return std::array<float, 3>{10 * u, w, w}; });
    s.display().grid = 0;
    QImage kept = s.render();
    keepScreenshot(kept, "plot3d_constrained");
    s.display().constrainProportions = 0;
    QImage stretched = s.render();
    keepScreenshot(stretched, "plot3d_stretched");
    QRect a = inkBounds(kept), b = inkBounds(stretched);
    ASSERT_FALSE(a.isEmpty());
    ASSERT_FALSE(b.isEmpty());
    EXPECT_GT(a.width(), 6 * a.height());
    EXPECT_LT(b.width(), 1.6 * b.height());
    EXPECT_GT(b.width(), 0.6 * b.height());
    EXPECT_NEAR(a.width(), b.width(), 0.35 * b.width());
}

TEST(GlMesh, SpaceCurveInItsColoursWithTheBoxOutline) {
    Scene s(record3D(PlotKind::Spacecurve, 1, Box3D{-1, 1, -1, 1, 0, 10}));
    const int S = 160;
    MeshBuffers& m = s.mesh();
    m.gridU = S;
    for (int k = 0; k < S; ++k) {
        float t = 10.0f * static_cast<float>(k) / (S - 1);
        float p[3] = {std::cos(t), std::sin(t), t};
        m.vertices.insert(m.vertices.end(), p, p + 3);
        m.flags.push_back(1);
        auto channel = [](float c, float lo, float hi) {
            return static_cast<std::uint8_t>(static_cast<int>((c - lo) * 80 / (hi - lo)) + 80);
        };
        m.colors.push_back(rgb(channel(p[0], -1, 1), channel(p[1], -1, 1), channel(p[2], 0, 10)));
    }
    QImage image = s.render();
    keepScreenshot(image, "spacecurve");
    int coloured = 0, black = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            coloured += !isGrey(pixel(image, x, y));
            black += isBlack(pixel(image, x, y));
        }
    EXPECT_GT(coloured, 150);
    EXPECT_EQ(black, 0);
    s.display().axes3D = 1;
    QImage boxed = s.render();
    keepScreenshot(boxed, "spacecurve_axes");
    int boxedBlack = 0;
    for (int y = 0; y < boxed.height(); ++y)
        for (int x = 0; x < boxed.width(); ++x) boxedBlack += isBlack(pixel(boxed, x, y));
    EXPECT_GT(boxedBlack, 200);
}

TEST(GlMesh, VectorField3DArrowsAndStreams) {
    Scene s(record3D(PlotKind::Vectorplot3d, 1, Box3D{-1, 1, -1, 1, -1, 1}));
    const int G = 5;
    MeshBuffers& m = s.mesh();
    m.gridU = G;
    for (int layer = 0; layer < G; ++layer)
        for (int r = 0; r < G; ++r)
            for (int c = 0; c < G; ++c) {
                float x = -1 + 2.0f * static_cast<float>(c) / (G - 1), y = -1 + 2.0f * static_cast<float>(r) / (G - 1);
                float z = -1 + 2.0f * static_cast<float>(layer) / (G - 1);
                m.vertices.insert(m.vertices.end(), {x, y, z, -y, x, 0.5f});
                m.flags.push_back(1);
            }
    m.colors = vectorPalette();
    QImage arrows = s.render();
    keepScreenshot(arrows, "vectorplot3d_arrows");
    s.display().vectorHeads = 0;
    QImage bare = s.render();
    EXPECT_GT(inkCount(bare), 300);
    EXPECT_GT(inkCount(arrows), inkCount(bare) + 50);

    // Streams: each grid point starts a short line of 4 points.
    m.vertices.clear();
    m.streamLength = 4;
    for (int p = 0; p < G * G * G; ++p) {
        float x = -1 + 0.5f * static_cast<float>(p % G), y = -1 + 0.5f * static_cast<float>((p / G) % G);
        float z = -1 + 0.5f * static_cast<float>(p / (G * G));
        for (int k = 0; k < 4; ++k) m.vertices.insert(m.vertices.end(), {x + 0.05f * k, y, z});
    }
    QImage streams = s.render();
    keepScreenshot(streams, "vectorplot3d_streams");
    EXPECT_GT(inkCount(streams), 100);
}

}  // namespace
}  // namespace vx::test
