#pragma once
// The two blocks of integer settings that steer plots. Field order is the
// order of the options file, so it must not change.
#include <cstdint>

namespace vx {

// How a computed plot is drawn.
struct DisplaySettings {
    std::int32_t antiAlias = 1;
    std::int32_t axes2D = 1;
    std::int32_t color2D = 1;
    std::int32_t grid = 1;
    std::int32_t lighting = 2;  // 0 none, 1 flat, 2 smooth
    std::int32_t axes3D = 0;
    std::int32_t zoom = 72;  // 0..100
    std::int32_t fov = 45;   // degrees
    std::int32_t color3D = 1;
    std::int32_t solid = 1;
    std::int32_t constrainProportions = 1;
    std::int32_t opacity = 15;    // 0..100
    std::int32_t intensity = 85;  // 0..100
    std::int32_t vectorHeads = 1;
    std::int32_t reserved = 0;
    std::int32_t vectorColor = 1;
};
static_assert(sizeof(DisplaySettings) == 64);

// How many samples or grid points each plot kind computes.
struct QualitySettings {
    std::int32_t implicitGrid = 50;
    std::int32_t plotSamples = 160;
    std::int32_t plot3dSamplesU = 38;
    std::int32_t plot3dSamplesV = 38;
    std::int32_t tubeSides = 26;
    std::int32_t tubeSamples = 160;
    std::int32_t spacecurveSamples = 160;
    std::int32_t implicit3dGrid = 24;
    std::int32_t vector2dGrid = 16;
    std::int32_t vector3dGrid = 10;
    std::int32_t vector2dStream = 8;
    std::int32_t vector3dStream = 5;
    std::int32_t vectorStreams = 0;
};
static_assert(sizeof(QualitySettings) == 52);

}  // namespace vx
