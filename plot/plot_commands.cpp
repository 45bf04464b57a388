// The plot commands: check the arguments, copy the graphs into a record and
// store it; the geometry is computed later by the worker. Also delplot and
// plotsize.
#include <cmath>
#include <string>

#include "engine/engine_builtins.h"
#include "engine/evaluator.h"
#include "plot/plot_builtins.h"
#include "plot/plot_registry.h"

namespace vx {

namespace {

// Where a command keeps its ranges.
enum class RangeTarget { Range2D, Pairs, SecondPair };

struct CommandShape {
    const char* name;
    PlotKind kind;
    int ranges;         // variables, each with two ends
    int coordinateDim;  // dimension a coords=name system must have
    RangeTarget target;
};

bool isBareName(Ref ref) {
    if (!ref.valid()) return false;
    const Item& item = ref.item();
    return item.kind == kVariable && item.special == SpecialName::None;
}

// A graph expression is evaluated on the precalculation worker; a command
// there that adds, deletes or sizes plots would change the registry under
// the worker's feet, and deleting would stop and wait for the worker itself.
bool refusedWhileCalculating(Eval& ev, const char* cmd) {
    if (!plotRegistry(ev.engine).workerRunning()) return false;
    ev.fail("(%s) Error: Not allowed while a plot is being calculated", cmd);
    return true;
}

Tag plotCommand(Eval& ev, const Args& a, const CommandShape& shape) {
    const char* cmd = shape.name;
    if (refusedWhileCalculating(ev, cmd)) return kNone;
    int count = a.count;
    PlotRecord record;
    std::string system;
    if (count > 0 && readCoordsArgument(a[count - 1], system)) {
        if (findCoordinateSystem(ev, record.coordSystem, system, shape.coordinateDim, cmd) != 2) return kNone;
        record.hasCoords = 1;
        --count;
    }
    const int n = count - 3 * shape.ranges;
    if (n < 1) return ev.fail("(%s) Error: Syntax", cmd);
    if (n > kMaxGraphs) return ev.fail("(%s) Error: Too Many Graphs", cmd);
    double ends[3][2];
    for (int r = 0; r < shape.ranges; ++r)
        for (int e = 0; e < 2; ++e)
            if (!evaluateRealEndpoint(ev, ends[r][e], a[n + 3 * r + 1 + e], cmd)) return kNone;
    for (int r = 0; r < shape.ranges; ++r)
        if (ends[r][0] == ends[r][1]) return ev.fail("(%s) Error: Empty Range", cmd);
    for (int r = 0; r < shape.ranges; ++r)
        if (!isBareName(a[n + 3 * r])) return ev.fail("(%s) Error: Invalid Name", cmd);

    record.inUse = 1;
    record.kind = shape.kind;
    record.exprCount = n;
    record.varCount = shape.ranges;
    if (plotDimensions(shape.kind) == 3) {
        record.rotX = 305;
        record.rotZ = 45;
    }
    for (int r = 0; r < shape.ranges; ++r) {
        float lo = static_cast<float>(ends[r][0]), hi = static_cast<float>(ends[r][1]);
        switch (shape.target) {
            case RangeTarget::Range2D:
                record.range2D[0] = lo;
                record.range2D[1] = hi;
                break;
            case RangeTarget::Pairs: record.ranges[static_cast<size_t>(r)] = {lo, hi}; break;
            case RangeTarget::SecondPair: record.ranges[1] = {lo, hi}; break;
        }
        record.varNames[static_cast<size_t>(r)] = *itemName(a[n + 3 * r]);
    }
    record.exprs.reserve(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) record.exprs.push_back(cloneSubexpression(a[k]));
    plotRegistry(ev.engine).createPlot(ev.error, cmd, std::move(record));
    return kNone;
}

constexpr CommandShape kPlot{"plot", PlotKind::Plot, 1, 2, RangeTarget::Range2D};
constexpr CommandShape kPlot3d{"plot3d", PlotKind::Plot3d, 2, 3, RangeTarget::Pairs};
constexpr CommandShape kImplicit{"implicitplot", PlotKind::Implicitplot, 2, 2, RangeTarget::Pairs};
constexpr CommandShape kImplicit3d{"implicitplot3d", PlotKind::Implicitplot3d, 3, 3, RangeTarget::Pairs};
constexpr CommandShape kTube{"tubeplot", PlotKind::Tubeplot, 1, 3, RangeTarget::SecondPair};
constexpr CommandShape kCurve{"spacecurve", PlotKind::Spacecurve, 1, 3, RangeTarget::SecondPair};
constexpr CommandShape kVector{"vectorplot", PlotKind::Vectorplot, 2, 2, RangeTarget::Pairs};
constexpr CommandShape kVector3d{"vectorplot3d", PlotKind::Vectorplot3d, 3, 3, RangeTarget::Pairs};

Tag bPlot(Eval& ev, const Args& a, Value&) { return plotCommand(ev, a, kPlot); }
Tag bPlot3d(Eval& ev, const Args& a, Value&) { return plotCommand(ev, a, kPlot3d); }
Tag bImplicitplot(Eval& ev, const Args& a, Value&) { return plotCommand(ev, a, kImplicit); }
Tag bImplicitplot3d(Eval& ev, const Args& a, Value&) { return plotCommand(ev, a, kImplicit3d); }
Tag bTubeplot(Eval& ev, const Args& a, Value&) { return plotCommand(ev, a, kTube); }
Tag bSpacecurve(Eval& ev, const Args& a, Value&) { return plotCommand(ev, a, kCurve); }
Tag bVectorplot(Eval& ev, const Args& a, Value&) { return plotCommand(ev, a, kVector); }
Tag bVectorplot3d(Eval& ev, const Args& a, Value&) { return plotCommand(ev, a, kVector3d); }

// customplot / customplot3d: an empty canvas; the result is its slot.
Tag canvasCommand(Eval& ev, const Args& a, Value& out, int dim) {
    const char* cmd = dim == 2 ? "customplot" : "customplot3d";
    if (refusedWhileCalculating(ev, cmd)) return kNone;
    if (a.count != 2 * dim) return ev.fail("(%s) Error: Syntax", cmd);
    double ends[6];
    for (int k = 0; k < 2 * dim; ++k)
        if (!evaluateRealEndpoint(ev, ends[k], a[k], cmd)) return kNone;
    for (int r = 0; r < dim; ++r)
        if (ends[2 * r] == ends[2 * r + 1]) return ev.fail("(%s) Error: Empty Range", cmd);
    PlotRecord record;
    record.inUse = 1;
    auto f = [&ends](int k) { return static_cast<float>(ends[k]); };
    if (dim == 2) {
        record.kind = PlotKind::Customplot;
        record.view2D = View2D{f(0), f(1), f(2), f(3)};
    } else {
        record.kind = PlotKind::Customplot3d;
        record.rotX = 305;
        record.rotZ = 45;
        record.box3D = Box3D{f(0), f(1), f(2), f(3), f(4), f(5)};
    }
    int slot = plotRegistry(ev.engine).createPlot(ev.error, cmd, std::move(record));
    if (slot < 0) return ev.fail("(%s) Too Many Graphs", cmd);
    out = Value::scalar(slot);
    return kComplex;
}

Tag bCustomplot(Eval& ev, const Args& a, Value& out) { return canvasCommand(ev, a, out, 2); }
Tag bCustomplot3d(Eval& ev, const Args& a, Value& out) { return canvasCommand(ev, a, out, 3); }

// The plot number argument of delplot and plotsize; false with a message.
bool readPlotIndex(Eval& ev, const Args& a, const char* cmd, double& n) {
    if (refusedWhileCalculating(ev, cmd)) return false;
    if (a.count != 1) return ev.fail("(%s) Error: Syntax", cmd), false;
    Value v;
    Tag tag = ev.evaluate(a[0], v);
    if (!tag) return false;
    if (tag != kComplex) return ev.fail("(%s) Error: Index must be integer", cmd), false;
    if (v.z.im != 0.0) return ev.fail("(%s) Error: Index must be real", cmd), false;
    if (v.z.re != std::trunc(v.z.re)) return ev.fail("(%s) Error: Index must be integer", cmd), false;
    n = v.z.re + 0.0;  // no "-0"
    return true;
}

int slotOf(double n) { return n >= 0 && n < kPlotSlots ? static_cast<int>(n) : -1; }

Tag bDelplot(Eval& ev, const Args& a, Value&) {
    double n;
    if (!readPlotIndex(ev, a, "delplot", n)) return kNone;
    int slot = slotOf(n);
    if (slot >= 0 && plotRegistry(ev.engine).deletePlot(slot)) return ev.fail("(delplot) Plot %i deleted", slot);
    return ev.fail("(delplot) Plot %.0f does not exist", n);
}

Tag bPlotsize(Eval& ev, const Args& a, Value& out) {
    double n;
    if (!readPlotIndex(ev, a, "plotsize", n)) return kNone;
    const PlotRecord* r = plotRegistry(ev.engine).record(slotOf(n));
    if (!r) return ev.fail("(plotsize) Plot %.0f does not exist", n);
    if (isPlot2D(r->kind)) {
        const View2D& v = r->view2D;
        out = Value::matrix(2, 2, {{v.xMin, 0}, {v.xMax, 0}, {v.yMin, 0}, {v.yMax, 0}});
    } else {
        const Box3D& b = r->box3D;
        out = Value::matrix(2, 3, {{b.xMin, 0}, {b.xMax, 0}, {b.yMin, 0}, {b.yMax, 0}, {b.zMin, 0}, {b.zMax, 0}});
    }
    return kMatrix;
}

constexpr BuiltinEntry kPlotBuiltins[] = {
    {"plot", bPlot, kChangesState},
    {"plot3d", bPlot3d, kChangesState},
    {"implicitplot", bImplicitplot, kChangesState},
    {"implicitplot3d", bImplicitplot3d, kChangesState},
    {"tubeplot", bTubeplot, kChangesState},
    {"spacecurve", bSpacecurve, kChangesState},
    {"vectorplot", bVectorplot, kChangesState},
    {"vectorplot3d", bVectorplot3d, kChangesState},
    {"customplot", bCustomplot, kChangesState},
    {"customplot3d", bCustomplot3d, kChangesState},
    {"delplot", bDelplot, kChangesState},
    {"plotsize", bPlotsize, kChangesState},
};

}  // namespace

std::span<const BuiltinEntry> plotBuiltins() { return kPlotBuiltins; }

}  // namespace vx
