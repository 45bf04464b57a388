// Implicit curves f(x, y) = 0: only the grid of values is computed here;
// the contour segments are extracted when the plot is drawn.
#include "plot/generator.h"

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
    Bounds b;
    if (!gen.bindVariables(2)) return 0;
    gen.startProgress(static_cast<double>(perGraph) * n);
    for (int g = 0; g < n; ++g)
        for (int j = 0; j < G; ++j)
            for (int k = 0; k < G; ++k) {
                gen.countStep();
                double x = x0 + k * (x1 - x0) / (G - 1);
                double y = y0 + j * (y1 - y0) / (G - 1);
                gen.set(0, x);
                gen.set(1, y);
                Value v;
                if (!gen.evaluate(g, v)) return 0;
                if (v.tag != kComplex) return gen.failDataType();
                double px = x, py = y;
                if (rec.hasCoords) {
                    Complex cx, cy;
                    if (!gen.map2({x, 0}, {y, 0}, cx, cy)) return 0;
                    px = cx.re;
                    py = cy.re;
                }
                size_t at = static_cast<size_t>(g) * perGraph + static_cast<size_t>(j) * G + k;
                mesh.vertices[at * 3] = static_cast<float>(px);
                mesh.vertices[at * 3 + 1] = static_cast<float>(py);
                mesh.vertices[at * 3 + 2] = static_cast<float>(v.z.re);
                mesh.flags[at] = v.z.im == 0.0 ? 1 : 0;
                if (gen.aborted()) return 0;
                b.add(0, mesh.vertices[at * 3]);
                b.add(1, mesh.vertices[at * 3 + 1]);
            }
    gen.releaseVariables();
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
