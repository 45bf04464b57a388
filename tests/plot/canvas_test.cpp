// Canvas elements, L-systems and polyhedra.
#include <cmath>

#include "plot/polyhedra.h"
#include "tests/plot/plot_fixture.h"

namespace vx::testing {
namespace {

TEST_F(PlotTest, ColoursAreClampedAndTruncated) {
    run("customplot(0, 1, 0, 1)");
    const std::pair<const char*, PlotColour> cases[] = {
        {"[300, -5, 0]", rgb(255, 0, 0)},
        {"{12.9, 0.5, 255.7}", rgb(12, 0, 255)},
        {"[[1][2][3]]", rgb(1, 2, 3)},
        {"[-0.5, 254.99, 1e300]", rgb(0, 254, 255)},
    };
    for (const auto& [colour, expected] : cases) {
        EXPECT_EQ(run1(std::string("drawpixel(0, [1, 2], ") + colour + ")"), "(drawpixel) Pixel Drawn");
        EXPECT_EQ(plots.slots[0].custom2D.pixels.back().colour, expected) << colour;
    }
    EXPECT_EQ(plots.slots[0].custom2D.pixels.size(), 4u);
    EXPECT_EQ(plots.slots[0].custom2D.pixels[0].y, 2.0f);
}

TEST_F(PlotTest, LinesAndPolygons) {
    run("customplot(0, 1, 0, 1)");
    run("customplot3d(0, 1, 0, 1, 0, 1)");
    const Canvas2D& c2 = plots.slots[0].custom2D;
    const Canvas3D& c3 = plots.slots[1].custom3D;
    EXPECT_EQ(run1("drawline(0, [[0, 0][1, 1][2, 0]], [1, 2, 3])"), "(drawline) Line Drawn");
    ASSERT_EQ(c2.lines.size(), 2u);
    EXPECT_EQ(c2.lines[1].x1, 1.0f);
    EXPECT_EQ(c2.lines[1].x2, 2.0f);
    EXPECT_EQ(run1("drawline(0, [[0, 0]], [1, 2, 3])"), "(drawline) Error: Dimension");
    EXPECT_EQ(run1("drawpoly(0, [[0, 0][1, 0][1, 1]], [0, 0, 0])"), "(drawpoly) Poly Drawn");
    EXPECT_EQ(run1("drawpoly(0, [[0, 0][1, 0]], [0, 0, 0])"), "(drawpoly) Error: Dimension");
    EXPECT_EQ(c2.polygons.at(0).points.size(), 3u);
    EXPECT_EQ(run1("drawpoly3d(1, 0, 0, 0, 1, 0, 0, 0, 1, 0, [0, 0, 0])"), "(drawpoly3d) Poly Drawn");
    EXPECT_EQ(c3.polygons.at(0).normal, (std::array<float, 3>{0, 0, 1}));
    EXPECT_EQ(run1("drawline3d(1, [[0, 0, 0][1, 1, 1]], [0, 0, 0])"), "(drawline3d) Line Drawn");
    EXPECT_EQ(run1("drawline3d(1, [[0, 0][1, 1]], [0, 0, 0])"), "(drawline3d) Error: Dimension");
    EXPECT_EQ(run1("drawline(1, 0, 0, 1, 1, [0, 0, 0])"), "(drawline) Error: Plot Type");
    EXPECT_EQ(run1("clear(1)"), "(clear) Plot Cleared");
    EXPECT_TRUE(c3.empty());
    EXPECT_EQ(c2.lines.size(), 2u);
}

TEST_F(PlotTest, LsystemDrawsOnlyAtTheDepthLimit) {
    run("customplot(0, 1, 0, 1)");
    const std::string koch = "[i/3, 0, pi/3, i/3, 0, -2*pi/3, i/3, 0, pi/3, i/3, 0]";
    const std::pair<std::string, size_t> cases[] = {
        {"lsystem(0, 0, 0, 1, 0, 3, " + koch + ", [0, 0, 0])", 64},
        {"lsystem(0, 0, 0, 1, 0, 0, " + koch + ", [0, 0, 0])", 1},
        {"lsystem(0, 0, 0, 1, 0, 2, {i/2, 0, i/2, 0}, [0, 0, 0])", 4},
        {"lsystem(0, 0, 0, 1, 0, 2, {i/2, i/2, 0}, [0, 0, 0])", 1},  // an unmarked move draws nothing
        {"lsystem(0, 0, 0, 1, 0, 1, {0, 1, i}, [0, 0, 0])", 0},
    };
    Canvas2D& canvas = plots.slots[0].custom2D;
    for (const auto& [statement, segments] : cases) {
        canvas.clear();
        EXPECT_EQ(run1(statement), "(lsystem) L-System Drawn") << statement;
        EXPECT_EQ(canvas.lines.size(), segments) << statement;
    }
    // The Koch curve: 64 segments of length 1/27 from (0,0) to (1,0).
    canvas.clear();
    run("lsystem(0, 0, 0, 1, 0, 3, " + koch + ", [0, 0, 0])");
    EXPECT_NEAR(canvas.lines.front().x1, 0, 1e-6);
    EXPECT_NEAR(canvas.lines.back().x2, 1, 1e-6);
    EXPECT_NEAR(canvas.lines.back().y2, 0, 1e-6);
    for (const CanvasLine2D& l : canvas.lines) EXPECT_NEAR(std::hypot(l.x2 - l.x1, l.y2 - l.y1), 1.0 / 27, 1e-6);
    // A figure too large to hold is refused before drawing.
    EXPECT_EQ(run1("lsystem(0, 0, 0, 1, 0, 40, " + koch + ", [0, 0, 0])"), "(lsystem) Error: Dimension");
    EXPECT_EQ(run1("lsystem(0, 0, 0, 1, 0, -1, " + koch + ", [0, 0, 0])"), "(lsystem) Error: Negative Argument");
}

TEST_F(PlotTest, SolidsDrawnIntoTheBox) {
    run("customplot3d(-1, 1, -1, 1, -1, 1)");
    EXPECT_EQ(run1("drawsolid(0, cube)"), "(drawsolid) Solid Drawn");
    const auto& polys = plots.slots[0].custom3D.polygons;
    ASSERT_EQ(polys.size(), 6u);
    // Face 0 is the y = 1 face: centroid (0, 1, 0).
    EXPECT_EQ(polys[0].colour, rgb(191, 255, 191));
    EXPECT_EQ(polys[0].points.size(), 4u);
    EXPECT_NEAR(std::fabs(polys[0].normal[1]), 1.0f, 1e-6);
    EXPECT_EQ(run1("resize(0)"), "(resize) Plot Window Resized");
    EXPECT_EQ(run1("plotsize(0)"), "[[-1,1][-1,1][-1,1]]");
}

TEST_F(PlotTest, StellateAndDual) {
    run("new(c, cube)");
    Polyhedron solid, star, dual;
    const auto& cubeList = engine.stores.listVariables;
    std::vector<Complex> cubeElements;
    for (const auto& v : cubeList)
        if (v.inUse && v.name == "c") cubeElements = v.elements;
    ASSERT_TRUE(parsePolyhedron(cubeElements, solid));
    ASSERT_EQ(solid.vertices.size(), 8u);
    ASSERT_EQ(solid.faces.size(), 6u);

    star = stellatePolyhedron(solid, 0);
    EXPECT_EQ(star.vertices.size(), 14u);
    EXPECT_EQ(star.faces.size(), 24u);
    for (size_t f = 0; f < 6; ++f) {
        Vec3 apex = star.vertices[8 + f], c = faceCentroid(solid, solid.faces[f]);
        EXPECT_EQ(length(apex - c), 0.0);
    }
    // h > 0 points outward, h < 0 inward.
    for (double h : {0.5, -0.5}) {
        Polyhedron s = stellatePolyhedron(solid, h);
        for (size_t f = 0; f < 6; ++f) EXPECT_NEAR(length(s.vertices[8 + f]), 1 + h, 1e-12) << h;
    }

    dual = dualOf(solid);
    ASSERT_EQ(dual.vertices.size(), 6u);
    ASSERT_EQ(dual.faces.size(), 8u);
    for (const auto& face : dual.faces) EXPECT_EQ(face.size(), 3u);
    EXPECT_EQ(dual.faces[0], (std::vector<int>{0, 3, 5}));

    std::string text = run1("dualpolyhedron(cube)");
    EXPECT_TRUE(text.starts_with("{6,0,1,0,")) << text;
    EXPECT_EQ(run1("size(dualpolyhedron(cube))"), "52");
    EXPECT_EQ(run1("size(stellate(dodecahedron, 1))"), std::to_string(1 + 3 * 32 + 1 + 1 + 3 * 60));
}

TEST_F(PlotTest, MalformedPolyhedraAreRefused) {
    const std::vector<std::vector<Complex>> bad = {
        {{1, 0}},                                                                 // no face count
        {{2, 0}, {0, 0}, {0, 0}, {0, 0}, {1, 0}},                                 // V larger than the list
        {{3, 0}, {0, 0}, {0, 0}, {0, 0}, {1, 0}, {0, 0}, {0, 0}, {0, 1}, {0, 0}, {0, 0}, {1, 0}, {0, 3}, {0, 0}, {1, 0}},
        {{3, 0}, {0, 0}, {0, 0}, {0, 0}, {1, 0}, {0, 0}, {0, 0}, {0, 1}, {0, 0}, {0, 0}, {1, 0}, {0, 3}, {0, 0}, {1, 0}, {3, 0}},
        {{3, 0}, {0, 0}, {0, 0}, {0, 0}, {1, 0}, {0, 0}, {0, 0}, {0, 1}, {0, 0}, {0, 0}, {1, 0}, {0, 3}, {0, 0}, {1, 0}, {2, 0}, {2, 0}},
        {{3, 0}, {0, 0}, {0, 0}, {0, 0}, {1, 0}, {0, 0}, {0, 0}, {0, 1}, {0, 0}, {0, 0}, {1, 0}, {0, 0}, {1, 0}, {2, 0}},
        {{3, 0}, {0, 0}, {0, 0}, {0, 0}, {1, 0}, {0, 0}, {0, 0}, {0, 1}, {0, 0}, {0, 0}, {1, 0}, {0, 2}, {0, 0}, {1, 0}},
        {{1.5, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}},
    };
    Polyhedron p;
    for (size_t k = 0; k < bad.size(); ++k) EXPECT_FALSE(parsePolyhedron(bad[k], p)) << "case " << k;
    const std::vector<Complex> triangle = {{3, 0}, {0, 0}, {0, 0}, {0, 0}, {1, 0}, {0, 0}, {0, 0}, {0, 1},
                                           {0, 0}, {0, 0}, {1, 0}, {0, 3}, {0, 0}, {1, 0}, {2, 0}};
    EXPECT_TRUE(parsePolyhedron(triangle, p));
    EXPECT_EQ(run1("stellate({3, 0,0,0, 1,0,0, 0,1,0, 1, 3i, 0, 1, 7}, 1)"), "(stellate) Error: Dimension");
    // A vertex on a single face has no face in the dual.
    EXPECT_EQ(run1("dualpolyhedron({3, 0,0,0, 1,0,0, 0,1,0, 1, 3i, 0, 1, 2})"), "(dualpolyhedron) Error: Dimension");
    EXPECT_EQ(run1("drawsolid(0, {3, 0,0,0, 1,0,0, 0,1,0, 1, 3i, 0, 1, 2})"), "(drawsolid) Error: Invalid Index");
}

}  // namespace
}  // namespace vx::testing
