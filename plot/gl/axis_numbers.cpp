#include "plot/gl/axis_numbers.h"

#include <QFontMetrics>
#include <QImage>
#include <QLineF>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>
#include <vector>

#include "plot/view_math.h"

namespace vx {

namespace {

constexpr double kGap = 3;          // pixels between a tick's end and its number
constexpr double kBoxTick = 5;      // length of a tick on the 3D box, pixels
constexpr int kClearingSteps = 16;  // tries of 2 pixels further out for a 3D label
// At most four numbers on a box edge, one per this many pixels along it
// where it runs across the screen or up it.
constexpr int kBoxTicks = 4;
constexpr double kRoomAcross = 36, kRoomUp = 12;
// Behind a number on the 3D box, so that it stays legible where arrows or
// a mesh reach past the box; 2D numbers go bare, as they must not hide a curve.
const QColor kBacking(255, 255, 255, 160);

bool crosses(const QLineF& line, const QRectF& box) {
    if (box.contains(line.p1()) || box.contains(line.p2())) return true;
    const QLineF sides[] = {{box.topLeft(), box.topRight()},
                            {box.topRight(), box.bottomRight()},
                            {box.bottomRight(), box.bottomLeft()},
                            {box.bottomLeft(), box.topLeft()}};
    for (const QLineF& side : sides)
        if (line.intersects(side, nullptr) == QLineF::BoundedIntersection) return true;
    return false;
}

// One number or box tick, painted on a small image of its own and laid
// over the picture: OpenGL's paint engine draws text and slanted lines a
// pixel off from the raster one, and the plot area must show what Export
// Image and --export-png write. Small images, as one the size of the plot
// area costs more to fill and upload than the picture takes to draw.
struct Stamp {
    QRect area;  // whole pixels
    QString text;
    QLineF tick;  // when there is no text
    QColor backing;
};

// Numbers are dropped rather than drawn over one another or over the lines
// they must keep clear of.
class LabelSheet {
public:
    LabelSheet(const QFont& font, QSize size) : metrics_(font), area_(QPoint(0, 0), size) {}

    QSizeF textSize(const QString& text) const { return metrics_.size(Qt::TextSingleLine, text); }
    void keepClearOf(std::vector<QLineF> lines) { lines_ = std::move(lines); }
    void backWith(QColor backing) { backing_ = backing; }

    // Keeps the text with its box centred on `centre` when it fits whole.
    bool place(const QString& text, QPointF centre) {
        QSize s = textSize(text).toSize();
        QRect box(QPoint(qRound(centre.x() - s.width() / 2.0), qRound(centre.y() - s.height() / 2.0)), s);
        if (!area_.contains(box)) return false;
        QRect padded = box.adjusted(-2, -1, 2, 1);
        for (const QRect& taken : taken_)
            if (taken.intersects(padded)) return false;
        for (const QLineF& line : lines_)
            if (crosses(line, box)) return false;
        taken_.push_back(padded);
        stamps_.push_back(Stamp{box.adjusted(-1, 0, 1, 0), text, {}, backing_});
        return true;
    }
    void tick(QLineF line) {
        QRectF bounds = QRectF(line.p1(), line.p2()).normalized().adjusted(-1.5, -1.5, 1.5, 1.5);
        stamps_.push_back(Stamp{bounds.toAlignedRect(), {}, line, Qt::transparent});
    }

    // How far from an anchor the centre of a text's box must lie, along the
    // unit direction `out`, for the box to stay `distance` pixels beyond it.
    double reach(const QString& text, QPointF out, double distance) const {
        QSizeF s = textSize(text);
        return distance + std::fabs(out.x()) * s.width() / 2 + std::fabs(out.y()) * s.height() / 2;
    }

    const std::vector<Stamp>& stamps() const { return stamps_; }

private:
    QFontMetrics metrics_;
    QRect area_;
    std::vector<QRect> taken_;
    std::vector<QLineF> lines_;
    QColor backing_ = Qt::transparent;
    std::vector<Stamp> stamps_;
};

void paintStamps(QPainter& painter, const std::vector<Stamp>& stamps, const QFont& font, qreal ratio) {
    for (const Stamp& stamp : stamps) {
        QImage image(stamp.area.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(stamp.backing.alpha() > 0 ? stamp.backing : QColor(Qt::transparent));
        {
            QPainter on(&image);
            on.setRenderHint(QPainter::Antialiasing, true);
            on.setRenderHint(QPainter::TextAntialiasing, true);
            on.setPen(QColor(0, 0, 0));
            on.setFont(font);
            on.translate(-stamp.area.topLeft());
            if (stamp.text.isEmpty())
                on.drawLine(stamp.tick);
            else
                on.drawText(stamp.area, Qt::AlignCenter, stamp.text);
        }
        painter.drawImage(stamp.area.topLeft(), image);
    }
}

QString label(double value, double step) { return QString::fromStdString(tickLabel(value, step)); }

void numbers2D(LabelSheet& sheet, const View2D& v, bool equalScale, QSize size) {
    double w = size.width(), h = size.height();
    double dx = double(v.xMax) - v.xMin, dy = double(v.yMax) - v.yMin;
    if (!(dx > 0) || !(dy > 0)) return;
    auto px = [&](double x) { return (x - v.xMin) / dx * w; };
    auto py = [&](double y) { return (v.yMax - y) / dy * h; };
    // Where the axes (or the window edge nearest to them) run, and how far
    // the ticks reach out from them: a hundredth of the window.
    double x0 = v.xMin > 0 ? v.xMin : v.xMax < 0 ? v.xMax : 0;
    double y0 = v.yMin > 0 ? v.yMin : v.yMax < 0 ? v.yMax : 0;
    double belowX = h / 100 + kGap, besideY = w / 100 + kGap;
    bool origin = x0 == 0 && y0 == 0;
    if (origin) {
        QSizeF s = sheet.textSize("0");
        sheet.place("0", QPointF(px(0) - besideY - s.width() / 2, py(0) + belowX + s.height() / 2));
    }
    TickSteps steps = axisTickSteps(v, equalScale);
    for (double x : tickValues(v.xMin, v.xMax, steps.x)) {
        if (origin && x == 0) continue;
        QString text = label(x, steps.x);
        double half = sheet.textSize(text).height() / 2;
        // Below the axis, or above it when it runs along the bottom edge.
        double y = py(y0) + belowX + half;
        if (y + half > h) y = py(y0) - belowX - half;
        sheet.place(text, QPointF(px(x), y));
    }
    for (double y : tickValues(v.yMin, v.yMax, steps.y)) {
        if (origin && y == 0) continue;
        QString text = label(y, steps.y);
        double half = sheet.textSize(text).width() / 2;
        // Left of the axis, or right of it when it runs along the left edge.
        double x = px(x0) - besideY - half;
        if (x - half < 0) x = px(x0) + besideY + half;
        sheet.place(text, QPointF(x, py(y)));
    }
}

using Point3 = std::array<float, 3>;

void numbers3D(LabelSheet& sheet, const PlotRecord& record, const DisplaySettings& display, QSize size) {
    const Box3D& b = record.box3D;
    const Point3 low{b.xMin, b.yMin, b.zMin}, high{b.xMax, b.yMax, b.zMax};
    CubeMapping cube = cubeMapping(b, display.constrainProportions != 0);
    Matrix4 projection = perspectiveMatrix(display.fov, aspectRatio(size.width(), size.height()), kNearPlane, kFarPlane);
    Matrix4 camera = modelViewMatrix(effectiveZoom(record, display), record.rotX, record.rotZ);
    auto project = [&](const Point3& p, QPointF& out) {
        double x = 0, y = 0;
        bool ok = projectToPixel(projection, camera, cube.map(p[0], p[1], p[2]), size.width(), size.height(), x, y);
        out = QPointF(x, y);
        return ok;
    };
    Point3 middle{};
    for (size_t a = 0; a < 3; ++a) middle[a] = (low[a] + high[a]) / 2;
    QPointF centre;
    if (!project(middle, centre)) return;

    // The box's twelve edges on screen: numbers keep clear of them.
    std::vector<QLineF> edges;
    for (int corner = 0; corner < 8; ++corner)
        for (int axis = 0; axis < 3; ++axis) {
            if (corner & (1 << axis)) continue;
            Point3 p, q;
            for (int a = 0; a < 3; ++a) p[size_t(a)] = (corner & (1 << a)) ? high[size_t(a)] : low[size_t(a)];
            q = p;
            q[size_t(axis)] = high[size_t(axis)];
            QPointF from, to;
            if (project(p, from) && project(q, to)) edges.emplace_back(from, to);
        }
    sheet.keepClearOf(edges);
    sheet.backWith(kBacking);

    // A text goes out from the anchor along `out`, further if a box edge is in the way.
    auto placeOut = [&](const QString& text, QPointF anchor, QPointF out, double distance) {
        for (int k = 0; k < kClearingSteps; ++k)
            if (sheet.place(text, anchor + out * sheet.reach(text, out, distance + 2 * k))) return;
    };

    for (size_t axis = 0; axis < 3; ++axis) {
        if (!(high[axis] > low[axis])) continue;
        size_t u = (axis + 1) % 3, v = (axis + 2) % 3;
        // Of the four box edges along this axis: x and y are numbered on the
        // lowest one on screen, z on the leftmost.
        Point3 best{};
        double bestScore = -INFINITY;
        for (int corner = 0; corner < 4; ++corner) {
            Point3 mid = middle;
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

        // As many numbers as the edge has room for on screen, up to four.
        Point3 lowEnd = best, highEnd = best;
        lowEnd[axis] = low[axis];
        highEnd[axis] = high[axis];
        QPointF from, to;
        if (!project(lowEnd, from) || !project(highEnd, to)) continue;
        QPointF along = to - from;
        double span = std::hypot(along.x(), along.y());
        double room = span > 0 ? std::fabs(along.x()) / span * kRoomAcross + std::fabs(along.y()) / span * kRoomUp : 1;
        int ticks = std::clamp(static_cast<int>(span / room), 1, kBoxTicks);
        double step = tickStep(double(high[axis]) - low[axis], ticks);
        double farthest = kBoxTick + kGap;
        for (double t : tickValues(low[axis], high[axis], step)) {
            Point3 p = best;
            p[axis] = static_cast<float>(t);
            QPointF at;
            if (!project(p, at)) continue;
            sheet.tick(QLineF(at, at + out * kBoxTick));
            QString text = label(t, step);
            placeOut(text, at, out, kBoxTick + kGap);
            farthest = std::max(farthest, kBoxTick + kGap + 2 * sheet.reach(text, out, 0));
        }
        // The axis name beyond its numbers.
        placeOut(QString(QChar("xyz"[axis])), edgeMiddle, out, farthest + kGap);
    }
}

}  // namespace

void drawAxisNumbers(QPainter& painter, const PlotRecord& record, const DisplaySettings& display, QSize size) {
    if (size.isEmpty()) return;
    if (isPlot2D(record.kind) ? !display.axes2D : !display.axes3D) return;
    QFont font = painter.font();
    font.setPixelSize(11);
    LabelSheet sheet(font, size);
    if (isPlot2D(record.kind)) {
        bool equalScale = display.constrainProportions != 0;
        numbers2D(sheet, shownView2D(record.view2D, size.width(), size.height(), equalScale), equalScale, size);
    } else {
        numbers3D(sheet, record, display, size);
    }
    paintStamps(painter, sheet.stamps(), font, painter.device() ? painter.device()->devicePixelRatioF() : 1.0);
}

}  // namespace vx
