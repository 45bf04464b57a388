// Space curves and tubes around them: both sample a one-row matrix
// (x, y, z[, r]) over one parameter.
#include <cmath>

#include "plot/generator.h"
#include "plot/sampler_pool.h"
#include "plot/vec3.h"

namespace vx {

namespace {

struct CurveSample {
    Vec3 p;
    double radius = 0;
    bool valid = true;
};

// Samples every graph at S parameter values into samples[g * S + k].
int sampleCurves(Generator& gen, int S, const char* command, int minColumns, std::vector<CurveSample>& out,
                 Bounds& bounds) {
    PlotRecord& rec = gen.record;
    const int n = rec.exprCount;
    const double t0 = rec.ranges[1].low, t1 = rec.ranges[1].high;
    out.assign(static_cast<size_t>(n) * S, CurveSample{});
    // gen: the Generator or a thread's Sampler.
    auto point = [&](auto& s, size_t at) -> int {
        const int g = static_cast<int>(at / static_cast<size_t>(S)), k = static_cast<int>(at % static_cast<size_t>(S));
        double t = t0 + k * (t1 - t0) / (S - 1);
        s.set(0, t);
        Value v;
        if (!s.evaluate(g, v)) return 0;
        if (v.tag != kMatrix) return s.failDataType();
        if (v.rows != 1 || v.columns < minColumns || v.columns > 4) return s.ev.fail("(%s) Error: Syntax", command);
        Complex e[3] = {v.elements[0], v.elements[1], v.elements[2]};
        bool valid = true;
        for (const Complex& c : v.elements) valid = valid && c.im == 0.0;
        if (rec.hasCoords) {
            Complex m[3];
            if (!s.map3(e[0], e[1], e[2], m[0], m[1], m[2])) return 0;
            for (int a = 0; a < 3; ++a) {
                e[a] = m[a];
                valid = valid && m[a].im == 0.0;
            }
        }
        CurveSample& c = out[at];
        c.p = {e[0].re, e[1].re, e[2].re};
        c.radius = v.columns == 4 ? v.elements[3].re : 0.0;
        c.valid = valid;
        return 1;
    };
    if (!sampleGrid(gen, 1, out.size(), 1, point)) return 0;
    for (const CurveSample& c : out) {
        bounds.add(0, static_cast<float>(c.p.x));
        bounds.add(1, static_cast<float>(c.p.y));
        bounds.add(2, static_cast<float>(c.p.z));
    }
    return 1;
}

bool isZero(Vec3 a) { return a.x == 0 && a.y == 0 && a.z == 0; }

bool closeTo(Vec3 a, Vec3 b) {
    return std::fabs(a.x - b.x) <= 0.0001 && std::fabs(a.y - b.y) <= 0.0001 && std::fabs(a.z - b.z) <= 0.0001;
}

// The K ring points of every sample of one graph, starting at `vertices`.
void buildRings(const CurveSample* s, int S, int K, float* vertices, float* normals, std::int32_t* flags) {
    const bool closed = closeTo(s[0].p, s[S - 1].p);
    Vec3 lastDirection;
    bool haveLast = false;
    for (int i = 0; i < S; ++i) {
        int q = i > 0 ? i - 1 : closed ? S - 2 : 1;
        Vec3 a = s[i].p - s[q].p;
        if (i == 0 && !closed) a = -1.0 * a;
        Vec3 slope;  // tilt of the normals where the radius changes
        if (isZero(a)) {
            // Repeated point: keep the previous ring's direction so that the
            // ring stays finite (at the start, look ahead for one).
            if (haveLast) {
                a = lastDirection;
            } else {
                a = Vec3{0, 0, 1};
                for (int j = i + 1; j < S; ++j)
                    if (!isZero(s[j].p - s[i].p)) {
                        a = s[j].p - s[i].p;
                        break;
                    }
            }
        } else {
            slope = ((s[q].radius - s[i].radius) / dot(a, a)) * a;
        }
        lastDirection = a;
        haveLast = true;
        Vec3 e1 = (a.x == 0 && a.y == 0) ? normalised(Vec3{0, -a.z, 0}) : normalised(Vec3{-a.y, a.x, 0});
        Vec3 e2 = normalised(cross(a, e1));
        double c = 1 / std::sqrt(1 + dot(slope, slope));
        for (int j = 0; j < K; ++j) {
            double theta = 8 * std::atan(1.0) * j / (K - 1);
            Vec3 o = std::cos(theta) * e1 + std::sin(theta) * e2;
            size_t at = static_cast<size_t>(i) * K + j;
            store3(vertices + at * 3, s[i].p + s[i].radius * o);
            store3(normals + at * 3, c * (o + slope));
            flags[at] = s[i].valid ? 1 : 0;
        }
    }
}

}  // namespace

int generateSpacecurve(Generator& gen) {
    const int S = gen.quality.spacecurveSamples;
    if (!gen.gridUsable(S) || !gen.sizeUsable(3.0 * gen.record.exprCount * S)) return 0;
    std::vector<CurveSample> samples;
    Bounds bounds;
    if (!sampleCurves(gen, S, "spacecurve", 3, samples, bounds)) return 0;
    MeshBuffers& mesh = gen.mesh;
    mesh.vertices.assign(samples.size() * 3, 0.0f);
    mesh.flags.assign(samples.size(), 0);
    for (size_t k = 0; k < samples.size(); ++k) {
        store3(&mesh.vertices[k * 3], samples[k].p);
        mesh.flags[k] = samples[k].valid ? 1 : 0;
    }
    mesh.gridU = S;
    mesh.gridW = 1;
    gen.record.box3D = finishSurfaceBox(bounds);
    colourByBox(mesh, gen.record.box3D, 80, 80);
    gen.status("Generated spacecurve (%4.2f seconds)", gen.elapsedSeconds());
    return 1;
}

int generateTubeplot(Generator& gen) {
    const int n = gen.record.exprCount, S = gen.quality.tubeSamples, K = gen.quality.tubeSides;
    if (!gen.gridUsable(S) || !gen.gridUsable(K) || !gen.sizeUsable(6.0 * n * S * K)) return 0;
    std::vector<CurveSample> samples;
    Bounds bounds;
    if (!sampleCurves(gen, S, "tubeplot", 4, samples, bounds)) return 0;
    MeshBuffers& mesh = gen.mesh;
    const size_t perGraph = static_cast<size_t>(S) * K;
    mesh.vertices.assign(perGraph * n * 3, 0.0f);
    mesh.normals.assign(perGraph * n * 3, 0.0f);
    mesh.flags.assign(perGraph * n, 0);
    mesh.gridU = K;
    mesh.gridW = S;
    for (int g = 0; g < n; ++g)
        buildRings(&samples[static_cast<size_t>(g) * S], S, K, &mesh.vertices[g * perGraph * 3],
                   &mesh.normals[g * perGraph * 3], &mesh.flags[g * perGraph]);
    gen.status("Generated %i verts and %i polys (%4.2f seconds)", n * (K - 1) * S, n * (K - 1) * (S - 1),
               gen.elapsedSeconds());
    gen.record.box3D = finishSurfaceBox(bounds);
    colourByBox(mesh, gen.record.box3D, 128, 127);
    return 1;
}

}  // namespace vx
