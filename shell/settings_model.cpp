#include "shell/settings_model.h"

#include <cstdio>

namespace vx {
namespace {

constexpr QualityKind kKinds[] = {
    {0, "2D Parametric", "2D Explicit/Parametric", "Var:", ""},
    {1, "3D Parametric", "3D Explicit/Parametric", "Var 1:", "Var 2:"},
    {2, "Tubeplot", "Tubeplot", "Var:", "Tube:"},
    {3, "2D Implicit", "2D Implicit", "Grid:", ""},
    {4, "Spacecurve", "Spacecurve", "Var:", ""},
    {5, "3D Implicit", "3D Implicit", "Grid:", ""},
    {8, "2D Vector", "2D Vector", "Grid:", "Stream:"},
    {9, "3D Vector", "3D Vector", "Grid:", "Stream:"},
};

struct PresetRow {
    int kind;
    int first[3];
    int second[3];  // unused for one-value kinds
};

constexpr PresetRow kPresets[] = {
    {0, {80, 160, 300}, {0, 0, 0}},  {1, {25, 38, 50}, {25, 38, 50}}, {2, {80, 160, 300}, {12, 26, 40}},
    {3, {20, 50, 80}, {0, 0, 0}},    {4, {80, 160, 300}, {0, 0, 0}},  {5, {12, 24, 32}, {0, 0, 0}},
    {8, {12, 16, 20}, {5, 8, 10}},   {9, {7, 10, 12}, {5, 5, 6}},
};

std::string format(const char* pattern, auto... values) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

}  // namespace

std::string percentLabel(int value) { return format("%i%%", value); }
std::string fovLabel(int value) { return format("%i\u00B0", value); }

std::span<const QualityKind> qualityKinds() { return kKinds; }

const QualityKind& qualityKindInfo(int kind) {
    for (const QualityKind& k : kKinds)
        if (k.kind == kind) return k;
    return kKinds[0];
}

int qualityPageKind(int plotKind) {
    for (const QualityKind& k : kKinds)
        if (k.kind == plotKind) return plotKind;
    return 0;
}

std::int32_t* firstQualityValue(QualitySettings& q, int kind) {
    switch (kind) {
        case 1: return &q.plot3dSamplesU;
        case 2: return &q.tubeSamples;
        case 3: return &q.implicitGrid;
        case 4: return &q.spacecurveSamples;
        case 5: return &q.implicit3dGrid;
        case 8: return &q.vector2dGrid;
        case 9: return &q.vector3dGrid;
        default: return &q.plotSamples;
    }
}

std::int32_t* secondQualityValue(QualitySettings& q, int kind) {
    switch (kind) {
        case 1: return &q.plot3dSamplesV;
        case 2: return &q.tubeSides;
        case 8: return &q.vector2dStream;
        case 9: return &q.vector3dStream;
        default: return nullptr;
    }
}

std::string evaluationCountLabel(const QualitySettings& settings, int kind) {
    QualitySettings q = settings;
    // Counts are formed in 64 bits: the values have no upper bound.
    long long g = *firstQualityValue(q, kind);
    const std::int32_t* second = secondQualityValue(q, kind);
    long long s = second ? *second : 0;
    switch (kind) {
        case 1: return format("%lld*%lld = %lld Evals", g, s, g * s);
        case 3: return format("%lld*%lld = %lld Evals", g, g, g * g);
        case 5: return format("%lld*%lld*%lld = %lld Evals", g, g, g, g * g * g);
        case 8:
            if (!q.vectorStreams) return format("%lld*%lld = %lld Evals", g, g, g * g);
            return format("%lld*%lld*%lld = %lld Evals", g, g, s, g * g * s);
        case 9:
            if (!q.vectorStreams) return format("%lld*%lld*%lld = %lld Evals", g, g, g, g * g * g);
            return format("%lld*%lld*%lld*%lld = %lld Evals", g, g, g, s, g * g * g * s);
        default: return format("%lld Evals", g);
    }
}

void stepQualityValue(QualitySettings& q, int kind, bool second, int delta) {
    std::int32_t* value = second ? secondQualityValue(q, kind) : firstQualityValue(q, kind);
    if (!value) return;
    long long changed = static_cast<long long>(*value) + delta;
    if (changed < kMinQualityValue) changed = kMinQualityValue;
    if (changed > INT32_MAX) changed = INT32_MAX;
    *value = static_cast<std::int32_t>(changed);
}

void applyQualityPreset(QualitySettings& q, int kind, Preset preset) {
    int column = static_cast<int>(preset);
    for (const PresetRow& row : kPresets) {
        if (row.kind != kind) continue;
        *firstQualityValue(q, kind) = row.first[column];
        if (std::int32_t* second = secondQualityValue(q, kind)) *second = row.second[column];
    }
}

bool qualityDiffers(const QualitySettings& a, const QualitySettings& b, int plotKind) {
    switch (plotKind) {
        case 0: return a.plotSamples != b.plotSamples;
        case 1: return a.plot3dSamplesU != b.plot3dSamplesU || a.plot3dSamplesV != b.plot3dSamplesV;
        case 2: return a.tubeSides != b.tubeSides || a.tubeSamples != b.tubeSamples;
        case 3: return a.implicitGrid != b.implicitGrid;
        case 4: return a.spacecurveSamples != b.spacecurveSamples;
        case 5: return a.implicit3dGrid != b.implicit3dGrid;
        case 8:
            return a.vector2dGrid != b.vector2dGrid || a.vector2dStream != b.vector2dStream ||
                   a.vectorStreams != b.vectorStreams;
        case 9:
            return a.vector3dGrid != b.vector3dGrid || a.vector3dStream != b.vector3dStream ||
                   a.vectorStreams != b.vectorStreams;
        default: return false;
    }
}

}  // namespace vx
