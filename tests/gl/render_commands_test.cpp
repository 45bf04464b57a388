// Every kind end to end: the plot command, the worker's geometry, the picture.
#include <cmath>
#include <string>

#include "engine/session.h"
#include "shell/standard_library.h"
#include "tests/gl/render_support.h"

namespace vx::test {
namespace {

class Quiet : public OutputSink {
public:
    void appendOutput(std::string_view text) override { output += text; }
    void setOutputColour(std::uint32_t) override {}
    std::string output;
};

// A whole engine: statements create plots, the worker computes the first.
struct Commands {
    Engine engine;
    Quiet sink;
    PlotRegistry& registry = plotRegistry(engine);

    explicit Commands(const std::string& statements) {
        startEngine(engine);
        engine.output = &sink;
        submitText(engine, statements);
    }
    // Computes the slot and makes it the shown plot.
    bool compute(int slot = 0) {
        if (!registry.startPrecalculation(slot)) return false;
        registry.waitForWorker();
        return registry.meshReady.load() && registry.shownPlot.load() == slot;
    }
    PlotRecord& record(int slot = 0) { return *registry.record(slot); }
    QImage render(int width = 200, int height = 200) { return offscreen().render(registry, QSize(width, height)); }
};

bool isRed(Rgb c) { return c.r > 170 && c.g < 130 && c.b < 130 && c.r - c.g > 60; }
bool isGrey(Rgb c) { return std::abs(c.r - c.g) <= 3 && std::abs(c.g - c.b) <= 3; }
int colouredCount(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += !isGrey(pixel(image, x, y));
    return n;
}

TEST(GlCommands, PlotOfXSquared) {
    Commands c("plot(x^2, x, -1, 1)");
    ASSERT_TRUE(c.compute()) << c.sink.output;
    QImage image = c.render();
    keepScreenshot(image, "cmd_plot");
    const View2D& v = c.record().view2D;
    EXPECT_FLOAT_EQ(v.xMin, -1);
    EXPECT_FLOAT_EQ(v.xMax, 1);
    for (float x : {-0.9f, -0.6f, -0.3f, 0.3f, 0.6f, 0.9f})
        EXPECT_TRUE(anyNear(image, toPixel(image, v, x, x * x), 1, isRed)) << x;
    for (auto [x, y] : {std::pair{-0.5f, 0.7f}, {0.5f, 0.7f}, {0.7f, 0.2f}, {-0.3f, 0.5f}}) {
        QPoint p = toPixel(image, v, x, y);
        EXPECT_TRUE(isWhite(pixel(image, p.x(), p.y()))) << x << "," << y;
    }
}

TEST(GlCommands, Plot3dLightingModes) {
    Commands c("plot3d(sin(u)*cos(w), u, -3, 3, w, -3, 3)");
    ASSERT_TRUE(c.compute()) << c.sink.output;
    QImage smooth = c.render();
    keepScreenshot(smooth, "cmd_plot3d");
    c.registry.display.lighting = 0;
    QImage none = c.render();
    keepScreenshot(none, "cmd_plot3d_none");
    EXPECT_EQ(inkBounds(none), inkBounds(smooth));
    EXPECT_GT(inkCount(none), 8000);
    EXPECT_NE(none, smooth);
    // Unlit, the middle of the surface shows its vertex colours: all three
    // channels from 127 to 255 mixed with grey, so nothing darker than 0.12 + 0.85 x 127/256.
    Rgb centre = pixel(none, 100, 100);
    EXPECT_GE(std::min({centre.r, centre.g, centre.b}), 0.54 * 255 - 3);
}

TEST(GlCommands, ImplicitCircleAndSphere) {
    Commands c("implicitplot(x^2+y^2-1, x, -2, 2, y, -2, 2)\n"
               "implicitplot3d(x^2+y^2+z^2-1, x, -2, 2, y, -2, 2, z, -2, 2)");
    ASSERT_TRUE(c.compute(0)) << c.sink.output;
    QImage circle = c.render();
    keepScreenshot(circle, "cmd_implicitplot");
    for (double degrees : {30.0, 120.0, 210.0, 300.0}) {
        float a = static_cast<float>(degrees * M_PI / 180);
        EXPECT_TRUE(anyNear(circle, toPixel(circle, c.record(0).view2D, std::cos(a), std::sin(a)), 1, isRed));
    }
    EXPECT_TRUE(isWhite(pixel(circle, 110, 90)));

    ASSERT_TRUE(c.compute(1)) << c.sink.output;
    QImage sphere = c.render();
    keepScreenshot(sphere, "cmd_implicitplot3d");
    QRect ink = inkBounds(sphere);
    EXPECT_FALSE(isWhite(pixel(sphere, 100, 100)));
    EXPECT_NEAR(ink.center().x(), 100, 4);
    EXPECT_NEAR(ink.center().y(), 100, 4);
    EXPECT_NEAR(ink.width(), ink.height(), 8);
    // A polygon naming a vertex past the end is left out, not read.
    c.registry.mesh.aux.polygons.push_back(MeshPolygon{{0, 0, 1}, {0, 1, 100000}});
    EXPECT_EQ(c.render(), sphere);
}

TEST(GlCommands, TubeAndSpaceCurve) {
    Commands c("tubeplot([cos(t), sin(t), 0, 0.3], t, 0, 2*pi)\n"
               "spacecurve([cos(t), sin(t), t/5], t, 0, 10)");
    ASSERT_TRUE(c.compute(0)) << c.sink.output;
    c.record(0).rotX = 0;  // seen from above: a ring with an open middle
    QImage tube = c.render();
    keepScreenshot(tube, "cmd_tubeplot");
    EXPECT_TRUE(isWhite(pixel(tube, 100, 100)));
    EXPECT_GT(inkCount(tube), 8000);
    c.record(0).rotX = 305;
    keepScreenshot(c.render(), "cmd_tubeplot_turned");

    ASSERT_TRUE(c.compute(1)) << c.sink.output;
    QImage curve = c.render();
    keepScreenshot(curve, "cmd_spacecurve");
    EXPECT_GT(colouredCount(curve), 150);
}

TEST(GlCommands, VectorFieldsAsArrowsAndStreams) {
    Commands c("vectorplot([-y, x], x, -1, 1, y, -1, 1)\n"
               "vectorplot3d([-y, x, z], x, -1, 1, y, -1, 1, z, -1, 1)");
    for (int streams : {0, 1}) {
        c.registry.quality.vectorStreams = streams;
        for (int slot : {0, 1}) {
            ASSERT_TRUE(c.compute(slot)) << c.sink.output;
            QImage image = c.render();
            std::string name = std::string(slot ? "cmd_vectorplot3d" : "cmd_vectorplot") + (streams ? "_streams" : "");
            keepScreenshot(image, name.c_str());
            EXPECT_GT(inkCount(image), 400) << name;
        }
    }
}

TEST(GlCommands, CanvasesWithPolygonsLSystemAndASolid) {
    Commands c("customplot(0, 10, 0, 10)\n"
               "drawpoly(0, [2,2][6,2][6,6][2,6], [255,0,0])\n"
               "lsystem(0, 1, 8, 9, 8, 3, [i/3, 0, pi/3, i/3, 0, -2*pi/3, i/3, 0, pi/3, i/3, 0], [0,0,255])\n"
               "customplot3d(-2, 2, -2, 2, -2, 2)\n"
               "drawsolid(1, icosahedron)");
    ASSERT_TRUE(c.compute(0)) << c.sink.output;
    QImage flat = c.render();
    keepScreenshot(flat, "cmd_customplot");
    QPoint inside = toPixel(flat, c.record(0).view2D, 4, 4);
    EXPECT_TRUE(near(pixel(flat, inside.x(), inside.y()), Rgb{246, 31, 31}, 3));
    EXPECT_TRUE(anyNear(flat, toPixel(flat, c.record(0).view2D, 1.5f, 8), 2, [](Rgb p) { return p.b > p.r + 60; }));

    ASSERT_TRUE(c.compute(1)) << c.sink.output;
    QImage solid = c.render();
    keepScreenshot(solid, "cmd_customplot3d_icosahedron");
    QRect ink = inkBounds(solid);
    EXPECT_FALSE(isWhite(pixel(solid, 100, 100)));
    EXPECT_NEAR(ink.center().x(), 100, 5);
    EXPECT_NEAR(ink.width(), ink.height(), 12);
    EXPECT_GT(colouredCount(solid), 3000);
    // Faces turned different ways get different shades.
    EXPECT_FALSE(near(pixel(solid, ink.left() + ink.width() / 4, 100), pixel(solid, ink.right() - ink.width() / 4, 100), 4));

    // Wireframe: only grey outlines, alpha opacity / 200.
    c.registry.display.solid = 0;
    c.registry.display.opacity = 100;
    QImage wire = c.render();
    keepScreenshot(wire, "cmd_customplot3d_wire");
    EXPECT_EQ(colouredCount(wire), 0);
    EXPECT_GT(inkCount(wire), 200);
    EXPECT_TRUE(isWhite(pixel(wire, ink.left() + 3, ink.top() + 3)));
}

}  // namespace
}  // namespace vx::test
