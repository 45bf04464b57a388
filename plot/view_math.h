#pragma once
// The numbers behind the plot view: panning, zooming, the 3D camera, the
// mapping of a 3D box onto the unit cube and the colours the renderer
// hands to OpenGL. No OpenGL here, so all of it can be tested directly.
#include <array>
#include <string>
#include <vector>

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

// The window a 2D plot shows in a plot area of width x height pixels. With
// `equalScale` the shorter side grows about the centre until a unit is as
// long across as up (a circle stays round); the plot's own view is kept.
View2D shownView2D(const View2D& view, int width, int height, bool equalScale);
// A left-button drag of (dx, dy) pixels over a plot area of width x height
// pixels that shows `shown`: the point under the pointer stays under it.
void panView2D(View2D& view, const View2D& shown, int dx, int dy, int width, int height);
// A 3D plot turns by dy degrees about x and dx degrees about z.
void rotateView3D(float& rotX, float& rotZ, int dx, int dy);
// Rotation of a new 3D plot, which Reset View returns to.
constexpr float kHomeRotX = 305;
constexpr float kHomeRotZ = 45;
// A 3D plot's zoom: its own once zoomed, else the display setting.
int effectiveZoom(const PlotRecord& record, const DisplaySettings& display);

// Axis ticks: a round step (1, 2 or 5 times a power of ten) no smaller
// than extent / maxTicks, and the multiples of it inside [low, high].
double tickStep(double extent, int maxTicks);
std::vector<double> tickValues(double low, double high, double step);
// A tick's label: as many decimals as the step needs, no "-0".
std::string tickLabel(double value, double step);
// The 2D axes' ticks: at most 12 per window side, on round values. At
// equal scale both axes take the larger step, so ticks sit as far apart
// across as up and a unit square looks square.
constexpr int kAxisTicks = 12;
inline double axisTickStep(float low, float high) { return tickStep(double(high) - low, kAxisTicks); }
struct TickSteps {
    double x = 0, y = 0;
};
TickSteps axisTickSteps(const View2D& shown, bool equalScale);

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
// The camera: moved back by the zoom; then the plot turned by rotX about x
// and rotZ about z (the model view the renderer loads).
Matrix4 cameraMatrix(int zoom);
Matrix4 modelViewMatrix(int zoom, float rotX, float rotZ);
Matrix4 multiply(const Matrix4& a, const Matrix4& b);
// Where a point of the unit cube lands in a plot area of width x height
// pixels (y down), or false when it is behind the camera.
bool projectToPixel(const Matrix4& projection, const Matrix4& modelView, const std::array<float, 3>& p, int width,
                    int height, double& x, double& y);

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
