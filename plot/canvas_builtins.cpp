// Drawing into customplot / customplot3d canvases: pixels, polylines,
// polygons, L-system figures; clearing and fitting the window.
#include <cmath>

#include "plot/canvas_args.h"
#include "plot/plot_builtins.h"
#include "plot/polyhedra.h"

namespace vx {

namespace {

std::array<float, 3> toFloats(const std::array<double, 3>& p) {
    return {static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2])};
}

Tag drawPixel(Eval& ev, const Args& a, int dim) {
    const char* cmd = dim == 2 ? "drawpixel" : "drawpixel3d";
    if (a.count != 3) return ev.fail("(%s) Error: Syntax", cmd);
    PlotRecord* canvas = readCanvas(ev, a[0], cmd, dim == 2 ? CanvasNeed::Canvas2D : CanvasNeed::Canvas3D);
    double p[3] = {0, 0, 0};
    PlotColour colour;
    if (!canvas || !readPoint(ev, a[1], cmd, dim, p) || !readColour(ev, a[2], cmd, colour)) return kNone;
    auto f = [&p](int k) { return static_cast<float>(p[k]); };
    if (dim == 2) canvas->custom2D.pixels.push_back({f(0), f(1), colour});
    else canvas->custom3D.pixels.push_back({f(0), f(1), f(2), colour});
    return ev.fail("(%s) Pixel Drawn", cmd);
}

// drawline, drawpoly and their 3D forms.
Tag drawShape(Eval& ev, const Args& a, int dim, bool polygon) {
    const char* cmd = polygon ? (dim == 2 ? "drawpoly" : "drawpoly3d") : (dim == 2 ? "drawline" : "drawline3d");
    const int minPoints = polygon && dim == 2 ? 3 : 2;
    if (!pointListCountOk(a.count, dim, minPoints)) return ev.fail("(%s) Error: Syntax", cmd);
    PlotRecord* canvas = readCanvas(ev, a[0], cmd, dim == 2 ? CanvasNeed::Canvas2D : CanvasNeed::Canvas3D);
    if (!canvas) return kNone;
    PointList points;
    PlotColour colour;
    if (!readPointList(ev, a, cmd, dim, minPoints, points) || !readColour(ev, a[a.count - 1], cmd, colour))
        return kNone;
    if (!polygon) {
        for (size_t k = 0; k + 1 < points.size(); ++k) {
            auto p = toFloats(points[k]), q = toFloats(points[k + 1]);
            if (dim == 2) canvas->custom2D.lines.push_back({p[0], p[1], q[0], q[1], colour});
            else canvas->custom3D.lines.push_back({p[0], p[1], p[2], q[0], q[1], q[2], colour});
        }
        return ev.fail("(%s) Line Drawn", cmd);
    }
    if (dim == 2) {
        CanvasPolygon2D poly;
        for (const auto& p : points) poly.points.push_back({static_cast<float>(p[0]), static_cast<float>(p[1])});
        poly.colour = colour;
        canvas->custom2D.polygons.push_back(std::move(poly));
    } else {
        CanvasPolygon3D poly;
        for (const auto& p : points) poly.points.push_back(toFloats(p));
        poly.colour = colour;
        if (poly.points.size() >= 3) {
            Vec3 p0 = load3(poly.points[0].data());
            Vec3 n = normalised(cross(load3(poly.points[1].data()) - p0, load3(poly.points[2].data()) - p0));
            poly.normal = {static_cast<float>(n.x), static_cast<float>(n.y), static_cast<float>(n.z)};
        }
        canvas->custom3D.polygons.push_back(std::move(poly));
    }
    return ev.fail("(%s) Poly Drawn", cmd);
}

Tag bDrawpixel(Eval& ev, const Args& a, Value&) { return drawPixel(ev, a, 2); }
Tag bDrawpixel3d(Eval& ev, const Args& a, Value&) { return drawPixel(ev, a, 3); }
Tag bDrawline(Eval& ev, const Args& a, Value&) { return drawShape(ev, a, 2, false); }
Tag bDrawline3d(Eval& ev, const Args& a, Value&) { return drawShape(ev, a, 3, false); }
Tag bDrawpoly(Eval& ev, const Args& a, Value&) { return drawShape(ev, a, 2, true); }
Tag bDrawpoly3d(Eval& ev, const Args& a, Value&) { return drawShape(ev, a, 3, true); }

// Figures beyond these sizes would exhaust memory (or the stack) long
// before they could be drawn.
constexpr double kMaxLsystemSegments = 4194304;
constexpr double kMaxLsystemDepth = 1000;

class Turtle {
public:
    Turtle(Eval& ev, const std::vector<Complex>& rule, int depth, PlotColour colour, Canvas2D& canvas)
        : ev_(ev), rule_(rule), depth_(depth), colour_(colour), canvas_(canvas) {}

    // Number of moves in the rule that recurse.
    static int recursiveMoves(const std::vector<Complex>& rule) {
        int m = 0;
        for (size_t k = 0; k < rule.size(); ++k)
            if (rule[k].re == 0 && rule[k].im != 0 && k + 1 < rule.size() && rule[k + 1].re == 0 &&
                rule[k + 1].im == 0) {
                ++m;
                ++k;
            }
        return m;
    }

    bool draw(double sx, double sy, double ex, double ey, int level) {
        if (ev_.aborted()) return ev_.failAborted(), false;
        if (level == depth_) {
            canvas_.lines.push_back({static_cast<float>(sx), static_cast<float>(sy), static_cast<float>(ex),
                                     static_cast<float>(ey), colour_});
            return true;
        }
        double dx = ex - sx, dy = ey - sy;
        double theta = std::atan2(dy, dx), L = std::sqrt(dx * dx + dy * dy);
        double px = sx, py = sy;
        for (size_t k = 0; k < rule_.size(); ++k) {
            const Complex& e = rule_[k];
            if (e.re != 0) {
                theta += e.re;
            } else if (e.im != 0) {
                double stepX = L * e.im * std::cos(theta), stepY = L * e.im * std::sin(theta);
                if (k + 1 < rule_.size() && rule_[k + 1].re == 0 && rule_[k + 1].im == 0) {
                    ++k;
                    if (!draw(px, py, px + stepX, py + stepY, level + 1)) return false;
                }
                px += stepX;
                py += stepY;
            }
        }
        return true;
    }

private:
    Eval& ev_;
    const std::vector<Complex>& rule_;
    int depth_;
    PlotColour colour_;
    Canvas2D& canvas_;
};

Tag bLsystem(Eval& ev, const Args& a, Value&) {
    const char* cmd = "lsystem";
    if (a.count != 8) return ev.fail("(lsystem) Error: Syntax");
    PlotRecord* canvas = readCanvas(ev, a[0], cmd, CanvasNeed::Canvas2D);
    if (!canvas) return kNone;
    double x0, y0, x1, y1, depth;
    if (!readReal(ev, a[1], cmd, x0) || !readReal(ev, a[2], cmd, y0) || !readReal(ev, a[3], cmd, x1) ||
        !readReal(ev, a[4], cmd, y1) || !readReal(ev, a[5], cmd, depth))
        return kNone;
    if (depth != std::trunc(depth)) return ev.fail("(lsystem) Error: Non-Integral Argument");
    if (depth < 0) return ev.fail("(lsystem) Error: Negative Argument");
    Value rule;
    Tag tag = ev.evaluate(a[6], rule);
    if (!tag) return kNone;
    // The rule is read element by element, so a one-row matrix serves as well.
    if (tag != kList && tag != kMatrix) return ev.fail("(lsystem) Error: Data Type");
    PlotColour colour;
    if (!readColour(ev, a[7], cmd, colour)) return kNone;
    int m = Turtle::recursiveMoves(rule.elements);
    if (depth > kMaxLsystemDepth || (m > 1 && depth * std::log(m) > std::log(kMaxLsystemSegments)))
        return ev.fail("(lsystem) Error: Dimension");
    Canvas2D& target = canvas->custom2D;
    const size_t before = target.lines.size();
    Turtle turtle(ev, rule.elements, static_cast<int>(depth), colour, target);
    if (!turtle.draw(x0, y0, x1, y1, 0)) {
        target.lines.resize(before);  // nothing is appended on failure
        return kNone;
    }
    return ev.fail("(lsystem) L-System Drawn");
}

Tag bClear(Eval& ev, const Args& a, Value&) {
    if (a.count != 1) return ev.fail("(clear) Error: Syntax");
    PlotRecord* canvas = readCanvas(ev, a[0], "clear", CanvasNeed::Either);
    if (!canvas) return kNone;
    canvas->custom2D.clear();
    canvas->custom3D.clear();
    return ev.fail("(clear) Plot Cleared");
}

// Bounds of every point drawn into a canvas.
struct CanvasBounds {
    double lo[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, hi[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    bool any = false;
    void add(std::initializer_list<float> p) {
        int a = 0;
        for (float v : p) {
            lo[a] = std::min(lo[a], double(v));
            hi[a] = std::max(hi[a], double(v));
            ++a;
        }
        any = true;
    }
    void widen(int axes) {
        for (int a = 0; a < axes; ++a)
            if (lo[a] == hi[a]) {
                lo[a] -= 1;
                hi[a] += 1;
            }
    }
};

Tag bResize(Eval& ev, const Args& a, Value&) {
    if (a.count != 1) return ev.fail("(resize) Error: Syntax");
    PlotRecord* canvas = readCanvas(ev, a[0], "resize", CanvasNeed::Either);
    if (!canvas) return kNone;
    CanvasBounds b;
    auto f = [&b](int k) { return static_cast<float>(b.lo[k]); };
    auto g = [&b](int k) { return static_cast<float>(b.hi[k]); };
    if (canvas->kind == PlotKind::Customplot) {
        const Canvas2D& c = canvas->custom2D;
        for (const auto& p : c.pixels) b.add({p.x, p.y});
        for (const auto& l : c.lines) {
            b.add({l.x1, l.y1});
            b.add({l.x2, l.y2});
        }
        for (const auto& poly : c.polygons)
            for (const auto& p : poly.points) b.add({p[0], p[1]});
        b.widen(2);
        // An empty canvas keeps its window.
        if (b.any) canvas->view2D = View2D{f(0), g(0), f(1), g(1)};
    } else {
        const Canvas3D& c = canvas->custom3D;
        for (const auto& p : c.pixels) b.add({p.x, p.y, p.z});
        for (const auto& l : c.lines) {
            b.add({l.x1, l.y1, l.z1});
            b.add({l.x2, l.y2, l.z2});
        }
        for (const auto& poly : c.polygons)
            for (const auto& p : poly.points) b.add({p[0], p[1], p[2]});
        b.widen(3);
        if (b.any) canvas->box3D = Box3D{f(0), g(0), f(1), g(1), f(2), g(2)};
    }
    return ev.fail("(resize) Plot Window Resized");
}

constexpr BuiltinEntry kCanvasBuiltins[] = {
    {"clear", bClear, kChangesState},
    {"resize", bResize, kChangesState},
    {"drawpixel", bDrawpixel, kChangesState},
    {"drawline", bDrawline, kChangesState},
    {"lsystem", bLsystem, kChangesState},
    {"drawpoly", bDrawpoly, kChangesState},
    {"drawpixel3d", bDrawpixel3d, kChangesState},
    {"drawline3d", bDrawline3d, kChangesState},
    {"drawpoly3d", bDrawpoly3d, kChangesState},
    {"drawsolid", bDrawsolid, kChangesState},
    {"stellate", bStellate, kChangesState},
    {"dualpolyhedron", bDualpolyhedron, kChangesState},
};

}  // namespace

std::span<const BuiltinEntry> canvasBuiltins() { return kCanvasBuiltins; }

}  // namespace vx
