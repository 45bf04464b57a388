// Drawing canvases in 2D and 3D.
#include <cmath>

#include "tests/gl/render_support.h"

namespace vx::test {
namespace {

TEST(GlCanvas, TwoDimensionalElementsInTheirColours) {
    Scene s(record2D(PlotKind::Customplot, 0, View2D{0, 10, 0, 10}));
    Canvas2D& c = s.record().custom2D;
    c.polygons.push_back(CanvasPolygon2D{{{2, 2}, {6, 2}, {6, 6}, {2, 6}}, rgb(255, 0, 0)});
    c.lines.push_back(CanvasLine2D{7, 1, 9, 9, rgb(0, 0, 255)});
    c.pixels.push_back(CanvasPixel2D{8.5f, 2.5f, rgb(0, 200, 0)});
    QImage image = s.render();
    keepScreenshot(image, "customplot");
    const View2D& v = s.record().view2D;
    QPoint inside = toPixel(image, v, 4, 4);
    EXPECT_TRUE(near(pixel(image, inside.x(), inside.y()), Rgb{246, 31, 31}, 3));
    EXPECT_TRUE(anyNear(image, toPixel(image, v, 8, 5), 1, [](Rgb p) { return p.b > 150 && p.r < 120; }));
    EXPECT_TRUE(anyNear(image, toPixel(image, v, 8.5f, 2.5f), 1, [](Rgb p) { return p.g > p.r + 40; }));
    QPoint outside = toPixel(image, v, 4, 8);
    EXPECT_TRUE(isWhite(pixel(image, outside.x(), outside.y())));

    // Colour off: grey fill, black line.
    s.display().color2D = 0;
    QImage grey = s.render();
    EXPECT_TRUE(near(pixel(grey, inside.x(), inside.y()), Rgb{204, 204, 204}, 3));
}

TEST(GlCanvas, TwoDimensionalOutlinesTakeOpacityOverHundred) {
    Scene s(record2D(PlotKind::Customplot, 0, View2D{0, 10, 0, 10}));
    s.record().custom2D.polygons.push_back(CanvasPolygon2D{{{2.025f, 2.025f}, {6.025f, 2.025f}, {6.025f, 6.025f}}, rgb(255, 0, 0)});
    s.display().solid = 0;
    s.display().antiAlias = 0;
    s.display().axes2D = 0;
    s.display().opacity = 50;  // alpha 0.5: half black over white
    QImage image = s.render();
    keepScreenshot(image, "customplot_outline");
    QPoint edge = toPixel(image, s.record().view2D, 4, 2.025f);
    bool half = anyNear(image, edge, 1, [](Rgb p) { return std::abs(p.r - 128) <= 3 && p.r == p.g && p.g == p.b; });
    EXPECT_TRUE(half);
    QPoint inside = toPixel(image, s.record().view2D, 5, 3);
    EXPECT_TRUE(isWhite(pixel(image, inside.x(), inside.y())));
}

// The icosahedron's 12 vertices and 20 faces, as drawsolid appends them to
// a canvas over [-2, 2]^3: face colours from the centroid, face normals.
void drawIcosahedron(Canvas3D& canvas, const Box3D& box) {
    const float t = (1 + std::sqrt(5.0f)) / 2;
    const float v[12][3] = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
                            {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    const int f[20][3] = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
                          {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
                          {3, 8, 9},  {4, 9, 5},  {2, 4, 11}, {6, 2, 10}, {8, 6, 7},   {9, 8, 1}};
    for (const auto& face : f) {
        CanvasPolygon3D p;
        float c[3] = {0, 0, 0};
        for (int i : face) {
            p.points.push_back({v[i][0], v[i][1], v[i][2]});
            for (int a = 0; a < 3; ++a) c[a] += v[i][a] / 3;
        }
        auto channel = [](float x, float lo, float hi) {
            return static_cast<std::uint8_t>(static_cast<int>((x - lo) / (hi - lo) * 128) + 127);
        };
        p.colour = rgb(channel(c[0], box.xMin, box.xMax), channel(c[1], box.yMin, box.yMax),
                       channel(c[2], box.zMin, box.zMax));
        const auto& a = p.points[0];
        const auto& b = p.points[1];
        const auto& d = p.points[2];
        float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, w[3] = {d[0] - a[0], d[1] - a[1], d[2] - a[2]};
        float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
        float len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        p.normal = {n[0] / len, n[1] / len, n[2] / len};
        canvas.polygons.push_back(p);
    }
}

TEST(GlCanvas, IcosahedronDrawnAsASolid) {
    Box3D box{-2, 2, -2, 2, -2, 2};
    Scene s(record3D(PlotKind::Customplot3d, 0, box));
    drawIcosahedron(s.record().custom3D, box);
    QImage image = s.render();
    keepScreenshot(image, "customplot3d_icosahedron");
    EXPECT_FALSE(isWhite(pixel(image, 100, 100)));
    QRect ink = inkBounds(image);
    EXPECT_NEAR(ink.center().x(), 100, 5);
    EXPECT_NEAR(ink.center().y(), 100, 5);
    EXPECT_NEAR(ink.width(), ink.height(), 12);
    // Faces facing different ways get different shades.
    Rgb a = pixel(image, ink.left() + ink.width() / 4, 100), b = pixel(image, ink.right() - ink.width() / 4, 100);
    EXPECT_FALSE(near(a, b, 4));

    // Wireframe: grey lines with alpha opacity / 200.
    s.display().solid = 0;
    s.display().opacity = 100;
    QImage wire = s.render();
    keepScreenshot(wire, "customplot3d_wire");
    EXPECT_TRUE(isWhite(pixel(wire, ink.left() + 3, ink.top() + 3)));
    EXPECT_GT(inkCount(wire), 200);
    EXPECT_LT(inkCount(wire), inkCount(image));
}

TEST(GlCanvas, ThreeDimensionalPixelsAndLinesWithoutPolygons) {
    Box3D box{0, 1, 0, 1, 0, 1};
    Scene s(record3D(PlotKind::Customplot3d, 0, box));
    Canvas3D& c = s.record().custom3D;
    for (int k = 0; k < 12; ++k) {
        float a = static_cast<float>(k) * 0.5f;
        c.lines.push_back(CanvasLine3D{0.5f, 0.5f, 0.5f, 0.5f + 0.4f * std::cos(a), 0.5f + 0.4f * std::sin(a),
                                       static_cast<float>(k) / 12, rgb(0, 0, 255)});
        c.pixels.push_back(CanvasPixel3D{0.1f * static_cast<float>(k % 10), 0.2f, 0.3f, rgb(255, 0, 0)});
    }
    QImage image = s.render();
    keepScreenshot(image, "customplot3d_lines");
    int blue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) blue += pixel(image, x, y).b > pixel(image, x, y).r + 80;
    EXPECT_GT(blue, 100);
}

}  // namespace
}  // namespace vx::test
