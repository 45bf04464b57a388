// The settings sheet's rules: labels, steps with their floor, presets,
// evaluation counts and the Apply comparison.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "shell/settings_model.h"

namespace vx {
namespace {

TEST(SettingsModel, SliderLabels) {
    EXPECT_EQ(percentLabel(0), "0%");
    EXPECT_EQ(percentLabel(85), "85%");
    EXPECT_EQ(fovLabel(15), "15\u00B0");
    EXPECT_EQ(fovLabel(100), "100\u00B0");
}

TEST(SettingsModel, StepsNeverGoBelowThree) {
    struct Case {
        int kind;
        bool second;
        int start, delta, want;
    } cases[] = {
        {0, false, 8, -10, 3},  {0, false, 8, -1, 7},   {0, false, 8, 10, 18},  {1, true, 4, -1, 3},
        {2, true, 3, -10, 3},   {9, true, 5, 1, 6},     {5, false, 3, -1, 3},   {8, false, 2000000000, 2000000000, INT32_MAX},
    };
    for (const Case& c : cases) {
        QualitySettings q;
        std::int32_t* v = c.second ? secondQualityValue(q, c.kind) : firstQualityValue(q, c.kind);
        ASSERT_NE(v, nullptr);
        *v = c.start;
        stepQualityValue(q, c.kind, c.second, c.delta);
        EXPECT_EQ(*v, c.want) << c.kind << " " << c.start << "+" << c.delta;
    }
    QualitySettings q;
    stepQualityValue(q, 3, true, 5);  // kind 3 has no second value
    EXPECT_EQ(q.implicitGrid, 50);
}

TEST(SettingsModel, PresetsChangeOnlyTheSelectedKind) {
    QualitySettings q;
    applyQualityPreset(q, 9, Preset::High);
    EXPECT_EQ(q.vector3dGrid, 12);
    EXPECT_EQ(q.vector3dStream, 6);
    QualitySettings defaults;
    QualitySettings rest = q;
    rest.vector3dGrid = defaults.vector3dGrid;
    rest.vector3dStream = defaults.vector3dStream;
    EXPECT_EQ(std::memcmp(&rest, &defaults, sizeof rest), 0);

    struct Case {
        int kind;
        Preset preset;
        int first, second;
    } cases[] = {
        {0, Preset::Low, 80, 0},   {1, Preset::Low, 25, 25},  {2, Preset::High, 300, 40}, {3, Preset::Med, 50, 0},
        {4, Preset::High, 300, 0}, {5, Preset::Low, 12, 0},   {8, Preset::Low, 12, 5},    {9, Preset::Med, 10, 5},
    };
    for (const Case& c : cases) {
        QualitySettings s;
        applyQualityPreset(s, c.kind, c.preset);
        EXPECT_EQ(*firstQualityValue(s, c.kind), c.first) << c.kind;
        if (std::int32_t* second = secondQualityValue(s, c.kind)) {
            EXPECT_EQ(*second, c.second) << c.kind;
        }
    }
    // Med is the defaults.
    QualitySettings med;
    for (const QualityKind& k : qualityKinds()) applyQualityPreset(med, k.kind, Preset::Med);
    EXPECT_EQ(std::memcmp(&med, &defaults, sizeof med), 0);
}

TEST(SettingsModel, EvaluationCounts) {
    QualitySettings q;
    struct Case {
        int kind;
        int streams;
        const char* label;
    } cases[] = {
        {0, 0, "160 Evals"},
        {1, 0, "38*38 = 1444 Evals"},
        {2, 0, "160 Evals"},
        {3, 0, "50*50 = 2500 Evals"},
        {4, 0, "160 Evals"},
        {5, 0, "24*24*24 = 13824 Evals"},
        {8, 0, "16*16 = 256 Evals"},
        {8, 1, "16*16*8 = 2048 Evals"},
        {9, 0, "10*10*10 = 1000 Evals"},
        {9, 1, "10*10*10*5 = 5000 Evals"},
    };
    for (const Case& c : cases) {
        q.vectorStreams = c.streams;
        EXPECT_EQ(evaluationCountLabel(q, c.kind), c.label);
    }
    q.implicit3dGrid = 2000;
    EXPECT_EQ(evaluationCountLabel(q, 5), "2000*2000*2000 = 8000000000 Evals");
}

TEST(SettingsModel, ApplyComparesTheShownKindsValues) {
    QualitySettings live;
    struct Case {
        void (*change)(QualitySettings&);
        std::vector<int> differingKinds;
    } cases[] = {
        {[](QualitySettings& q) { q.plotSamples = 80; }, {0}},
        {[](QualitySettings& q) { q.plot3dSamplesV = 3; }, {1}},
        {[](QualitySettings& q) { q.tubeSides = 3; }, {2}},
        {[](QualitySettings& q) { q.implicitGrid = 3; }, {3}},
        {[](QualitySettings& q) { q.spacecurveSamples = 3; }, {4}},
        {[](QualitySettings& q) { q.implicit3dGrid = 3; }, {5}},
        {[](QualitySettings& q) { q.vector2dStream = 3; }, {8}},
        {[](QualitySettings& q) { q.vector3dGrid = 3; }, {9}},
        {[](QualitySettings& q) { q.vectorStreams = 1; }, {8, 9}},
    };
    for (const Case& c : cases) {
        QualitySettings copy = live;
        c.change(copy);
        for (int kind : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}) {
            bool want = std::find(c.differingKinds.begin(), c.differingKinds.end(), kind) != c.differingKinds.end();
            EXPECT_EQ(qualityDiffers(copy, live, kind), want) << "kind " << kind;
        }
    }
}

TEST(SettingsModel, KindsAndTheirLabels) {
    std::string radios, titles;
    for (const QualityKind& k : qualityKinds()) radios += std::string(k.radioText) + "|";
    EXPECT_EQ(radios, "2D Parametric|3D Parametric|Tubeplot|2D Implicit|Spacecurve|3D Implicit|2D Vector|3D Vector|");
    EXPECT_EQ(qualityKindInfo(2).title, "Tubeplot");
    EXPECT_EQ(qualityKindInfo(2).firstLabel, "Var:");
    EXPECT_EQ(qualityKindInfo(2).secondLabel, "Tube:");
    EXPECT_EQ(qualityKindInfo(1).secondLabel, "Var 2:");
    EXPECT_EQ(qualityKindInfo(5).secondLabel, "");
    EXPECT_EQ(qualityPageKind(6), 0);
    EXPECT_EQ(qualityPageKind(7), 0);
    EXPECT_EQ(qualityPageKind(9), 9);
}

}  // namespace
}  // namespace vx
