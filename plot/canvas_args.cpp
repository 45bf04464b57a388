#include "plot/canvas_args.h"

#include <cmath>

namespace vx {

PlotRecord* readCanvas(Eval& ev, Ref arg, const char* cmd, CanvasNeed need) {
    Value v;
    Tag tag = ev.evaluate(arg, v);
    if (!tag) return nullptr;
    if (tag != kComplex) return ev.fail("(%s) Error: Data Type", cmd), nullptr;
    if (v.z.im != 0.0) return ev.fail("(%s) Error: Complex Argument", cmd), nullptr;
    double n = v.z.re;
    if (n != std::trunc(n)) return ev.fail("(%s) Error: Non-Integral Argument", cmd), nullptr;
    if (n < 0) return ev.fail("(%s) Error: Negative Argument", cmd), nullptr;
    PlotRecord* r = n < kPlotSlots ? plotRegistry(ev.engine).record(static_cast<int>(n)) : nullptr;
    if (!r) return ev.fail("(%s) Error: Invalid Index", cmd), nullptr;
    bool fits = need == CanvasNeed::Canvas2D   ? r->kind == PlotKind::Customplot
                : need == CanvasNeed::Canvas3D ? r->kind == PlotKind::Customplot3d
                                               : isCanvasKind(r->kind);
    if (!fits) return ev.fail("(%s) Error: Plot Type", cmd), nullptr;
    return r;
}

bool readReal(Eval& ev, Ref arg, const char* cmd, double& out) {
    Value v;
    Tag tag = ev.evaluate(arg, v);
    if (!tag) return false;
    if (tag != kComplex) return ev.fail("(%s) Error: Data Type", cmd), false;
    if (v.z.im != 0.0) return ev.fail("(%s) Error: Complex Argument", cmd), false;
    out = v.z.re;
    return true;
}

bool readPoint(Eval& ev, Ref arg, const char* cmd, int dim, double* out) {
    Value v;
    Tag tag = ev.evaluate(arg, v);
    if (!tag) return false;
    if (tag == kComplex) return ev.fail("(%s) Error: Data Type", cmd), false;
    if (v.count() != dim) return ev.fail("(%s) Error: Dimension", cmd), false;
    for (int a = 0; a < dim; ++a) {
        const Complex& c = v.elements[static_cast<size_t>(a)];
        if (c.im != 0.0) return ev.fail("(%s) Error: Complex Argument", cmd), false;
        out[a] = c.re;
    }
    return true;
}

bool readColour(Eval& ev, Ref arg, const char* cmd, PlotColour& out) {
    Value v;
    Tag tag = ev.evaluate(arg, v);
    if (!tag) return false;
    if (tag == kComplex) return ev.fail("(%s) Error: Data Type", cmd), false;
    if (v.count() != 3) return ev.fail("(%s) Error: Invalid Color", cmd), false;
    std::uint8_t channel[3];
    for (int a = 0; a < 3; ++a) {
        const Complex& c = v.elements[static_cast<size_t>(a)];
        if (c.im != 0.0) return ev.fail("(%s) Error: Complex Color", cmd), false;
        double x = c.re;
        x = x > 255 ? 255 : x >= 0 ? x : 0;  // NaN becomes 0
        channel[a] = static_cast<std::uint8_t>(std::trunc(x));
    }
    out = rgb(channel[0], channel[1], channel[2]);
    return true;
}

bool pointListCountOk(int count, int dim, int minPoints) {
    if (count == 3) return true;
    int coordinates = count - 2;
    return coordinates > 0 && coordinates % dim == 0 && coordinates / dim >= minPoints;
}

bool readPointList(Eval& ev, const Args& a, const char* cmd, int dim, int minPoints, PointList& out) {
    out.clear();
    if (a.count == 3) {
        Value m;
        Tag tag = ev.evaluate(a[1], m);
        if (!tag) return false;
        if (tag != kMatrix) return ev.fail("(%s) Error: Data Type", cmd), false;
        if (m.columns != dim || m.rows < minPoints) return ev.fail("(%s) Error: Dimension", cmd), false;
        for (int r = 0; r < m.rows; ++r) {
            std::array<double, 3> p{};
            for (int c = 0; c < dim; ++c) {
                if (m.at(r, c).im != 0.0) return ev.fail("(%s) Error: Complex Argument", cmd), false;
                p[static_cast<size_t>(c)] = m.at(r, c).re;
            }
            out.push_back(p);
        }
        return true;
    }
    for (int k = 1; k + dim <= a.count - 1; k += dim) {
        std::array<double, 3> p{};
        for (int c = 0; c < dim; ++c)
            if (!readReal(ev, a[k + c], cmd, p[static_cast<size_t>(c)])) return false;
        out.push_back(p);
    }
    return true;
}

}  // namespace vx
