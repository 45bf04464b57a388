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
