// Implicit curves f(x, y) = 0: only the grid of values is computed here;
// the contour segments are extracted when the plot is drawn.
#include "plot/generator.h"
#include "plot/sampler_pool.h"

namespace vx {

int generateImplicitplot(Generator& gen) {
    PlotRecord& rec = gen.record;
    const int n = rec.exprCount, G = gen.quality.implicitGrid;
    if (!gen.gridUsable(G) || !gen.sizeUsable(3.0 * n * G * G)) return 0;
    const double x0 = rec.ranges[0].low, x1 = rec.ranges[0].high;
    const double y0 = rec.ranges[1].low, y1 = rec.ranges[1].high;
    MeshBuffers& mesh = gen.mesh;
    const size_t perGraph = static_cast<size_t>(G) * G;
    mesh.vertices.assign(perGraph * n * 3, 0.0f);
    mesh.flags.assign(perGraph * n, 0);
    mesh.gridU = G;
    mesh.gridW = G;
    auto point = [&](auto& s, size_t at) -> int {
        const int g = static_cast<int>(at / perGraph), j = static_cast<int>(at % perGraph / static_cast<size_t>(G)),
                  k = static_cast<int>(at % static_cast<size_t>(G));
        double x = x0 + k * (x1 - x0) / (G - 1);
        double y = y0 + j * (y1 - y0) / (G - 1);
        s.set(0, x);
        s.set(1, y);
        Value v;
        if (!s.evaluate(g, v)) return 0;
        if (v.tag != kComplex) return s.failDataType();
        double px = x, py = y;
        if (rec.hasCoords) {
            Complex cx, cy;
            if (!s.map2({x, 0}, {y, 0}, cx, cy)) return 0;
            px = cx.re;
            py = cy.re;
        }
        mesh.vertices[at * 3] = static_cast<float>(px);
        mesh.vertices[at * 3 + 1] = static_cast<float>(py);
        mesh.vertices[at * 3 + 2] = static_cast<float>(v.z.re);
        mesh.flags[at] = v.z.im == 0.0 ? 1 : 0;
        return 1;
    };
    if (!sampleGrid(gen, 2, perGraph * n, 1, point)) return 0;
    Bounds b;
    for (size_t at = 0; at < perGraph * n; ++at) {
        b.add(0, mesh.vertices[at * 3]);
        b.add(1, mesh.vertices[at * 3 + 1]);
    }
    for (int a = 0; a < 2; ++a)
        if (b.lo[a] == b.hi[a]) {
            b.lo[a] -= 1;
            b.hi[a] += 1;
        }
    rec.view2D = View2D{static_cast<float>(b.lo[0]), static_cast<float>(b.hi[0]), static_cast<float>(b.lo[1]),
                        static_cast<float>(b.hi[1])};
    gen.status("Generated implicitplot (%4.2f seconds)", gen.elapsedSeconds());
    mesh.colors = graphPalette();
    return 1;
}

}  // namespace vx
