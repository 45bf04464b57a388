// Implicit surfaces f(x, y, z) = 0: sign changes along the grid edges give
// crossing points; crossings that lie near the same grid point are merged
// into one vertex; each grid cell's crossings form one polygon, ordered by
// angle around their centroid and facing the larger values of f.
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "plot/generator.h"
#include "plot/sampler_pool.h"
#include "plot/vec3.h"

namespace vx {

namespace {

int sign(double v) { return v > 0 ? 1 : v == 0 ? 0 : -1; }  // NaN counts as negative

struct Crossing {
    Vec3 position;
    int point = 0;  // grid point it is clustered to
};

struct Polygon {
    Vec3 normal;
    std::vector<int> crossings;  // in drawing order
};

class IsoSurface {
public:
    IsoSurface(Generator& gen, int G) : gen_(gen), rec_(gen.record), G_(G), C_(G - 1) {
        for (int a = 0; a < 3; ++a) {
            lo_[a] = rec_.ranges[static_cast<size_t>(a)].low;
            hi_[a] = rec_.ranges[static_cast<size_t>(a)].high;
        }
    }

    int run();

private:
    size_t pointIndex(int a, int b, int c) const { return (static_cast<size_t>(a) * G_ + b) * G_ + c; }
    size_t cellIndex(int a, int b, int c) const { return (static_cast<size_t>(a) * C_ + b) * C_ + c; }
    const float* sample(int g, size_t point) const {
        return &samples_[(static_cast<size_t>(g) * G_ * G_ * G_ + point) * 4];
    }

    int sampleGraphs(Bounds& bounds);
    // Crossings of one stretch of the grid, with entries numbering them
    // from 0 within the stretch.
    struct CrossingList {
        std::vector<Crossing> crossings;
        std::vector<std::pair<int, int>> entries;
    };
    void findCrossings(int g);
    void addCrossing(int g, size_t pa, size_t pb, int cells[4][3], CrossingList& out) const;
    void cluster();
    void buildPolygons(int g);
    void orient(int g, Polygon& poly, Vec3 centroid);
    void writeOutput();

    Generator& gen_;
    PlotRecord& rec_;
    const int G_, C_;
    double lo_[3], hi_[3];
    std::unique_ptr<float[]> samples_;  // every entry is written before it is read
    std::vector<Crossing> crossings_;
    std::vector<std::pair<int, int>> entries_;  // (cell, crossing) of the current graph
    std::vector<int> representative_;            // per crossing
    std::vector<Vec3> normalSum_;                // running-average normal per crossing
    std::vector<int> normalCount_;
    std::vector<Polygon> polygons_;
    int graphFirstCrossing_ = 0;
};

int IsoSurface::sampleGraphs(Bounds& bounds) {
    const int n = rec_.exprCount;
    const size_t perGraph = static_cast<size_t>(G_) * G_ * G_;
    samples_ = std::make_unique_for_overwrite<float[]>(perGraph * n * 4);
    double step[3];
    for (int a = 0; a < 3; ++a) step[a] = (hi_[a] - lo_[a]) / (G_ - 1);
    // Point `at` is graph g's grid point (a, b, c), c running fastest; a
    // progress step is one row of c.
    auto point = [&](auto& s, size_t at) -> int {
        const int g = static_cast<int>(at / perGraph);
        const size_t p = at % perGraph;
        const int a = static_cast<int>(p / (static_cast<size_t>(G_) * G_)), b = static_cast<int>(p / G_ % G_),
                  c = static_cast<int>(p % G_);
        double x = lo_[0] + a * step[0], y = lo_[1] + b * step[1], z = lo_[2] + c * step[2];
        float* out = &samples_[at * 4];
        Vec3 pos{x, y, z};
        if (rec_.hasCoords) {
            Complex m[3];
            if (!s.map3({x, 0}, {y, 0}, {z, 0}, m[0], m[1], m[2])) return 0;
            pos = {m[0].re, m[1].re, m[2].re};
        }
        store3(out, pos);
        s.set(0, x);
        s.set(1, y);
        s.set(2, z);
        Value v;
        if (!s.evaluate(g, v)) return 0;
        if (v.tag != kComplex) return s.failDataType();
        out[3] = static_cast<float>(v.z.re);
        return 1;
    };
    if (!sampleGrid(gen_, 3, perGraph * n, static_cast<size_t>(G_), point)) return 0;
    for (size_t at = 0; at < perGraph * n; ++at)
        for (int a = 0; a < 3; ++a) bounds.add(a, samples_[at * 4 + a]);
    return 1;
}

void IsoSurface::addCrossing(int g, size_t pa, size_t pb, int cells[4][3], CrossingList& out) const {
    const float* sa = sample(g, pa);
    const float* sb = sample(g, pb);
    double va = sa[3], vb = sb[3];
    if (sign(va) == sign(vb)) return;
    double t = va / (va - vb);
    if (!(t >= 0 && t <= 1)) t = 0.5;  // a value that is not a number
    Vec3 A = load3(sa), B = load3(sb);
    int number = static_cast<int>(out.crossings.size());
    out.crossings.push_back({A + t * (B - A), static_cast<int>(t <= 0.5 ? pa : pb)});
    for (int k = 0; k < 4; ++k) {
        const int* cell = cells[k];
        if (cell[0] < 0 || cell[1] < 0 || cell[2] < 0 || cell[0] >= C_ || cell[1] >= C_ || cell[2] >= C_) continue;
        out.entries.emplace_back(static_cast<int>(cellIndex(cell[0], cell[1], cell[2])), number);
    }
}

// Each slab of equal a is searched on its own (on several threads), and
// the slabs are joined in order: the numbering of a single pass.
void IsoSurface::findCrossings(int g) {
    std::vector<CrossingList> slabs(static_cast<size_t>(G_));
    forEachRange(static_cast<size_t>(G_), 4, [&](size_t first, size_t end) {
        for (int a = static_cast<int>(first); a < static_cast<int>(end); ++a) {
            CrossingList& out = slabs[static_cast<size_t>(a)];
            for (int b = 0; b < G_; ++b)
                for (int c = 0; c < G_; ++c) {
                    size_t p = pointIndex(a, b, c);
                    if (a + 1 < G_) {
                        int cells[4][3] = {{a, b, c}, {a, b - 1, c}, {a, b, c - 1}, {a, b - 1, c - 1}};
                        addCrossing(g, p, pointIndex(a + 1, b, c), cells, out);
                    }
                    if (b + 1 < G_) {
                        int cells[4][3] = {{a, b, c}, {a - 1, b, c}, {a, b, c - 1}, {a - 1, b, c - 1}};
                        addCrossing(g, p, pointIndex(a, b + 1, c), cells, out);
                    }
                    if (c + 1 < G_) {
                        int cells[4][3] = {{a, b, c}, {a - 1, b, c}, {a, b - 1, c}, {a - 1, b - 1, c}};
                        addCrossing(g, p, pointIndex(a, b, c + 1), cells, out);
                    }
                }
        }
    });
    entries_.clear();
    for (const CrossingList& slab : slabs) {
        const int base = static_cast<int>(crossings_.size());
        crossings_.insert(crossings_.end(), slab.crossings.begin(), slab.crossings.end());
        for (const auto& [cell, number] : slab.entries) entries_.emplace_back(cell, base + number);
    }
}

// Every crossing is clustered to exactly one grid point, and the first
// crossing found there stands for all of them at their mean position. So
// replacing each crossing by its representative in one pass gives the same
// lists as rescanning all cells once per merged crossing.
void IsoSurface::cluster() {
    std::vector<int> firstAt(static_cast<size_t>(G_) * G_ * G_, -1);
    const int end = static_cast<int>(crossings_.size());
    representative_.resize(static_cast<size_t>(end));
    std::vector<Vec3> sum(static_cast<size_t>(end - graphFirstCrossing_));
    std::vector<int> members(static_cast<size_t>(end - graphFirstCrossing_), 0);
    for (int k = graphFirstCrossing_; k < end; ++k) {
        int& first = firstAt[static_cast<size_t>(crossings_[static_cast<size_t>(k)].point)];
        if (first < 0) first = k;
        representative_[static_cast<size_t>(k)] = first;
        size_t r = static_cast<size_t>(first - graphFirstCrossing_);
        sum[r] = sum[r] + crossings_[static_cast<size_t>(k)].position;
        ++members[r];
    }
    for (int k = graphFirstCrossing_; k < end; ++k) {
        size_t r = static_cast<size_t>(k - graphFirstCrossing_);
        if (members[r] > 1) crossings_[static_cast<size_t>(k)].position = (1.0 / members[r]) * sum[r];
    }
}

// Turns the face normal toward the cell corner with the larger value.
void IsoSurface::orient(int g, Polygon& poly, Vec3 centroid) {
    const double c[3] = {centroid.x, centroid.y, centroid.z};
    const double n[3] = {poly.normal.x, poly.normal.y, poly.normal.z};
    int A[3], B[3];
    for (int a = 0; a < 3; ++a) {
        double grid = (G_ - 1) * (c[a] - lo_[a]) / (hi_[a] - lo_[a]);
        int f = std::isfinite(grid) ? static_cast<int>(std::clamp(std::floor(grid), 0.0, double(G_ - 2))) : 0;
        A[a] = n[a] > 0 ? f + 1 : f;
        B[a] = n[a] > 0 ? f : f + 1;
    }
    const float* sa = sample(g, pointIndex(A[0], A[1], A[2]));
    const float* sb = sample(g, pointIndex(B[0], B[1], B[2]));
    double sA = dot(poly.normal, load3(sa) - centroid), sB = dot(poly.normal, load3(sb) - centroid);
    int s = sa[3] <= sb[3] ? sign(sB) : sign(sA);
    poly.normal = static_cast<double>(s) * poly.normal;
}

void IsoSurface::buildPolygons(int g) {
    // Group the (cell, crossing) entries by cell; a stable counting sort
    // keeps each cell's crossings in the order they were found.
    const size_t cellCount = static_cast<size_t>(C_) * C_ * C_;
    std::vector<int> start(cellCount + 1, 0);
    for (const auto& e : entries_) ++start[static_cast<size_t>(e.first) + 1];
    for (size_t k = 0; k < cellCount; ++k) start[k + 1] += start[k];
    std::vector<int> list(entries_.size());
    {
        std::vector<int> fill(start.begin(), start.end() - 1);
        for (const auto& e : entries_) list[static_cast<size_t>(fill[static_cast<size_t>(e.first)]++)] = e.second;
    }
    for (size_t cell = 0; cell < cellCount; ++cell) {
        int from = start[cell], to = start[cell + 1];
        if (to - from < 3) continue;
        std::vector<int> ids;
        for (int k = from; k < to; ++k) ids.push_back(representative_[static_cast<size_t>(list[static_cast<size_t>(k)])]);
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        if (ids.size() < 3) continue;
        auto pos = [this](int id) { return crossings_[static_cast<size_t>(id)].position; };
        Vec3 centroid;
        for (int id : ids) centroid = centroid + pos(id);
        centroid = (1.0 / static_cast<double>(ids.size())) * centroid;
        Polygon poly;
        poly.normal = normalised(cross(pos(ids[1]) - pos(ids[0]), pos(ids[2]) - pos(ids[0])));
        orient(g, poly, centroid);
        for (int id : ids) {
            int& k = normalCount_[static_cast<size_t>(id)];
            Vec3& acc = normalSum_[static_cast<size_t>(id)];
            acc = (1.0 / (k + 1)) * (static_cast<double>(k) * acc + poly.normal);
            ++k;
        }
        Vec3 e1 = normalised(pos(ids[1]) - pos(ids[0]));
        Vec3 e2 = normalised(cross(e1, poly.normal));
        std::vector<std::pair<double, int>> byAngle;
        for (int id : ids) {
            Vec3 d = pos(id) - centroid;
            double angle = std::atan2(dot(e2, d), dot(e1, d));
            if (angle < 0) angle += 2 * std::numbers::pi;
            byAngle.emplace_back(angle, id);
        }
        std::sort(byAngle.begin(), byAngle.end(), [](const auto& l, const auto& r) { return l.first > r.first; });
        for (const auto& [angle, id] : byAngle) poly.crossings.push_back(id);
        polygons_.push_back(std::move(poly));
    }
}

void IsoSurface::writeOutput() {
    MeshBuffers& mesh = gen_.mesh;
    std::vector<int> number(crossings_.size(), -1);
    for (const Polygon& p : polygons_)
        for (int id : p.crossings) number[static_cast<size_t>(id)] = 0;
    int used = 0;
    for (int& k : number)
        if (k == 0) k = used++;
    mesh.vertices.assign(static_cast<size_t>(used) * 3, 0.0f);
    mesh.normals.assign(static_cast<size_t>(used) * 3, 0.0f);
    mesh.colors.assign(static_cast<size_t>(used), PlotColour{});
    for (size_t id = 0; id < crossings_.size(); ++id) {
        int k = number[id];
        if (k < 0) continue;
        Vec3 p = crossings_[id].position;
        store3(&mesh.vertices[static_cast<size_t>(k) * 3], p);
        store3(&mesh.normals[static_cast<size_t>(k) * 3], normalised(normalSum_[id]));
        mesh.colors[static_cast<size_t>(k)] = rgb(rangeChannel(p.x, lo_[0], hi_[0], 128, 127),
                                                  rangeChannel(p.y, lo_[1], hi_[1], 128, 127),
                                                  rangeChannel(p.z, lo_[2], hi_[2], 128, 127));
    }
    mesh.aux.vertexCount = used;
    mesh.aux.polygons.reserve(polygons_.size());
    for (const Polygon& p : polygons_) {
        MeshPolygon out;
        out.normal = {static_cast<float>(p.normal.x), static_cast<float>(p.normal.y), static_cast<float>(p.normal.z)};
        for (int id : p.crossings) out.indices.push_back(number[static_cast<size_t>(id)]);
        mesh.aux.polygons.push_back(std::move(out));
    }
}

int IsoSurface::run() {
    Bounds bounds;
    if (!sampleGraphs(bounds)) return 0;
    gen_.host.setStatusText("Simplifying vertex clusters...");
    for (int g = 0; g < rec_.exprCount; ++g) {
        graphFirstCrossing_ = static_cast<int>(crossings_.size());
        findCrossings(g);
        cluster();
        normalSum_.resize(crossings_.size());
        normalCount_.resize(crossings_.size(), 0);
        buildPolygons(g);
        if (gen_.aborted()) return 0;
    }
    writeOutput();
    gen_.mesh.gridU = G_;
    gen_.mesh.gridW = G_;
    gen_.status("Generated %i verts, %i polys (%4.2f seconds)", gen_.mesh.aux.vertexCount,
                static_cast<int>(gen_.mesh.aux.polygons.size()), gen_.elapsedSeconds());
    for (int a = 0; a < 3; ++a)
        if (bounds.lo[a] == bounds.hi[a]) bounds.hi[a] += 1;
    rec_.box3D = Box3D{static_cast<float>(bounds.lo[0]), static_cast<float>(bounds.hi[0]),
                       static_cast<float>(bounds.lo[1]), static_cast<float>(bounds.hi[1]),
                       static_cast<float>(bounds.lo[2]), static_cast<float>(bounds.hi[2])};
    return 1;
}

}  // namespace

int generateImplicitplot3d(Generator& gen) {
    const int G = gen.quality.implicit3dGrid;
    if (!gen.gridUsable(G) || !gen.sizeUsable(4.0 * gen.record.exprCount * G * G * G)) return 0;
    IsoSurface surface(gen, G);
    return surface.run();
}

}  // namespace vx
