// Vector fields in 2D and 3D: one arrow per grid point, scaled to the
// longest, or short stream lines traced from every grid point.
#include <cmath>

#include "plot/generator.h"

namespace vx {

namespace {

// Reads the field vector of a result into v[0..dim-1]; 0 with a message.
int readField(Generator& gen, const Value& value, int dim, double* v, bool& valid) {
    if (value.tag != kMatrix) return gen.failDataType(), 0;
    if (dim == 3 && value.columns != 3) return gen.ev.fail("(vectorplot3d) Error: Dimension"), 0;
    if (value.count() < dim) return gen.failDataType(), 0;
    valid = true;
    for (int a = 0; a < dim; ++a) {
        v[a] = value.elements[static_cast<size_t>(a)].re;
        valid = valid && value.elements[static_cast<size_t>(a)].im == 0.0;
    }
    return 1;
}

class VectorField {
public:
    VectorField(Generator& gen, int dim) : gen_(gen), rec_(gen.record), dim_(dim) {
        for (int a = 0; a < dim; ++a) {
            lo_[a] = rec_.ranges[static_cast<size_t>(a)].low;
            hi_[a] = rec_.ranges[static_cast<size_t>(a)].high;
        }
    }

    int run() {
        G_ = dim_ == 2 ? gen_.quality.vector2dGrid : gen_.quality.vector3dGrid;
        S_ = dim_ == 2 ? gen_.quality.vector2dStream : gen_.quality.vector3dStream;
        if (!gen_.gridUsable(G_)) return 0;
        bool streams = gen_.quality.vectorStreams == 1 && !rec_.hasCoords;
        if (streams && S_ < 1) return gen_.failDataType();
        double points = std::pow(static_cast<double>(G_), dim_);
        if (!gen_.sizeUsable(rec_.exprCount * points * (streams ? static_cast<double>(S_) * dim_ : 2.0 * dim_)))
            return 0;
        points_ = static_cast<int>(points);
        if (!gen_.bindVariables(dim_)) return 0;
        if (!(streams ? traceStreams() : drawArrows())) return 0;
        gen_.releaseVariables();
        for (int a = 0; a < dim_; ++a)
            if (bounds_.lo[a] == bounds_.hi[a]) bounds_.hi[a] += 1;
        if (dim_ == 2) {
            rec_.view2D = View2D{static_cast<float>(bounds_.lo[0]), static_cast<float>(bounds_.hi[0]),
                                 static_cast<float>(bounds_.lo[1]), static_cast<float>(bounds_.hi[1])};
            gen_.status("Generated vectorplot (%4.2f seconds)", gen_.elapsedSeconds());
        } else {
            rec_.box3D = Box3D{static_cast<float>(bounds_.lo[0]), static_cast<float>(bounds_.hi[0]),
                               static_cast<float>(bounds_.lo[1]), static_cast<float>(bounds_.hi[1]),
                               static_cast<float>(bounds_.lo[2]), static_cast<float>(bounds_.hi[2])};
            gen_.status("Generated vectorplot3d (%4.2f seconds)", gen_.elapsedSeconds());
        }
        gen_.mesh.gridU = G_;
        gen_.mesh.gridW = 1;
        gen_.mesh.streamLength = streams ? S_ : 0;
        gen_.mesh.colors = vectorPalette();
        return 1;
    }

private:
    // Grid indices (column, row, layer) of start point s.
    void indices(int s, int idx[3]) const {
        idx[0] = s % G_;
        idx[1] = (s / G_) % G_;
        idx[2] = s / (G_ * G_);
    }
    void gridPoint(int s, double* p) const {
        int idx[3];
        indices(s, idx);
        for (int a = 0; a < dim_; ++a) p[a] = lo_[a] + idx[a] * (hi_[a] - lo_[a]) / (G_ - 1);
    }
    int evaluateAt(int g, const double* p, double* v, bool& valid) {
        for (int a = 0; a < dim_; ++a) gen_.set(a, p[a]);
        Value value;
        if (!gen_.evaluate(g, value)) return 0;
        return readField(gen_, value, dim_, v, valid);
    }

    int drawArrows() {
        const int n = rec_.exprCount, width = 2 * dim_;
        MeshBuffers& mesh = gen_.mesh;
        mesh.vertices.assign(static_cast<size_t>(n) * points_ * width, 0.0f);
        mesh.flags.assign(static_cast<size_t>(n) * points_, 0);
        double longest = -999999;
        gen_.startProgress(static_cast<double>(n) * points_);
        for (int g = 0; g < n; ++g)
            for (int s = 0; s < points_; ++s) {
                gen_.countStep();
                double p[3], base[3], v[3];
                gridPoint(s, p);
                for (int a = 0; a < dim_; ++a) base[a] = p[a];
                if (rec_.hasCoords) {
                    Complex m[3];
                    if (dim_ == 2 ? !gen_.map2({p[0], 0}, {p[1], 0}, m[0], m[1])
                                  : !gen_.map3({p[0], 0}, {p[1], 0}, {p[2], 0}, m[0], m[1], m[2]))
                        return 0;
                    for (int a = 0; a < dim_; ++a) base[a] = m[a].re;
                }
                bool valid;
                if (!evaluateAt(g, p, v, valid)) return 0;
                float* out = &mesh.vertices[(static_cast<size_t>(g) * points_ + s) * width];
                double len2 = 0;
                for (int a = 0; a < dim_; ++a) {
                    out[a] = static_cast<float>(base[a]);
                    out[dim_ + a] = static_cast<float>(v[a]);
                    len2 += v[a] * v[a];
                    bounds_.add(a, out[a]);
                }
                mesh.flags[static_cast<size_t>(g) * points_ + s] = valid ? 1 : 0;
                if (std::sqrt(len2) > longest) longest = std::sqrt(len2);
                if (gen_.aborted()) return 0;
            }
        // The longest arrow spans two grid cells; an all-zero field stays as is.
        if (longest > 0 && std::isfinite(longest)) {
            for (size_t k = 0; k < mesh.vertices.size(); k += static_cast<size_t>(width))
                for (int a = 0; a < dim_; ++a)
                    mesh.vertices[k + dim_ + a] = static_cast<float>(mesh.vertices[k + dim_ + a] * 2 / longest);
        }
        return 1;
    }

    int traceStreams() {
        const int n = rec_.exprCount;
        MeshBuffers& mesh = gen_.mesh;
        const size_t total = static_cast<size_t>(n) * points_ * S_;
        mesh.vertices.assign(total * dim_, 0.0f);
        mesh.flags.assign(total, 0);
        double sum = 0;
        for (int a = 0; a < dim_; ++a) sum += (hi_[a] - lo_[a]) * (hi_[a] - lo_[a]);
        const double step = dim_ == 2 ? std::sqrt(sum / 2) / 24 : std::sqrt(sum / 2) / 12;
        gen_.startProgress(static_cast<double>(n) * points_ * S_);
        for (int g = 0; g < n; ++g)
            for (int s = 0; s < points_; ++s) {
                int idx[3];
                indices(s, idx);
                // Neighbouring streams run in opposite directions.
                int parity = dim_ == 2 ? (idx[0] % 2 + idx[1]) % 2 : (idx[0] % 2 + idx[1] + idx[2]) % 2;
                double sigma = parity == 1 ? 1 : -1;
                double p[3];
                gridPoint(s, p);
                for (int a = 0; a < dim_; ++a) bounds_.add(a, static_cast<float>(p[a]));
                size_t first = (static_cast<size_t>(g) * points_ + s) * S_;
                store(first, p, true);
                bool stopped = false;
                for (int k = 1; k < S_; ++k) {
                    if (stopped) {  // a zero field ended the stream: repeat its last point
                        store(first + k, p, false);
                        continue;
                    }
                    gen_.countStep();
                    double v[3];
                    bool valid;
                    if (!evaluateAt(g, p, v, valid)) return 0;
                    double len = 0;
                    for (int a = 0; a < dim_; ++a) len += v[a] * v[a];
                    len = std::sqrt(len);
                    if (!(len > 0) || !std::isfinite(len)) {
                        stopped = true;
                        store(first + k, p, false);
                    } else {
                        for (int a = 0; a < dim_; ++a) p[a] += sigma * step * v[a] / len;
                        store(first + k, p, valid);
                        if (dim_ == 3 && outside(p)) sigma = -sigma;
                    }
                    if (gen_.aborted()) return 0;
                }
            }
        return 1;
    }

    void store(size_t at, const double* p, bool valid) {
        for (int a = 0; a < dim_; ++a) gen_.mesh.vertices[at * dim_ + a] = static_cast<float>(p[a]);
        gen_.mesh.flags[at] = valid ? 1 : 0;
    }
    bool outside(const double* p) const {
        for (int a = 0; a < 3; ++a)
            if (p[a] < std::min(lo_[a], hi_[a]) || p[a] > std::max(lo_[a], hi_[a])) return true;
        return false;
    }

    Generator& gen_;
    PlotRecord& rec_;
    const int dim_;
    double lo_[3] = {0, 0, 0}, hi_[3] = {0, 0, 0};
    int G_ = 0, S_ = 0, points_ = 0;
    Bounds bounds_;
};

}  // namespace

int generateVectorplot(Generator& gen) { return VectorField(gen, 2).run(); }
int generateVectorplot3d(Generator& gen) { return VectorField(gen, 3).run(); }

}  // namespace vx
