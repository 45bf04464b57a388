#pragma once
// What every plot generator shares: the evaluator with the worker's message
// buffer, the graph variables bound once and overwritten per grid point,
// progress and abort handling, timing and the two palettes.
#include <array>
#include <chrono>
#include <string>

#include "engine/evaluator.h"
#include "plot/plot_registry.h"

namespace vx {

// One grid point's evaluation and coordinate mapping, shared by the
// generator and the sampling threads: an exact division by zero that no
// built-in caught becomes the point's message.
Tag evaluateGraphAt(Eval& ev, const SharedExpression& graph, Value& out);
int mapPointToCartesian2(Eval& ev, int system, Complex u, Complex v, Complex& x, Complex& y);
int mapPointToCartesian3(Eval& ev, int system, Complex u, Complex v, Complex w, Complex& x, Complex& y, Complex& z);

// The status and message texts of one generator kind.
struct GeneratorTexts {
    const char* progress;  // "...: %i%%"
    const char* dataType;  // the kind's Data Type message
};

class Generator {
public:
    Generator(Engine& engine, PlotRegistry& registry, PlotRecord& record, const QualitySettings& quality,
              ErrorText& message, GeneratorTexts texts);

    Eval ev;
    PlotRecord& record;
    MeshBuffers& mesh;
    const QualitySettings& quality;
    PlotHost& host;
    GeneratorTexts texts;

    // Binds the record's first `count` variable names to 0. False with a
    // message when the local table is full.
    bool bindVariables(int count);
    // Overwrites bound variable k in place.
    void set(int k, double value) { scope_.complexAt(slots_[static_cast<size_t>(k)]) = Complex{value, 0.0}; }
    void releaseVariables() { scope_.popAll(); }

    // Progress over a run of `total` counted steps; call before each step.
    void startProgress(double total) {
        total_ = total;
        counter_ = 0;
        index_ = 0;
    }
    void countStep();

    // Evaluates graph g; division by an exact zero fails like a statement.
    Tag evaluate(int graph, Value& out);
    // Coordinate-system mapping of the record's system (1 ok, 0 message).
    int map2(Complex u, Complex v, Complex& x, Complex& y);
    int map3(Complex u, Complex v, Complex w, Complex& x, Complex& y, Complex& z);

    // After each grid point: true (with the abort message and status) when
    // the user asked the run to stop.
    bool aborted();
    Tag failDataType() { return ev.fail("%s", texts.dataType); }
    // Grid sizes below 2 would divide by zero; refused with the Data Type text.
    bool gridUsable(int size) { return size >= 2 || (failDataType(), false); }
    // Refuses grids whose buffers (`floats` 32-bit values) cannot be held:
    // the quality settings have no upper bound.
    bool sizeUsable(double floats) { return floats <= kMaxMeshFloats || (ev.fail("%s", kOutOfMemory), false); }
    static constexpr double kMaxMeshFloats = 1 << 28;
    static constexpr const char* kOutOfMemory = "Error: Out of Memory";

    double elapsedSeconds() const;
    void status(const char* format, ...) __attribute__((format(printf, 2, 3)));

private:
    LocalScope scope_;
    std::array<int, kMaxPlotVariables> slots_{};
    std::chrono::steady_clock::time_point start_;
    double total_ = 1;
    long long index_ = 0;
    int counter_ = 0;
};

// The 64-entry graph palette (graph g uses entry g) and the vector palette.
std::vector<PlotColour> graphPalette();
std::vector<PlotColour> vectorPalette();

// A byte channel from a position within a range: trunc((v - lo) scale /
// (hi - lo)) + offset, kept in 0..255 (also for values outside the range).
std::uint8_t rangeChannel(double v, double lo, double hi, double scale, double offset);

// Bounds over points, starting from the conventional 999999 / -999999.
struct Bounds {
    double lo[3] = {999999, 999999, 999999};
    double hi[3] = {-999999, -999999, -999999};
    void add(int axis, double v) {
        if (v < lo[axis]) lo[axis] = v;
        if (v > hi[axis]) hi[axis] = v;
    }
};

// The bounds of `points` points of `dims` (2 or 3) floats each, on every
// thread; equal to adding them one by one, in order.
Bounds pointBounds(const float* values, size_t points, int dims);

// The surface box rule: a flat z range is extended to the plane z = 0,
// then every empty extent becomes 1 wide.
Box3D finishSurfaceBox(Bounds b);
// One colour per 3-float vertex: each channel offset + scale x its position
// within the box.
void colourByBox(MeshBuffers& mesh, const Box3D& box, double scale, double offset);
// Unit vertex normals of one graph's U x W grid (rows of U vertices), each
// the normalised sum of the normals of the quads around it.
void gridNormals(const float* vertices, float* normals, int U, int W);

// Generators by kind: 1 on success, 0 with the message in ev's buffer.
int generatePlot(Generator& gen);
int generatePlot3d(Generator& gen);
int generateImplicitplot(Generator& gen);
int generateImplicitplot3d(Generator& gen);
int generateSpacecurve(Generator& gen);
int generateTubeplot(Generator& gen);
int generateVectorplot(Generator& gen);
int generateVectorplot3d(Generator& gen);

// Runs the generator of the slot's kind on this thread.
int runGenerator(Engine& engine, PlotRegistry& registry, int slot, const QualitySettings& quality,
                 ErrorText& message);

}  // namespace vx
