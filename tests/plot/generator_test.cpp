// Geometry of the generators: bounds, validity flags, meshes, normals.
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <numbers>
#include <set>

#include "plot/generator.h"
#include "plot/vec3.h"
#include "tests/plot/plot_fixture.h"

namespace vx::testing {
namespace {

struct BoundsCase {
    const char* statement;
    float lo[3], hi[3];
};

// Bounds as plotsize reports them (view2D for 2D kinds, box3D for 3D); the
// tolerance covers sample points that miss an extremum by a little.
TEST_F(PlotTest, BoundsRules) {
    const BoundsCase cases[] = {
        {"plot(x^2, x, -1, 1)", {-1, 0, 0}, {1, 1, 0}},
        {"plot(1, x, 0, 1)", {0, 0, 0}, {1, 2, 0}},
        {"plot(sqrt(x), x, -1, 1)", {-1, 0, 0}, {1, 1, 0}},
        {"plot([cos(t), sin(t)], t, 0, 2*pi)", {-1, -1, 0}, {1, 1, 0}},
        {"plot3d(0, u, 0, 1, w, 0, 1)", {0, 0, 0}, {1, 1, 1}},
        {"plot3d(5, u, 0, 1, w, 0, 1)", {0, 0, 0}, {1, 1, 5}},
        {"plot3d(-2, u, 0, 1, w, 0, 1)", {0, 0, -2}, {1, 1, 0}},
        {"plot3d([u, 1, u*w], u, 0, 2, w, 0, 1)", {0, 1, 0}, {2, 2, 2}},
        {"spacecurve([cos(t), sin(t), t], t, 0, 10)", {-1, -1, 0}, {1, 1, 10}},
        {"implicitplot(x^2+y^2-1, x, -2, 2, y, -3, 3)", {-2, -3, 0}, {2, 3, 0}},
        {"implicitplot(x, x, 1, 1.5, y, 0, 1, coords=polar)", {std::cos(1.0f), 0, 0}, {1.5f, std::sin(1.0f) * 1.5f, 0}},
        {"implicitplot3d(x+y+z, x, 0, 1, y, 0, 2, z, 0, 3)", {0, 0, 0}, {1, 2, 3}},
        {"vectorplot([1, 0], x, 0, 2, y, 5, 7)", {0, 5, 0}, {2, 7, 0}},
        {"tubeplot([0, 0, t, 1], t, 0, 4)", {0, 0, 0}, {1, 1, 4}},
    };
    for (const BoundsCase& c : cases) {
        const PlotRecord& r = make(c.statement);
        float lo[3], hi[3];
        if (isPlot2D(r.kind)) {
            lo[0] = r.view2D.xMin, hi[0] = r.view2D.xMax, lo[1] = r.view2D.yMin, hi[1] = r.view2D.yMax;
            lo[2] = hi[2] = 0;
        } else {
            lo[0] = r.box3D.xMin, hi[0] = r.box3D.xMax, lo[1] = r.box3D.yMin, hi[1] = r.box3D.yMax;
            lo[2] = r.box3D.zMin, hi[2] = r.box3D.zMax;
        }
        for (int a = 0; a < 3; ++a) {
            EXPECT_NEAR(lo[a], c.lo[a], 1e-3) << c.statement << " axis " << a;
            EXPECT_NEAR(hi[a], c.hi[a], 1e-3) << c.statement << " axis " << a;
        }
    }
}

// Bounds gathered in pieces on several threads are those of one pass in
// order: the first of equal extremes wins (0 before -0) and NaNs are passed over.
TEST(PointBounds, EqualOnePassInOrder) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float early, late;  // where the extremes lie: the first point, the last
    } cases[] = {{0.0f, -0.0f}, {-0.0f, 0.0f}, {nan, 0.0f}, {-3.0f, nan}, {2.0f, 2.0f}};
    for (const Case& c : cases) {
        std::vector<float> values(3 * 200000, 1.0f);
        values[0] = values[1] = c.early;
        values[values.size() - 1] = values[values.size() - 2] = c.late;
        Bounds one;
        for (size_t k = 0; k < values.size(); ++k) one.add(static_cast<int>(k % 3), values[k]);
        const Bounds got = pointBounds(values.data(), values.size() / 3, 3);
        EXPECT_EQ(std::memcmp(&got, &one, sizeof one), 0) << c.early << " " << c.late;
    }
}

TEST_F(PlotTest, InvalidSamplesAreFlaggedAndKeepTheirRealParts) {
    make("plot(sqrt(x), x, -1, 1)");
    const MeshBuffers& m = plots.mesh;
    ASSERT_EQ(m.flags.size(), 160u);
    for (int k = 0; k < 160; ++k) {
        bool negative = -1.0 + k * 2.0 / 159 < 0;
        EXPECT_EQ(m.flags[static_cast<size_t>(k)], negative ? 0 : 1) << k;
        if (negative) {
            EXPECT_EQ(m.vertices[static_cast<size_t>(k) * 2 + 1], 0.0f);
        }
    }
    EXPECT_EQ(m.colors.size(), 64u);
    EXPECT_EQ(m.colors[0], rgb(255, 0, 0));
    EXPECT_EQ(m.colors[8], rgb(255, 0, 255));
    for (size_t k = 9; k < 64; ++k)
        for (std::uint8_t c : {m.colors[k].red, m.colors[k].green, m.colors[k].blue}) EXPECT_EQ(c % 64, 0);

    make("plot3d(sqrt(u), u, -1, 1, w, 0, 1)");
    int invalid = 0;
    for (auto f : plots.mesh.flags) invalid += f == 0;
    EXPECT_EQ(invalid, 19 * 38);
}

TEST_F(PlotTest, Plot3dNormalsAndColours) {
    make("plot3d(u + 2*w, u, 0, 1, w, 0, 1)");
    const MeshBuffers& m = plots.mesh;
    ASSERT_EQ(m.normals.size(), 38u * 38 * 3);
    // A plane: every normal is the plane's unit normal (-1, -2, 1)/sqrt(6).
    const double s = std::sqrt(6.0);
    for (size_t k = 0; k < m.normals.size(); k += 3) {
        ASSERT_NEAR(m.normals[k], -1 / s, 1e-5);
        ASSERT_NEAR(m.normals[k + 1], -2 / s, 1e-5);
        ASSERT_NEAR(m.normals[k + 2], 1 / s, 1e-5);
    }
    EXPECT_EQ(m.colors.front(), rgb(127, 127, 127));
    EXPECT_EQ(m.colors.back(), rgb(255, 255, 255));
    EXPECT_TRUE(host.status().starts_with("Generated 1444 verts and 1369 polys (")) << host.status();
}

// Directed edges of all polygons: a closed, consistently oriented surface
// has every edge once in each direction.
TEST_F(PlotTest, SphereIsClosedWithOutwardNormals) {
    make("implicitplot3d(x^2+y^2+z^2-1, x, -2, 2, y, -2, 2, z, -2, 2)");
    const MeshBuffers& m = plots.mesh;
    ASSERT_GT(m.aux.polygons.size(), 100u);
    ASSERT_EQ(m.vertices.size(), static_cast<size_t>(m.aux.vertexCount) * 3);
    std::map<std::pair<int, int>, int> edges;
    std::set<int> used;
    for (const MeshPolygon& p : m.aux.polygons) {
        ASSERT_GE(p.indices.size(), 3u);
        Vec3 centroid;
        for (int i : p.indices) centroid = centroid + load3(&m.vertices[static_cast<size_t>(i) * 3]);
        centroid = (1.0 / static_cast<double>(p.indices.size())) * centroid;
        Vec3 n{p.normal[0], p.normal[1], p.normal[2]};
        EXPECT_NEAR(length(n), 1.0, 1e-5);
        EXPECT_GT(dot(n, centroid), 0) << "face normal points inward";
        // The drawing order winds counter-clockwise seen from the normal.
        Vec3 area;
        for (size_t k = 0; k < p.indices.size(); ++k) {
            Vec3 a = load3(&m.vertices[static_cast<size_t>(p.indices[k]) * 3]);
            Vec3 b = load3(&m.vertices[static_cast<size_t>(p.indices[(k + 1) % p.indices.size()]) * 3]);
            area = area + cross(a, b);
            ++edges[{p.indices[k], p.indices[(k + 1) % p.indices.size()]}];
            used.insert(p.indices[k]);
        }
        EXPECT_GT(dot(area, n), 0);
    }
    for (const auto& [edge, count] : edges) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(edges.count({edge.second, edge.first}), 1u) << "open edge";
    }
    EXPECT_EQ(static_cast<int>(used.size()), m.aux.vertexCount);
    for (int k = 0; k < m.aux.vertexCount; ++k) {
        Vec3 p = load3(&m.vertices[static_cast<size_t>(k) * 3]), n = load3(&m.normals[static_cast<size_t>(k) * 3]);
        EXPECT_NEAR(length(p), 1.0, 0.1);
        EXPECT_GT(dot(p, n), 0.8);
    }
}

TEST_F(PlotTest, IsoSurfaceWithoutSignChangeIsEmpty) {
    const PlotRecord& r = make("implicitplot3d(x^2+y^2+z^2+1, x, -2, 2, y, -2, 2, z, -2, 2)");
    EXPECT_EQ(plots.mesh.aux.vertexCount, 0);
    EXPECT_TRUE(plots.mesh.aux.polygons.empty());
    EXPECT_EQ(r.box3D.zMax, 2.0f);
    EXPECT_TRUE(host.status().starts_with("Generated 0 verts, 0 polys (")) << host.status();
}

TEST_F(PlotTest, TubeRingsAroundTheCurve) {
    make("tubeplot([cos(t), sin(t), 0, 0.5], t, 0, 2*pi)");
    const MeshBuffers& m = plots.mesh;
    const int K = 26, S = 160;
    ASSERT_EQ(m.vertices.size(), static_cast<size_t>(K) * S * 3);
    for (int i = 0; i < S; ++i) {
        double t = 2 * std::numbers::pi * i / (S - 1);
        Vec3 centre{std::cos(t), std::sin(t), 0}, tangent{-std::sin(t), std::cos(t), 0};
        for (int j = 0; j < K; ++j) {
            size_t at = (static_cast<size_t>(i) * K + j) * 3;
            Vec3 v = load3(&m.vertices[at]), n = load3(&m.normals[at]);
            ASSERT_NEAR(length(v - centre), 0.5, 1e-4);
            ASSERT_NEAR(dot(n, tangent), 0, 2e-2);  // constant radius: no tilt
            ASSERT_NEAR(length(n), 1, 1e-5);
        }
        // The seam: the last ring point repeats the first.
        size_t first = static_cast<size_t>(i) * K * 3, last = (static_cast<size_t>(i) * K + K - 1) * 3;
        ASSERT_NEAR(m.vertices[first], m.vertices[last], 1e-5);
    }
    EXPECT_TRUE(host.status().starts_with("Generated 4000 verts and 3975 polys (")) << host.status();

    // Repeated samples (here every sample) still give finite rings.
    make("tubeplot([0, 0, 0*t, 1], t, 0, 1)");
    for (float v : plots.mesh.vertices) ASSERT_TRUE(std::isfinite(v));
    for (float v : plots.mesh.normals) ASSERT_TRUE(std::isfinite(v));
}

TEST_F(PlotTest, VectorArrowsAndStreams) {
    make("vectorplot([-y, x], x, -1, 1, y, -1, 1)");
    const MeshBuffers& m = plots.mesh;
    ASSERT_EQ(m.vertices.size(), 16u * 16 * 4);
    EXPECT_EQ(m.streamLength, 0);
    double longest = 0;
    for (size_t k = 0; k < m.vertices.size(); k += 4) 
        longest = std::max(longest, std::hypot(double(m.vertices[k + 2]), double(m.vertices[k + 3])));
    EXPECT_NEAR(longest, 2.0, 1e-5);
    EXPECT_EQ(m.colors[0], rgb(0, 0, 0));
    EXPECT_EQ(m.colors[1], rgb(255, 0, 0));

    plots.quality.vectorStreams = 1;
    make("vectorplot([1, 0], x, 0, 1, y, 0, 1)");
    const int S = 8;
    ASSERT_EQ(plots.mesh.vertices.size(), 16u * 16 * S * 2);
    const double D = std::sqrt(0.5 + 0.5) / 24;
    // Stream 0 runs against the field, stream 1 (its row neighbour) with it.
    EXPECT_NEAR(plots.mesh.vertices[(S - 1) * 2], -D * (S - 1), 1e-5);
    EXPECT_NEAR(plots.mesh.vertices[(S + S - 1) * 2], 1.0 / 15 + D * (S - 1), 1e-5);

    // A zero field ends the stream: the point repeats, flagged invalid.
    make("vectorplot([x, y], x, 0, 1, y, 0, 1)");
    for (int k = 1; k < S; ++k) {
        EXPECT_EQ(plots.mesh.flags[static_cast<size_t>(k)], 0);
        EXPECT_EQ(plots.mesh.vertices[static_cast<size_t>(k) * 2], 0.0f);
    }
    for (float v : plots.mesh.vertices) ASSERT_TRUE(std::isfinite(v));

    make("vectorplot3d([0, 0, 1], x, 0, 1, y, 0, 1, z, 0, 1)");
    EXPECT_EQ(plots.mesh.vertices.size(), 10u * 10 * 10 * 5 * 3);
    EXPECT_EQ(plots.mesh.streamLength, 5);
}

struct FailureCase {
    const char* statement;
    const char* message;
};

TEST_F(PlotTest, GeneratorFailuresReportTheKindsMessage) {
    const FailureCase cases[] = {
        {"plot(nosuchname, x, 0, 1)", "Error: Unknown Variable 'nosuchname'"},
        {"plot({x}, x, 0, 1)", "(plot) Error: Data Type"},
        {"plot([x], x, 0, 1)", "(plot) Error: Data Type"},
        {"plot3d({u}, u, 0, 1, w, 0, 1)", "(plot3d) Error: Data Type"},
        {"plot3d([u, w], u, 0, 1, w, 0, 1)", "(plot3d) Error: Data Type"},
        {"implicitplot([x], x, 0, 1, y, 0, 1)", "Error: Data Type"},
        {"implicitplot3d({x}, x, 0, 1, y, 0, 1, z, 0, 1)", "(implicitplot3d) Error: Data Type"},
        {"spacecurve([t, t], t, 0, 1)", "(spacecurve) Error: Syntax"},
        {"spacecurve([[t][t][t]], t, 0, 1)", "(spacecurve) Error: Syntax"},
        {"spacecurve(t, t, 0, 1)", "(spacecurve) Error: Data Type"},
        {"tubeplot([t, t, t], t, 0, 1)", "(tubeplot) Error: Syntax"},
        {"vectorplot(x, x, 0, 1, y, 0, 1)", "(vectorplot) Error: Data Type"},
        {"vectorplot([x], x, 0, 1, y, 0, 1)", "(vectorplot) Error: Data Type"},
        {"vectorplot3d([x, y], x, 0, 1, y, 0, 1, z, 0, 1)", "(vectorplot3d) Error: Dimension"},
        {"plot(1/(x-x), x, 0, 1)", "Error: Division by Zero"},
    };
    for (const FailureCase& c : cases) {
        std::string answer = run1(c.statement);
        int slot = plots.slotForTab(host.tabCount() - 1);
        ASSERT_GE(slot, 0) << c.statement << ": " << answer;
        EXPECT_FALSE(precalc(slot)) << c.statement;
        EXPECT_EQ(host.output(), std::string(c.message) + "\r\n") << c.statement;
        EXPECT_EQ(host.status(), "Error while precalculating!");
        EXPECT_TRUE(plots.mesh.empty());
        run("delplot(" + std::to_string(slot) + ")");
        host.clearLog();
    }
}

}  // namespace
}  // namespace vx::testing
