#include "plot/gl/axis_numbers.h"

#include <QFontMetrics>
#include <cmath>
#include <vector>

#include "plot/view_math.h"

namespace vx {

namespace {

constexpr int kGap = 4;  // pixels between a tick and its number

// Labels are dropped rather than drawn over one another.
class LabelSheet {
public:
    LabelSheet(QPainter& painter, QSize size) : painter_(painter), metrics_(painter.font()), area_(QPoint(0, 0), size) {}

    QSize textSize(const QString& text) const { return metrics_.size(Qt::TextSingleLine, text); }

    // Draws the text with its box's top-left at `at` when it fits whole.
    bool place(const QString& text, QPointF at) {
        QRectF box(at, textSize(text));
        if (!QRectF(area_).contains(box)) return false;
        QRectF padded = box.adjusted(-2, -1, 2, 1);
        for (const QRectF& taken : taken_)
            if (taken.intersects(padded)) return false;
        taken_.push_back(padded);
        painter_.drawText(box, Qt::AlignCenter, text);
        return true;
    }

private:
    QPainter& painter_;
    QFontMetrics metrics_;
    QRect area_;
    std::vector<QRectF> taken_;
};

QString label(double value, double step) { return QString::fromStdString(tickLabel(value, step)); }

void numbers2D(LabelSheet& sheet, const View2D& v, QSize size) {
    double w = size.width(), h = size.height();
    double dx = double(v.xMax) - v.xMin, dy = double(v.yMax) - v.yMin;
    if (!(dx > 0) || !(dy > 0)) return;
    auto px = [&](double x) { return (x - v.xMin) / dx * w; };
    auto py = [&](double y) { return (v.yMax - y) / dy * h; };
    // Where the axes (or the window edge nearest to them) run.
    double x0 = v.xMin > 0 ? v.xMin : v.xMax < 0 ? v.xMax : 0;
    double y0 = v.yMin > 0 ? v.yMin : v.yMax < 0 ? v.yMax : 0;
    bool origin = x0 == 0 && y0 == 0;
    if (origin) {
        QSize s = sheet.textSize("0");
        sheet.place("0", QPointF(px(0) - kGap - s.width(), py(0) + kGap));
    }
    double stepX = axisTickStep(v.xMin, v.xMax), stepY = axisTickStep(v.yMin, v.yMax);
    for (double x : tickValues(v.xMin, v.xMax, stepX)) {
        if (origin && x == 0) continue;
        QString text = label(x, stepX);
        QSize s = sheet.textSize(text);
        // Below the axis, or above it when it runs along the bottom edge.
        double top = py(y0) + kGap;
        if (top + s.height() > h) top = py(y0) - kGap - s.height();
        sheet.place(text, QPointF(px(x) - s.width() / 2.0, top));
    }
    for (double y : tickValues(v.yMin, v.yMax, stepY)) {
        if (origin && y == 0) continue;
        QString text = label(y, stepY);
        QSize s = sheet.textSize(text);
        // Left of the axis, or right of it when it runs along the left edge.
        double left = px(x0) - kGap - s.width();
        if (left < 0) left = px(x0) + kGap;
        sheet.place(text, QPointF(left, py(y) - s.height() / 2.0));
    }
}

void numbers3D(LabelSheet& sheet, const PlotRecord& record, const DisplaySettings& display, QSize size) {
    const Box3D& b = record.box3D;
    const std::array<float, 3> low{b.xMin, b.yMin, b.zMin}, high{b.xMax, b.yMax, b.zMax};
    CubeMapping cube = cubeMapping(b, display.constrainProportions != 0);
    Matrix4 projection = perspectiveMatrix(display.fov, aspectRatio(size.width(), size.height()), kNearPlane, kFarPlane);
    Matrix4 camera = modelViewMatrix(effectiveZoom(record, display), record.rotX, record.rotZ);
    auto project = [&](std::array<float, 3> p, QPointF& out) {
        double x = 0, y = 0;
        bool ok = projectToPixel(projection, camera, cube.map(p[0], p[1], p[2]), size.width(), size.height(), x, y);
        out = QPointF(x, y);
        return ok;
    };
    QPointF centre;
    std::array<float, 3> middle{};
    for (size_t a = 0; a < 3; ++a) middle[a] = (low[a] + high[a]) / 2;
    if (!project(middle, centre)) return;

    for (size_t axis = 0; axis < 3; ++axis) {
        if (!(high[axis] > low[axis])) continue;
        size_t u = (axis + 1) % 3, v = (axis + 2) % 3;
        // Of the four box edges along this axis: x and y are numbered on the
        // lowest one on screen, z on the leftmost.
        std::array<float, 3> best{};
        double bestScore = -INFINITY;
        for (int corner = 0; corner < 4; ++corner) {
            std::array<float, 3> mid = middle;
            mid[u] = (corner & 1) ? high[u] : low[u];
            mid[v] = (corner & 2) ? high[v] : low[v];
            QPointF at;
            if (!project(mid, at)) continue;
            double score = axis == 2 ? -at.x() : at.y();
            if (score > bestScore) {
                bestScore = score;
                best = mid;
            }
        }
        if (bestScore == -INFINITY) continue;
        QPointF edgeMiddle;
        project(best, edgeMiddle);
        QPointF out = edgeMiddle - centre;
        double length = std::hypot(out.x(), out.y());
        out = length > 0 ? out / length : QPointF(0, 1);

        double step = tickStep(double(high[axis]) - low[axis], 4);
        for (double t : tickValues(low[axis], high[axis], step)) {
            std::array<float, 3> p = best;
            p[axis] = static_cast<float>(t);
            QPointF at;
            if (!project(p, at)) continue;
            QString text = label(t, step);
            QSize s = sheet.textSize(text);
            QPointF c = at + out * (kGap + 0.5 * std::max(s.width(), s.height()));
            sheet.place(text, c - QPointF(s.width() / 2.0, s.height() / 2.0));
        }
        QString name = QString(QChar("xyz"[axis]));
        QSize s = sheet.textSize(name);
        QPointF c = edgeMiddle + out * (kGap + 2.5 * s.height());
        sheet.place(name, c - QPointF(s.width() / 2.0, s.height() / 2.0));
    }
}

}  // namespace

void drawAxisNumbers(QPainter& painter, const PlotRecord& record, const DisplaySettings& display, QSize size) {
    if (size.isEmpty()) return;
    bool flat = isPlot2D(record.kind);
    if (flat ? !display.axes2D : !display.axes3D) return;
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 0));
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    LabelSheet sheet(painter, size);
    if (flat)
        numbers2D(sheet, shownView2D(record.view2D, size.width(), size.height(), display.constrainProportions != 0),
                  size);
    else
        numbers3D(sheet, record, display, size);
    painter.restore();
}

}  // namespace vx
