// Explicit and parametric curves (plot) and surfaces (plot3d).
#include <algorithm>
#include <cmath>

#include "plot/generator.h"
#include "plot/sampler_pool.h"
#include "plot/vec3.h"

namespace vx {

namespace {

// The point of one plot sample and whether it is real.
struct Point2 {
    double x = 0, y = 0;
    bool valid = true;
};

// gen: the Generator or a thread's Sampler.
template <typename Evaluation>
int plotPoint(Evaluation& gen, const Value& v, double x, Point2& p) {
    Complex first, second;
    if (v.tag == kComplex) {
        if (!gen.record.hasCoords) {
            p = {x, v.z.re, v.z.im == 0.0};
            return 1;
        }
        first = v.z;
        second = Complex{x, 0.0};
    } else if (v.tag == kMatrix && v.count() >= 2) {
        first = v.elements[0];
        second = v.elements[1];
        if (!gen.record.hasCoords) {
            p = {first.re, second.re, first.im == 0.0 && second.im == 0.0};
            return 1;
        }
    } else {
        return gen.failDataType(), 0;
    }
    Complex cx, cy;
    if (!gen.map2(first, second, cx, cy)) return 0;
    p = {cx.re, cy.re, cx.im == 0.0 && cy.im == 0.0};
    return 1;
}

void widenEqual(double& lo, double& hi) {
    if (lo == hi) {
        hi += 1;
        lo -= 1;
    }
}

}  // namespace

int generatePlot(Generator& gen) {
    PlotRecord& rec = gen.record;
    const int n = rec.exprCount, S = gen.quality.plotSamples;
    if (!gen.gridUsable(S) || !gen.sizeUsable(2.0 * n * S)) return 0;
    const double t0 = rec.range2D[0], dt = static_cast<double>(rec.range2D[1]) - rec.range2D[0];
    MeshBuffers& mesh = gen.mesh;
    mesh.vertices.assign(static_cast<size_t>(n) * S * 2, 0.0f);
    mesh.flags.assign(static_cast<size_t>(n) * S, 0);
    mesh.gridU = S;
    mesh.gridW = 1;
    auto point = [&](auto& s, size_t at) -> int {
        const int g = static_cast<int>(at / static_cast<size_t>(S)), k = static_cast<int>(at % static_cast<size_t>(S));
        double x = t0 + k * dt / (S - 1);
        s.set(0, x);
        Value v;
        if (!s.evaluate(g, v)) return 0;
        Point2 p;
        if (!plotPoint(s, v, x, p)) return 0;
        mesh.vertices[at * 2] = static_cast<float>(p.x);
        mesh.vertices[at * 2 + 1] = static_cast<float>(p.y);
        mesh.flags[at] = p.valid ? 1 : 0;
        return 1;
    };
    const size_t count = static_cast<size_t>(n) * S;
    if (!sampleGrid(gen, 1, count, 1, point)) return 0;
    Bounds b = pointBounds(mesh.vertices.data(), count, 2);
    gen.status("Generated plot (%4.2f seconds)", gen.elapsedSeconds());
    widenEqual(b.lo[0], b.hi[0]);
    widenEqual(b.lo[1], b.hi[1]);
    rec.view2D = View2D{static_cast<float>(b.lo[0]), static_cast<float>(b.hi[0]), static_cast<float>(b.lo[1]),
                        static_cast<float>(b.hi[1])};
    mesh.colors = graphPalette();
    return 1;
}

// Box rule shared by the 3D curve and surface kinds: a flat z range is
// extended to the plane z = 0, then every empty extent becomes 1 wide.
Box3D finishSurfaceBox(Bounds b) {
    if (b.lo[2] == b.hi[2]) {
        if (b.hi[2] > 0) b.lo[2] = 0;
        else if (b.hi[2] < 0) b.hi[2] = 0;
    }
    for (int a = 0; a < 3; ++a)
        if (b.lo[a] == b.hi[a]) b.hi[a] += 1;
    return Box3D{static_cast<float>(b.lo[0]), static_cast<float>(b.hi[0]), static_cast<float>(b.lo[1]),
                 static_cast<float>(b.hi[1]), static_cast<float>(b.lo[2]), static_cast<float>(b.hi[2])};
}

// Position colours: each channel offset + scale x the position in the box.
void colourByBox(MeshBuffers& mesh, const Box3D& box, double scale, double offset) {
    size_t count = mesh.vertices.size() / 3;
    mesh.colors.assign(count, PlotColour{});
    forEachRange(count, 4096, [&](size_t first, size_t end) {
        for (size_t k = first; k < end; ++k) {
            const float* p = &mesh.vertices[k * 3];
            mesh.colors[k] = rgb(rangeChannel(p[0], box.xMin, box.xMax, scale, offset),
                                 rangeChannel(p[1], box.yMin, box.yMax, scale, offset),
                                 rangeChannel(p[2], box.zMin, box.zMax, scale, offset));
        }
    });
}

// Smooth normals of one graph's U x W vertex grid: each vertex averages the
// unit normals of the (up to four) quads around it. A vertex row needs the
// quad rows above and below it only, so ranges of rows are shared out among
// the threads, each keeping two quad rows.
void gridNormals(const float* vertices, float* normals, int U, int W) {
    auto at = [U](int j, int k) { return static_cast<size_t>(j) * U + k; };
    auto quadRow = [&](int j, std::vector<Vec3>& face) {
        for (int k = 0; k + 1 < U; ++k) {
            Vec3 p00 = load3(vertices + at(j, k) * 3), p01 = load3(vertices + at(j, k + 1) * 3);
            Vec3 p11 = load3(vertices + at(j + 1, k + 1) * 3), p10 = load3(vertices + at(j + 1, k) * 3);
            face[static_cast<size_t>(k)] = normalised(cross(p11 - p00, p10 - p01));
        }
    };
    const size_t rowsPerRange = std::max(1, 4096 / U);
    forEachRange(static_cast<size_t>(W), rowsPerRange, [&](size_t first, size_t end) {
        std::vector<Vec3> above(static_cast<size_t>(U)), below(static_cast<size_t>(U));  // quad rows j - 1, j
        if (first > 0) quadRow(static_cast<int>(first) - 1, above);
        for (int j = static_cast<int>(first); j < static_cast<int>(end); ++j) {
            if (j < W - 1) quadRow(j, below);
            for (int k = 0; k < U; ++k) {
                // The quads in a fixed order, so that every cut of the rows
                // sums alike.
                Vec3 s;
                if (j < W - 1) {
                    if (k < U - 1) s = s + below[static_cast<size_t>(k)];
                    if (k > 0) s = s + below[static_cast<size_t>(k - 1)];
                }
                if (j > 0) {
                    if (k < U - 1) s = s + above[static_cast<size_t>(k)];
                    if (k > 0) s = s + above[static_cast<size_t>(k - 1)];
                }
                store3(normals + at(j, k) * 3, normalised(s));
            }
            std::swap(above, below);
        }
    });
}

int generatePlot3d(Generator& gen) {
    PlotRecord& rec = gen.record;
    const int n = rec.exprCount, U = gen.quality.plot3dSamplesU, W = gen.quality.plot3dSamplesV;
    if (!gen.gridUsable(U) || !gen.gridUsable(W) || !gen.sizeUsable(3.0 * n * U * W)) return 0;
    const double u0 = rec.ranges[0].low, du = double(rec.ranges[0].high) - rec.ranges[0].low;
    const double w0 = rec.ranges[1].low, dw = double(rec.ranges[1].high) - rec.ranges[1].low;
    MeshBuffers& mesh = gen.mesh;
    const size_t perGraph = static_cast<size_t>(U) * W, count = perGraph * n;
    // Unfilled: every entry is written below, first by the thread that
    // samples or shades it.
    mesh.vertices.clear();
    mesh.vertices.resize(count * 3);
    mesh.normals.clear();
    mesh.normals.resize(count * 3);
    mesh.flags.clear();
    mesh.flags.resize(count);
    mesh.gridU = U;
    mesh.gridW = W;
    // Writes point `at` (graph, then row j over w, then column k over u).
    auto point = [&](auto& s, size_t at) -> int {
        const int g = static_cast<int>(at / perGraph), j = static_cast<int>(at % perGraph / U),
                  k = static_cast<int>(at % U);
        double u = u0 + (static_cast<double>(k) / (U - 1)) * du;
        double w = w0 + (static_cast<double>(j) / (W - 1)) * dw;
        s.set(0, u);
        s.set(1, w);
        Value v;
        if (!s.evaluate(g, v)) return 0;
        Complex p[3];
        if (v.tag == kComplex) {
            if (rec.hasCoords) {
                if (!s.map3(v.z, Complex{u, 0}, Complex{w, 0}, p[0], p[1], p[2])) return 0;
            } else {
                p[0] = {u, 0};
                p[1] = {w, 0};
                p[2] = v.z;
            }
        } else if (v.tag == kMatrix && v.count() >= 3) {
            if (rec.hasCoords) {
                if (!s.map3(v.elements[0], v.elements[1], v.elements[2], p[0], p[1], p[2])) return 0;
            } else {
                for (int a = 0; a < 3; ++a) p[a] = v.elements[static_cast<size_t>(a)];
            }
        } else {
            return s.failDataType();
        }
        bool real = true;
        for (int a = 0; a < 3; ++a) {
            mesh.vertices[at * 3 + a] = static_cast<float>(p[a].re);
            real = real && p[a].im == 0.0;
        }
        mesh.flags[at] = real ? 1 : 0;
        return 1;
    };
    if (!sampleGrid(gen, 2, count, 1, point)) return 0;
    const Bounds b = pointBounds(mesh.vertices.data(), count, 3);
    for (int g = 0; g < n; ++g)
        gridNormals(&mesh.vertices[g * perGraph * 3], &mesh.normals[g * perGraph * 3], U, W);
    gen.status("Generated %i verts and %i polys (%4.2f seconds)", static_cast<int>(count),
               n * (U - 1) * (W - 1), gen.elapsedSeconds());
    rec.box3D = finishSurfaceBox(b);
    colourByBox(mesh, rec.box3D, 128, 127);
    return 1;
}

}  // namespace vx
