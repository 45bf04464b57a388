#include "plot/view_math.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vx {

void scaleView2D(View2D& view, float factor) {
    float cx = (view.xMin + view.xMax) / 2, cy = (view.yMin + view.yMax) / 2;
    float hx = (view.xMax - view.xMin) / 2 * factor, hy = (view.yMax - view.yMin) / 2 * factor;
    view = View2D{cx - hx, cx + hx, cy - hy, cy + hy};
}

int steppedZoom(int zoom, int step) { return std::clamp(zoom + step, 0, 100); }

View2D shownView2D(const View2D& view, int width, int height, bool equalScale) {
    if (!equalScale || width <= 0 || height <= 0) return view;
    double dx = std::fabs(double(view.xMax) - view.xMin), dy = std::fabs(double(view.yMax) - view.yMin);
    if (!(dx > 0) || !(dy > 0) || !std::isfinite(dx) || !std::isfinite(dy)) return view;
    // Units per pixel along each axis; the larger one wins on both.
    double perPixel = std::max(dx / width, dy / height);
    double growX = perPixel * width / dx, growY = perPixel * height / dy;
    auto grow = [](float& lo, float& hi, double factor) {
        double centre = (double(lo) + hi) / 2, half = (double(hi) - lo) / 2 * factor;
        lo = static_cast<float>(centre - half);
        hi = static_cast<float>(centre + half);
    };
    View2D shown = view;
    if (growX > 1) grow(shown.xMin, shown.xMax, growX);
    if (growY > 1) grow(shown.yMin, shown.yMax, growY);
    return shown;
}

void panView2D(View2D& view, const View2D& shown, int dx, int dy, int width, int height) {
    if (width <= 0 || height <= 0) return;
    // The shown window moves by whole pixels' worth of units, so does the view.
    float shiftX = (shown.xMax - shown.xMin) * static_cast<float>(dx) / static_cast<float>(width);
    float shiftY = (shown.yMax - shown.yMin) * static_cast<float>(dy) / static_cast<float>(height);
    view.xMin -= shiftX;
    view.xMax -= shiftX;
    view.yMin += shiftY;
    view.yMax += shiftY;
}

void rotateView3D(float& rotX, float& rotZ, int dx, int dy) {
    rotX += static_cast<float>(dy);
    rotZ += static_cast<float>(dx);
}

int effectiveZoom(const PlotRecord& record, const DisplaySettings& display) {
    return record.zoom >= 0 ? record.zoom : display.zoom;
}

double tickStep(double extent, int maxTicks) {
    if (!(extent > 0) || !std::isfinite(extent) || maxTicks < 1) return 0;
    double least = extent / maxTicks;
    double power = std::pow(10.0, std::floor(std::log10(least)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= least * (1 - 1e-9)) return m * power;
    return 10 * power;
}

TickSteps axisTickSteps(const View2D& shown, bool equalScale) {
    TickSteps steps{axisTickStep(shown.xMin, shown.xMax), axisTickStep(shown.yMin, shown.yMax)};
    if (equalScale) steps.x = steps.y = std::max(steps.x, steps.y);
    return steps;
}

std::vector<double> tickValues(double low, double high, double step) {
    std::vector<double> ticks;
    if (!(step > 0) || !(high >= low)) return ticks;
    double first = std::ceil(low / step - 1e-9);
    // The cap guards against a step too small to move a far-off position.
    for (int i = 0; i < 64; ++i) {
        double t = (first + i) * step;
        if (t > high + step * 1e-9) break;
        ticks.push_back(std::fabs(t) < step * 1e-9 ? 0.0 : t);
    }
    return ticks;
}

std::string tickLabel(double value, double step) {
    char text[64];
    double magnitude = std::max(std::fabs(value), step);
    if (step >= 1e-4 && magnitude < 1e7) {
        int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
    } else {
        // Far from 1: as many significant digits as tell neighbours apart.
        int digits = std::clamp(static_cast<int>(std::ceil(std::log10(magnitude / step))) + 1, 1, 15);
        std::snprintf(text, sizeof text, "%.*g", digits, value);
    }
    std::string label = text;
    if (label.find_first_not_of("-0.") == std::string::npos && label.starts_with('-')) label.erase(0, 1);
    return label;
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

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 m{};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            for (int k = 0; k < 4; ++k) m[size_t(c * 4 + r)] += a[size_t(k * 4 + r)] * b[size_t(c * 4 + k)];
    return m;
}

namespace {

Matrix4 identity() {
    Matrix4 m{};
    m[0] = m[5] = m[10] = m[15] = 1;
    return m;
}

// glRotate about a coordinate axis (0 x, 2 z).
Matrix4 rotation(double degrees, int axis) {
    double a = degrees * M_PI / 180, c = std::cos(a), s = std::sin(a);
    Matrix4 m = identity();
    int i = axis == 0 ? 1 : 0, j = axis == 0 ? 2 : 1;  // the plane turned
    m[size_t(i * 4 + i)] = c;
    m[size_t(j * 4 + j)] = c;
    m[size_t(i * 4 + j)] = s;
    m[size_t(j * 4 + i)] = -s;
    return m;
}

}  // namespace

Matrix4 cameraMatrix(int zoom) {
    Matrix4 m = identity();
    m[14] = cameraOffsetZ(zoom);
    return m;
}

Matrix4 modelViewMatrix(int zoom, float rotX, float rotZ) {
    return multiply(multiply(cameraMatrix(zoom), rotation(rotX, 0)), rotation(rotZ, 2));
}

bool projectToPixel(const Matrix4& projection, const Matrix4& modelView, const std::array<float, 3>& p, int width,
                    int height, double& x, double& y) {
    Matrix4 m = multiply(projection, modelView);
    double clip[4];
    for (int r = 0; r < 4; ++r)
        clip[r] = m[size_t(r)] * p[0] + m[size_t(4 + r)] * p[1] + m[size_t(8 + r)] * p[2] + m[size_t(12 + r)];
    if (!(clip[3] > 0)) return false;
    x = (clip[0] / clip[3] + 1) / 2 * width;
    y = (1 - clip[1] / clip[3]) / 2 * height;
    return true;
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
