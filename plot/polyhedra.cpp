#include "plot/polyhedra.h"

#include <cmath>

#include "plot/canvas_args.h"

namespace vx {

namespace {

bool readCount(const Complex& c, double limit, int& out) {
    if (c.im != 0.0 || c.re != std::trunc(c.re) || c.re < 0 || c.re > limit) return false;
    out = static_cast<int>(c.re);
    return true;
}

}  // namespace

bool parsePolyhedron(const std::vector<Complex>& e, Polyhedron& out) {
    out = Polyhedron{};
    const size_t size = e.size();
    int V = 0, F = 0;
    if (size < 2 || !readCount(e[0], static_cast<double>(size), V)) return false;
    size_t at = 1;
    if (at + 3 * static_cast<size_t>(V) >= size) return false;
    for (int v = 0; v < V; ++v, at += 3) out.vertices.push_back({e[at].re, e[at + 1].re, e[at + 2].re});
    if (!readCount(e[at++], static_cast<double>(size), F)) return false;
    int k = 0;
    for (int f = 0; f < F; ++f) {
        for (; at < size && e[at].im != 0.0; ++at)
            if (e[at].im != std::trunc(e[at].im) || e[at].im < 3 || e[at].im > static_cast<double>(size))
                return false;
            else
                k = static_cast<int>(e[at].im);
        if (k == 0 || at + static_cast<size_t>(k) > size) return false;
        std::vector<int> face;
        for (int j = 0; j < k; ++j, ++at) {
            int index;
            if (!readCount(e[at], V - 1, index)) return false;
            face.push_back(index);
        }
        out.faces.push_back(std::move(face));
    }
    return at == size;
}

std::vector<Complex> encodePolyhedron(const Polyhedron& p) {
    std::vector<Complex> e;
    e.push_back({static_cast<double>(p.vertices.size()), 0});
    for (const Vec3& v : p.vertices) {
        e.push_back({v.x, 0});
        e.push_back({v.y, 0});
        e.push_back({v.z, 0});
    }
    e.push_back({static_cast<double>(p.faces.size()), 0});
    size_t k = 0;
    for (const auto& face : p.faces) {
        if (face.size() != k) {
            k = face.size();
            e.push_back({0, static_cast<double>(k)});
        }
        for (int index : face) e.push_back({static_cast<double>(index), 0});
    }
    return e;
}

Vec3 faceCentroid(const Polyhedron& p, const std::vector<int>& face) {
    Vec3 c;
    for (int v : face) c = c + p.vertices[static_cast<size_t>(v)];
    return (1.0 / static_cast<double>(face.size())) * c;
}

Polyhedron stellatePolyhedron(const Polyhedron& p, double h) {
    Vec3 middle;
    for (const auto& face : p.faces) middle = middle + faceCentroid(p, face);
    if (!p.faces.empty()) middle = (1.0 / static_cast<double>(p.faces.size())) * middle;
    Polyhedron out;
    out.vertices = p.vertices;
    const int V = static_cast<int>(p.vertices.size());
    for (size_t f = 0; f < p.faces.size(); ++f) {
        const auto& face = p.faces[f];
        Vec3 c = faceCentroid(p, face);
        Vec3 p0 = p.vertices[static_cast<size_t>(face[0])];
        Vec3 n = cross(p.vertices[static_cast<size_t>(face[1])] - p0, p.vertices[static_cast<size_t>(face[2])] - p0);
        double len = length(n);
        n = len != 0 ? (h / len) * n : Vec3{};
        Vec3 A = c + n, B = c - n;
        double dA = length(A - middle), dB = length(B - middle);
        // Outward for h >= 0, inward otherwise.
        bool takeA = h >= 0 ? dA > dB : dA < dB;
        out.vertices.push_back(takeA ? A : B);
        const int apex = V + static_cast<int>(f), k = static_cast<int>(face.size());
        for (int i = 0; i < k; ++i) out.faces.push_back({face[static_cast<size_t>(i)], face[static_cast<size_t>((i + 1) % k)], apex});
    }
    return out;
}

Polyhedron dualOf(const Polyhedron& p) {
    Polyhedron out;
    for (const auto& face : p.faces) out.vertices.push_back(faceCentroid(p, face));
    out.faces.resize(p.vertices.size());
    for (size_t f = 0; f < p.faces.size(); ++f)
        for (int v : p.faces[f]) {
            auto& around = out.faces[static_cast<size_t>(v)];
            // A face lists each vertex once in a well-formed solid; a repeat
            // within one face must not count the face twice.
            if (around.empty() || around.back() != static_cast<int>(f)) around.push_back(static_cast<int>(f));
        }
    return out;
}

Tag bDrawsolid(Eval& ev, const Args& a, Value&) {
    if (a.count != 2) return ev.fail("(drawsolid) Error: Syntax");
    PlotRecord* canvas = readCanvas(ev, a[0], "drawsolid", CanvasNeed::Canvas3D);
    if (!canvas) return kNone;
    Value list;
    Tag tag = ev.evaluate(a[1], list);
    if (!tag) return kNone;
    if (tag != kList) return ev.fail("(drawsolid) Error: Data Type");
    Polyhedron solid;
    if (!parsePolyhedron(list.elements, solid)) return ev.fail("(drawsolid) Error: Dimension");
    const Box3D& box = canvas->box3D;
    auto channel = [](double v, float lo, float hi) {
        double c = std::trunc((v - lo) / (static_cast<double>(hi) - lo) * 128) + 127;
        return static_cast<std::uint8_t>(c > 255 ? 255 : c >= 0 ? c : 0);
    };
    for (const auto& face : solid.faces) {
        CanvasPolygon3D poly;
        for (int v : face) {
            const Vec3& p = solid.vertices[static_cast<size_t>(v)];
            poly.points.push_back({static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)});
        }
        Vec3 c = faceCentroid(solid, face);
        poly.colour = rgb(channel(c.x, box.xMin, box.xMax), channel(c.y, box.yMin, box.yMax),
                          channel(c.z, box.zMin, box.zMax));
        Vec3 p0 = load3(poly.points[0].data());
        Vec3 n = normalised(cross(load3(poly.points[1].data()) - p0, load3(poly.points[2].data()) - p0));
        poly.normal = {static_cast<float>(n.x), static_cast<float>(n.y), static_cast<float>(n.z)};
        canvas->custom3D.polygons.push_back(std::move(poly));
    }
    return ev.fail("(drawsolid) Solid Drawn");
}

Tag bStellate(Eval& ev, const Args& a, Value& out) {
    if (a.count != 2) return ev.fail("(stellate) Error: Syntax");
    Value list;
    Tag tag = ev.evaluate(a[0], list);
    if (!tag) return kNone;
    if (tag != kList) return ev.fail("(stellate) Error: Data Type");
    double h;
    if (!readReal(ev, a[1], "stellate", h)) return kNone;
    Polyhedron solid;
    if (!parsePolyhedron(list.elements, solid)) return ev.fail("(stellate) Error: Dimension");
    out = Value::list(encodePolyhedron(stellatePolyhedron(solid, h)));
    return kList;
}

Tag bDualpolyhedron(Eval& ev, const Args& a, Value& out) {
    if (a.count != 1) return ev.fail("(dualpolyhedron) Error: Syntax");
    Value list;
    Tag tag = ev.evaluate(a[0], list);
    if (!tag) return kNone;
    if (tag != kList) return ev.fail("(dualpolyhedron) Error: Data Type");
    Polyhedron solid;
    if (!parsePolyhedron(list.elements, solid)) return ev.fail("(dualpolyhedron) Error: Dimension");
    Polyhedron dual = dualOf(solid);
    // Every dual face needs its own marker, and a vertex on fewer than three
    // faces has no face in the dual.
    for (const auto& face : dual.faces)
        if (face.size() < 3) return ev.fail("(dualpolyhedron) Error: Dimension");
    std::vector<Complex> e;
    e.push_back({static_cast<double>(dual.vertices.size()), 0});
    for (const Vec3& v : dual.vertices) {
        e.push_back({v.x, 0});
        e.push_back({v.y, 0});
        e.push_back({v.z, 0});
    }
    e.push_back({static_cast<double>(dual.faces.size()), 0});
    for (const auto& face : dual.faces) {
        e.push_back({0, static_cast<double>(face.size())});
        for (int f : face) e.push_back({static_cast<double>(f), 0});
    }
    out = Value::list(std::move(e));
    return kList;
}

}  // namespace vx
