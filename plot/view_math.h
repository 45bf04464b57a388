#pragma once
// The numbers behind the plot view: panning, zooming, the 3D camera, the
// mapping of a 3D box onto the unit cube and the colours the renderer
// hands to OpenGL. No OpenGL here, so all of it can be tested directly.
#include <array>

#include "plot/plot_record.h"
#include "plot/settings.h"

namespace vx {

// Zoom commands: 2D views shrink (0.8) or grow (1.25) about their centre;
// 3D plots step the zoom setting by +5 or -5.
enum class ZoomDirection { In, Out };
constexpr float kZoomInFactor = 0.8f;
constexpr float kZoomOutFactor = 1.25f;
constexpr int kZoomInStep = 5;
constexpr int kZoomOutStep = -5;

// Multiplies each half-width of the view by `factor`, keeping the centre.
void scaleView2D(View2D& view, float factor);
// The zoom setting moved by `step`, kept within 0..100.
int steppedZoom(int zoom, int step);

// A left-button drag of (dx, dy) pixels: a 2D view moves with the pointer,
// 100 pixels pan by one window width (or height).
void panView2D(View2D& view, int dx, int dy);
// A 3D plot turns by dy degrees about x and dx degrees about z.
void rotateView3D(float& rotX, float& rotZ, int dx, int dy);

// 3D camera.
constexpr double kNearPlane = 0.1;
constexpr double kFarPlane = 100.0;
// Distance along z: -5.0 at zoom 0 up to -0.8 at zoom 100.
double cameraOffsetZ(int zoom);
// Width over height of the plot area; a height of 0 counts as 1.
double aspectRatio(int width, int height);

// A 4x4 matrix in OpenGL's column-major order.
using Matrix4 = std::array<double, 16>;
// The perspective projection with a vertical field of view in degrees.
Matrix4 perspectiveMatrix(double fovDegrees, double aspect, double zNear, double zFar);

// Maps a plot's box onto the cube -0.5..0.5. With `constrain` the longest
// side fills the cube and the others keep their proportion to it.
struct CubeMapping {
    std::array<float, 3> low{};    // xMin, yMin, zMin of the box
    std::array<float, 3> scale{};  // per axis
    std::array<float, 3> half{};   // half size of the mapped box per axis

    std::array<float, 3> map(float x, float y, float z) const {
        return {(x - low[0]) * scale[0] - half[0], (y - low[1]) * scale[1] - half[1],
                (z - low[2]) * scale[2] - half[2]};
    }
};
CubeMapping cubeMapping(const Box3D& box, bool constrain);

struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};
constexpr bool operator==(Rgba x, Rgba y) { return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a; }

constexpr float kSurfaceGrey = 0.8f;
// A stored colour as it is drawn: each byte divided by 256.
Rgba plainColour(PlotColour c);
// A surface colour: the stored colour mixed with grey by `intensity`, or
// plain grey when the colour switch is off.
Rgba surfaceColour(PlotColour c, int intensity, bool colourOn);
// Alpha of the mesh lines: opacity / divisor (200 for 3D, 100 for the 2D
// canvas outlines), kept within 0..1.
float lineAlpha(int opacity, int divisor);

}  // namespace vx
