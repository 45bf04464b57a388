#include "plot/generator.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "mathlib/complex.h"
#include "plot/sampler_pool.h"

namespace vx {

Generator::Generator(Engine& engine, PlotRegistry& registry, PlotRecord& record, const QualitySettings& quality,
                     ErrorText& message, GeneratorTexts texts)
    : ev(engine, message),
      record(record),
      mesh(registry.mesh),
      quality(quality),
      host(registry.host()),
      texts(texts),
      scope_(engine),
      start_(std::chrono::steady_clock::now()) {}

bool Generator::bindVariables(int count) {
    for (int k = 0; k < count; ++k) {
        int slot = scope_.push(record.varNames[static_cast<size_t>(k)], Value::scalar(0.0));
        if (slot < 0) {
            ev.fail(kTooManyLocals);
            return false;
        }
        slots_[static_cast<size_t>(k)] = slot;
    }
    return true;
}

void Generator::countStep() {
    if (++counter_ == 20) {
        counter_ = 0;
        status(texts.progress, static_cast<int>(static_cast<double>(index_) * 100.0 / total_));
    }
    ++index_;
}

Tag evaluateGraphAt(Eval& ev, const SharedExpression& graph, Value& out) {
    try {
        return ev.evaluate(Ref{graph.get(), graph->root()}, out);
    } catch (const DivisionByZero&) {
        return ev.fail("Error: Division by Zero");
    }
}

int mapPointToCartesian2(Eval& ev, int system, Complex u, Complex v, Complex& x, Complex& y) {
    try {
        return mapToCartesian2(ev, system, u, v, x, y);
    } catch (const DivisionByZero&) {
        return ev.fail("Error: Division by Zero"), 0;
    }
}

int mapPointToCartesian3(Eval& ev, int system, Complex u, Complex v, Complex w, Complex& x, Complex& y, Complex& z) {
    try {
        return mapToCartesian3(ev, system, u, v, w, x, y, z);
    } catch (const DivisionByZero&) {
        return ev.fail("Error: Division by Zero"), 0;
    }
}

Tag Generator::evaluate(int graph, Value& out) {
    return evaluateGraphAt(ev, record.exprs[static_cast<size_t>(graph)], out);
}

int Generator::map2(Complex u, Complex v, Complex& x, Complex& y) {
    return mapPointToCartesian2(ev, record.coordSystem, u, v, x, y);
}

int Generator::map3(Complex u, Complex v, Complex w, Complex& x, Complex& y, Complex& z) {
    return mapPointToCartesian3(ev, record.coordSystem, u, v, w, x, y, z);
}

bool Generator::aborted() {
    if (!ev.aborted()) return false;
    ev.failAborted();
    host.setStatusText("Precalculation aborted!");
    return true;
}

double Generator::elapsedSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void Generator::status(const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    host.setStatusText(buffer);
}

namespace {

// Entries 9..63: each channel one of 0, 64, 128, 192 (256 wraps to 0).
void fillRandomEntries(std::vector<PlotColour>& palette) {
    for (size_t k = 9; k < palette.size(); ++k) {
        auto channel = [] { return static_cast<std::uint8_t>((std::rand() % 5) * 64); };
        std::uint8_t r = channel(), g = channel(), b = channel();
        palette[k] = rgb(r, g, b);
    }
}

}  // namespace

// Nine fixed colours, then entries 9 to 63 at random.
static std::vector<PlotColour> paletteStartingWith(const PlotColour (&fixed)[9]) {
    std::vector<PlotColour> p(64);
    for (int k = 0; k < 9; ++k) p[static_cast<size_t>(k)] = fixed[k];
    fillRandomEntries(p);
    return p;
}

std::vector<PlotColour> graphPalette() {
    const PlotColour fixed[9] = {rgb(255, 0, 0),   rgb(0, 0, 255),     rgb(0, 128, 0),
                                 rgb(0, 0, 0),     rgb(255, 128, 0),   rgb(0, 200, 128),
                                 rgb(128, 128, 128), rgb(128, 0, 255), rgb(255, 0, 255)};
    return paletteStartingWith(fixed);
}

std::vector<PlotColour> vectorPalette() {
    const PlotColour fixed[9] = {rgb(0, 0, 0),     rgb(255, 0, 0),     rgb(0, 0, 255),
                                 rgb(0, 128, 0),   rgb(255, 128, 0),   rgb(0, 200, 128),
                                 rgb(128, 128, 128), rgb(128, 0, 255), rgb(255, 0, 255)};
    return paletteStartingWith(fixed);
}

Bounds pointBounds(const float* values, size_t points, int dims) {
    // Pieces merged in order keep the first of equal extremes (0 before
    // -0), as one pass does.
    constexpr size_t kPiece = 1 << 16;
    const size_t pieces = (points + kPiece - 1) / kPiece;
    std::vector<Bounds> found(pieces);
    forEachRange(pieces, 1, [&](size_t first, size_t end) {
        for (size_t piece = first; piece < end; ++piece)
            for (size_t at = piece * kPiece; at < std::min(points, (piece + 1) * kPiece); ++at)
                for (int a = 0; a < dims; ++a) found[piece].add(a, values[at * static_cast<size_t>(dims) + a]);
    });
    Bounds all;
    for (const Bounds& b : found)
        for (int a = 0; a < dims; ++a) {
            if (b.lo[a] < all.lo[a]) all.lo[a] = b.lo[a];
            if (b.hi[a] > all.hi[a]) all.hi[a] = b.hi[a];
        }
    return all;
}

std::uint8_t rangeChannel(double v, double lo, double hi, double scale, double offset) {
    double c = std::trunc((v - lo) * scale / (hi - lo)) + offset;
    // Points outside the range (or not finite) must not wrap around.
    if (!(c >= 0.0)) return 0;
    if (c > 255.0) return 255;
    return static_cast<std::uint8_t>(c);
}

}  // namespace vx
