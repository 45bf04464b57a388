#include "tests/gl/render_support.h"

#include <QDir>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <algorithm>
#include <memory>

namespace vx::test {

namespace {
std::unique_ptr<OffscreenPlotRenderer> shared;
}

OffscreenPlotRenderer& offscreen() {
    if (!shared) shared = std::make_unique<OffscreenPlotRenderer>();
    return *shared;
}

void releaseOffscreen() { shared.reset(); }

Scene::Scene(PlotRecord record) {
    ErrorText message;
    slot = registry.createPlot(message, "plot", std::move(record));
    registry.shownPlot.store(slot);
    registry.meshReady.store(1);
}

PlotRecord record2D(PlotKind kind, int graphs, View2D view) {
    PlotRecord r;
    r.kind = kind;
    r.exprCount = graphs;
    r.view2D = view;
    return r;
}

PlotRecord record3D(PlotKind kind, int graphs, Box3D box, float rotX, float rotZ) {
    PlotRecord r;
    r.kind = kind;
    r.exprCount = graphs;
    r.box3D = box;
    r.rotX = rotX;
    r.rotZ = rotZ;
    return r;
}

std::vector<PlotColour> graphPalette() {
    std::vector<PlotColour> p(64, rgb(64, 64, 64));
    const PlotColour first[] = {rgb(255, 0, 0), rgb(0, 0, 255), rgb(0, 128, 0), rgb(0, 0, 0), rgb(255, 128, 0)};
    std::copy(std::begin(first), std::end(first), p.begin());
    return p;
}

std::vector<PlotColour> vectorPalette() {
    std::vector<PlotColour> p(64, rgb(64, 64, 64));
    const PlotColour first[] = {rgb(0, 0, 0), rgb(255, 0, 0), rgb(0, 0, 255), rgb(0, 128, 0)};
    std::copy(std::begin(first), std::end(first), p.begin());
    return p;
}

void fillCurve(Scene& s, int S, float x0, float x1, const std::function<float(float)>& f) {
    MeshBuffers& m = s.mesh();
    m.gridU = S;
    m.gridW = 1;
    View2D bounds{1e9f, -1e9f, 1e9f, -1e9f};
    for (int k = 0; k < S; ++k) {
        float x = x0 + static_cast<float>(k) * (x1 - x0) / static_cast<float>(S - 1), y = f(x);
        m.vertices.insert(m.vertices.end(), {x, y});
        m.flags.push_back(1);
        bounds = View2D{std::min(bounds.xMin, x), std::max(bounds.xMax, x), std::min(bounds.yMin, y),
                        std::max(bounds.yMax, y)};
    }
    m.colors = graphPalette();
    s.record().view2D = bounds;
}

void fillSurface(Scene& s, int U, int W, const SurfacePoint& point) {
    MeshBuffers& m = s.mesh();
    m.gridU = U;
    m.gridW = W;
    using V = std::array<float, 3>;
    std::vector<V> p;
    for (int j = 0; j < W; ++j)
        for (int k = 0; k < U; ++k)
            p.push_back(point(static_cast<float>(k) / static_cast<float>(U - 1),
                              static_cast<float>(j) / static_cast<float>(W - 1)));
    auto sub = [](V a, V b) { return V{a[0] - b[0], a[1] - b[1], a[2] - b[2]}; };
    auto unit = [](V a) {
        float l = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
        return l > 0 ? V{a[0] / l, a[1] / l, a[2] / l} : a;
    };
    auto at = [&](int j, int k) { return p[static_cast<size_t>(j * U + k)]; };
    // Face normals at the quad's lower corner, then averaged per vertex.
    std::vector<V> face(p.size(), V{0, 0, 0});
    for (int j = 0; j + 1 < W; ++j)
        for (int k = 0; k + 1 < U; ++k) {
            V d1 = sub(at(j + 1, k + 1), at(j, k)), d2 = sub(at(j + 1, k), at(j, k + 1));
            face[static_cast<size_t>(j * U + k)] = unit(V{d1[1] * d2[2] - d1[2] * d2[1], d1[2] * d2[0] - d1[0] * d2[2],
                                                          d1[0] * d2[1] - d1[1] * d2[0]});
        }
    Box3D box{1e9f, -1e9f, 1e9f, -1e9f, 1e9f, -1e9f};
    for (const V& v : p)
        box = Box3D{std::min(box.xMin, v[0]), std::max(box.xMax, v[0]), std::min(box.yMin, v[1]),
                    std::max(box.yMax, v[1]), std::min(box.zMin, v[2]), std::max(box.zMax, v[2])};
    for (float* lo : {&box.xMin, &box.yMin, &box.zMin}) {
        float* hi = lo + 1;
        if (*lo == *hi) *hi += 1;
    }
    s.record().box3D = box;
    for (int j = 0; j < W; ++j)
        for (int k = 0; k < U; ++k) {
            V n{0, 0, 0};
            for (auto [dj, dk] : {std::pair{0, 0}, {0, -1}, {-1, 0}, {-1, -1}}) {
                int qj = j + dj, qk = k + dk;
                if (qj < 0 || qk < 0 || qj > W - 2 || qk > U - 2) continue;
                V f = face[static_cast<size_t>(qj * U + qk)];
                n = V{n[0] + f[0], n[1] + f[1], n[2] + f[2]};
            }
            n = unit(n);
            V v = at(j, k);
            m.vertices.insert(m.vertices.end(), v.begin(), v.end());
            m.normals.insert(m.normals.end(), n.begin(), n.end());
            m.flags.push_back(1);
            auto channel = [](float x, float lo, float hi) {
                return static_cast<std::uint8_t>(static_cast<int>((x - lo) * 128 / (hi - lo)) + 127);
            };
            m.colors.push_back(rgb(channel(v[0], box.xMin, box.xMax), channel(v[1], box.yMin, box.yMax),
                                   channel(v[2], box.zMin, box.zMax)));
        }
}

void paintMesh(Scene& s, PlotColour colour) { std::fill(s.mesh().colors.begin(), s.mesh().colors.end(), colour); }

Rgb pixel(const QImage& image, int x, int y) {
    QRgb c = image.pixel(x, y);
    return Rgb{qRed(c), qGreen(c), qBlue(c)};
}

bool isWhite(Rgb c, int tolerance) {
    return c.r >= 255 - tolerance && c.g >= 255 - tolerance && c.b >= 255 - tolerance;
}

bool near(Rgb c, Rgb e, int tolerance) {
    return std::abs(c.r - e.r) <= tolerance && std::abs(c.g - e.g) <= tolerance && std::abs(c.b - e.b) <= tolerance;
}

QPoint toPixel(const QImage& image, const View2D& view, float x, float y, bool equalScale) {
    View2D v = shownView2D(view, image.width(), image.height(), equalScale);
    float fx = (x - v.xMin) / (v.xMax - v.xMin) * static_cast<float>(image.width());
    float fy = (1 - (y - v.yMin) / (v.yMax - v.yMin)) * static_cast<float>(image.height());
    int px = std::clamp(static_cast<int>(fx), 0, image.width() - 1);
    int py = std::clamp(static_cast<int>(fy), 0, image.height() - 1);
    return QPoint(px, py);
}

int inkCount(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += !isWhite(pixel(image, x, y));
    return n;
}

QRect inkBounds(const QImage& image) {
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!isWhite(pixel(image, x, y))) r |= QRect(x, y, 1, 1);
    return r;
}

bool anyNear(const QImage& image, QPoint at, int radius, const std::function<bool(Rgb)>& test) {
    for (int y = at.y() - radius; y <= at.y() + radius; ++y)
        for (int x = at.x() - radius; x <= at.x() + radius; ++x)
            if (x >= 0 && y >= 0 && x < image.width() && y < image.height() && test(pixel(image, x, y))) return true;
    return false;
}

void keepScreenshot(const QImage& image, const char* name) {
    QByteArray dir = qgetenv("VX_SCREENSHOT_DIR");
    if (dir.isEmpty() || image.isNull()) return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    image.save(QString::fromLocal8Bit(dir) + "/" + name + ".png", "PNG");
}

QImage framebufferAsShown(QOpenGLWidget* widget) {
    widget->makeCurrent();
    QOpenGLFunctions* f = QOpenGLContext::currentContext()->functions();
    QSize size = widget->size() * widget->devicePixelRatio();
    QImage image(size, QImage::Format_RGBA8888);
    f->glBindFramebuffer(GL_FRAMEBUFFER, widget->defaultFramebufferObject());
    f->glReadPixels(0, 0, size.width(), size.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    widget->doneCurrent();
    return image.mirrored().convertToFormat(QImage::Format_RGB32);
}

}  // namespace vx::test
