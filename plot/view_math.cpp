#include "plot/view_math.h"

#include <algorithm>
#include <cmath>

namespace vx {

void scaleView2D(View2D& view, float factor) {
    float cx = (view.xMin + view.xMax) / 2, cy = (view.yMin + view.yMax) / 2;
    float hx = (view.xMax - view.xMin) / 2 * factor, hy = (view.yMax - view.yMin) / 2 * factor;
    view = View2D{cx - hx, cx + hx, cy - hy, cy + hy};
}

int steppedZoom(int zoom, int step) { return std::clamp(zoom + step, 0, 100); }

void panView2D(View2D& view, int dx, int dy) {
    // Both ends move by the same amount, taken from the width before moving.
    float shiftX = 0.1f * (view.xMax - view.xMin) * static_cast<float>(dx) / 10;
    float shiftY = 0.1f * (view.yMax - view.yMin) * static_cast<float>(dy) / 10;
    view.xMin -= shiftX;
    view.xMax -= shiftX;
    view.yMin += shiftY;
    view.yMax += shiftY;
}

void rotateView3D(float& rotX, float& rotZ, int dx, int dy) {
    rotX += static_cast<float>(dy);
    rotZ += static_cast<float>(dx);
}

double cameraOffsetZ(int zoom) { return zoom * 4.2 / 100 - 5.0; }

double aspectRatio(int width, int height) { return static_cast<double>(width) / (height == 0 ? 1 : height); }

Matrix4 perspectiveMatrix(double fovDegrees, double aspect, double zNear, double zFar) {
    // The matrix of gluPerspective.
    double f = 1.0 / std::tan(fovDegrees * M_PI / 360.0);
    Matrix4 m{};
    m[0] = aspect != 0 ? f / aspect : 0;
    m[5] = f;
    m[10] = (zFar + zNear) / (zNear - zFar);
    m[11] = -1;
    m[14] = 2 * zFar * zNear / (zNear - zFar);
    return m;
}

CubeMapping cubeMapping(const Box3D& box, bool constrain) {
    const std::array<float, 3> low{box.xMin, box.yMin, box.zMin};
    const std::array<float, 3> extent{box.xMax - box.xMin, box.yMax - box.yMin, box.zMax - box.zMin};
    CubeMapping m;
    m.low = low;
    for (size_t a = 0; a < 3; ++a) {
        // A flat axis (never produced by the generators) collapses to the centre.
        bool usable = extent[a] != 0 && std::isfinite(extent[a]);
        m.scale[a] = usable ? 1 / extent[a] : 0;
        m.half[a] = usable ? 0.5f : 0;
    }
    if (!constrain) return m;
    // Sizes compare by magnitude, so that a box given with a reversed range
    // (a mirrored axis) keeps its proportions too.
    float dx = std::fabs(extent[0]), dy = std::fabs(extent[1]), dz = std::fabs(extent[2]);
    size_t longest = (dx >= dy && dx >= dz) ? 0 : (dy >= dx && dy >= dz) ? 1 : 2;
    float length = std::fabs(extent[longest]);
    if (!(length > 0) || !std::isfinite(length)) return m;
    for (size_t a = 0; a < 3; ++a) {
        if (a == longest) continue;
        float ratio = std::fabs(extent[a]) / length;
        m.scale[a] *= ratio;
        m.half[a] = m.half[a] != 0 ? 0.5f * ratio : 0;
    }
    return m;
}

Rgba plainColour(PlotColour c) { return Rgba{c.red / 256.0f, c.green / 256.0f, c.blue / 256.0f, 1}; }

Rgba surfaceColour(PlotColour c, int intensity, bool colourOn) {
    if (!colourOn) return Rgba{kSurfaceGrey, kSurfaceGrey, kSurfaceGrey, 1};
    float i = std::clamp(intensity / 100.0f, 0.0f, 1.0f);
    float grey = (1 - i) * kSurfaceGrey;
    return Rgba{grey + c.red * i / 256, grey + c.green * i / 256, grey + c.blue * i / 256, 1};
}

float lineAlpha(int opacity, int divisor) {
    return std::clamp(static_cast<float>(opacity) / static_cast<float>(divisor), 0.0f, 1.0f);
}

}  // namespace vx
