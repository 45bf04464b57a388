#pragma once
// The settings sheet without its dialog: the labels of the Display page's
// sliders and the Quality page's kinds, values, steps, presets, evaluation
// counts and the rule that decides whether Apply recomputes the plot.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "plot/settings.h"

namespace vx {

// "%i%%" for the percentage sliders, "%i" and a degree sign for FOV.
std::string percentLabel(int value);
std::string fovLabel(int value);

struct SliderRange {
    int minimum, maximum, lineStep, pageStep;
};
constexpr SliderRange kPercentSlider{0, 100, 5, 20};
constexpr SliderRange kFovSlider{15, 100, 5, 20};

// The kinds a Quality page can select, in the order of their buttons.
struct QualityKind {
    int kind;
    std::string_view radioText;
    std::string_view title;
    std::string_view firstLabel;
    std::string_view secondLabel;  // empty: the kind has one value
};
std::span<const QualityKind> qualityKinds();
const QualityKind& qualityKindInfo(int kind);  // kind 0's entry for unknown kinds

// Plot kinds 6 and 7 (drawing canvases) have no quality values: kind 0.
int qualityPageKind(int plotKind);

// The kind's first and second values; the second is nullptr for one-value kinds.
std::int32_t* firstQualityValue(QualitySettings& q, int kind);
std::int32_t* secondQualityValue(QualitySettings& q, int kind);

// "%i Evals", "%i*%i = %i Evals", ... with the counts of the kind.
std::string evaluationCountLabel(const QualitySettings& q, int kind);
constexpr std::string_view kCountLabelTemplate = "15*15*15*6 = 20250 Evals";

// A step button: the value changes by delta and never falls below 3.
constexpr int kMinQualityValue = 3;
void stepQualityValue(QualitySettings& q, int kind, bool second, int delta);

enum class Preset { Low, Med, High };
void applyQualityPreset(QualitySettings& q, int kind, Preset preset);

// Whether the values that the plot kind reads differ. Canvas kinds (6, 7)
// and "no plot" (-1) never differ.
bool qualityDiffers(const QualitySettings& a, const QualitySettings& b, int plotKind);

}  // namespace vx
