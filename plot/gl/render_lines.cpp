// Line kinds: 2D graphs, contours, the 2D axes, space curves and vector fields.
#include <cmath>
#include <cstddef>

#include "plot/draw_geometry.h"
#include "plot/gl/render_internal.h"

namespace vx::gl {

void beginAntiAlias(const DisplaySettings& display) {
    if (!display.antiAlias) return;
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
}

void endAntiAlias() {
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);
}

namespace {

// The colour of graph g from a 64-entry palette, or black.
Rgba graphColour(const MeshBuffers& m, size_t g, bool colourOn) {
    if (!colourOn || g >= m.colors.size()) return Rgba{0, 0, 0, 1};
    return plainColour(m.colors[g]);
}

}  // namespace

void drawPolylines(const DrawContext& c) {
    const MeshBuffers& m = c.mesh;
    const size_t S = static_cast<size_t>(m.gridU), graphs = static_cast<size_t>(c.record.exprCount);
    beginAntiAlias(c.display);
    if (S > 0 && m.vertices.size() >= graphs * S * 2 && m.flags.size() >= graphs * S) {
        for (size_t g = 0; g < graphs; ++g) {
            setColour(graphColour(m, g, c.display.color2D && c.display.color3D));
            std::span<const std::int32_t> flags(m.flags.data() + g * S, S);
            for (IndexRange r : polylineStrips(flags)) {
                glBegin(GL_LINE_STRIP);
                for (int k = r.first; k <= r.last; ++k) {
                    const float* p = &m.vertices[(g * S + static_cast<size_t>(k)) * 2];
                    glVertex2f(p[0], p[1]);
                }
                glEnd();
            }
        }
    }
    endAntiAlias();
    if (c.display.axes2D) drawAxes2D(c.view, c.display);
}

void drawContours(const DrawContext& c) {
    const MeshBuffers& m = c.mesh;
    const size_t G = static_cast<size_t>(m.gridU), graphs = static_cast<size_t>(c.record.exprCount);
    beginAntiAlias(c.display);
    if (G >= 2 && m.vertices.size() >= graphs * G * G * 3) {
        std::vector<Segment2> segments;
        for (size_t g = 0; g < graphs; ++g) {
            setColour(graphColour(m, g, c.display.color2D != 0));
            segments.clear();
            contourSegments(std::span<const float>(m.vertices.data() + g * G * G * 3, G * G * 3),
                            static_cast<int>(G), segments);
            glBegin(GL_LINES);
            for (const Segment2& s : segments) {
                glVertex2f(s.a.x, s.a.y);
                glVertex2f(s.b.x, s.b.y);
            }
            glEnd();
        }
    }
    endAntiAlias();
    if (c.display.axes2D) drawAxes2D(c.view, c.display);
}

void drawAxes2D(const View2D& view, const DisplaySettings& display) {
    glColor3f(0, 0, 0);
    for (const Segment2& s : axesSegments(view, display.constrainProportions != 0)) {
        glBegin(GL_LINES);
        glVertex2f(s.a.x, s.a.y);
        glVertex2f(s.b.x, s.b.y);
        glEnd();
    }
}

void drawSpaceCurves(const DrawContext& c) {
    const MeshBuffers& m = c.mesh;
    const size_t S = static_cast<size_t>(m.gridU), graphs = static_cast<size_t>(c.record.exprCount);
    beginAntiAlias(c.display);
    glColor3f(0, 0, 0);
    if (S > 0 && m.vertices.size() >= graphs * S * 3 && m.flags.size() >= graphs * S &&
        m.colors.size() >= graphs * S) {
        for (size_t g = 0; g < graphs; ++g) {
            std::span<const std::int32_t> flags(m.flags.data() + g * S, S);
            for (IndexRange r : curveStrips(flags)) {
                glBegin(GL_LINE_STRIP);
                for (int k = r.first; k <= r.last; ++k) {
                    size_t i = g * S + static_cast<size_t>(k);
                    if (c.display.color3D) setColour(plainColour(m.colors[i]));
                    const float* p = &m.vertices[i * 3];
                    emitVertex(c.cube.map(p[0], p[1], p[2]));
                }
                glEnd();
            }
        }
    }
    endAntiAlias();
    if (c.display.axes3D) drawBoxOutline(c.cube);
}

void drawVectors2D(const DrawContext& c) {
    const MeshBuffers& m = c.mesh;
    const size_t G = static_cast<size_t>(m.gridU), graphs = static_cast<size_t>(c.record.exprCount);
    const size_t S = static_cast<size_t>(m.streamLength);
    const View2D& v = c.record.view2D;
    beginAntiAlias(c.display);
    for (size_t g = 0; G > 0 && g < graphs; ++g) {
        setColour(graphColour(m, g, c.display.vectorColor != 0));
        if (S > 0) {
            if (m.vertices.size() < graphs * G * G * S * 2) break;
            for (size_t s = 0; s < G * G; ++s) {
                glBegin(GL_LINE_STRIP);
                for (size_t k = 0; k < S; ++k) {
                    const float* p = &m.vertices[((g * G * G + s) * S + k) * 2];
                    glVertex2f(p[0], p[1]);
                }
                glEnd();
            }
            continue;
        }
        if (m.vertices.size() < graphs * G * G * 4) break;
        float cellX = (v.xMax - v.xMin) / static_cast<float>(G), cellY = (v.yMax - v.yMin) / static_cast<float>(G);
        for (size_t s = 0; s < G * G; ++s) {
            const float* e = &m.vertices[(g * G * G + s) * 4];
            Arrow2 a = arrow2D({e[0], e[1]}, {e[2], e[3]}, cellX, cellY);
            glBegin(GL_LINES);
            glVertex2f(a.base.x, a.base.y);
            glVertex2f(a.tip.x, a.tip.y);
            glEnd();
            if (c.display.vectorHeads) {
                glBegin(GL_TRIANGLES);
                for (Point2 p : a.head) glVertex2f(p.x, p.y);
                glEnd();
            }
        }
    }
    endAntiAlias();
    if (c.display.axes2D) drawAxes2D(c.view, c.display);
}

namespace {

using Vec3 = std::array<float, 3>;
Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
float length(const Vec3& a) { return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]); }

// Two crossed triangles ahead of the tip, sized like the 2D head, so the
// head shows from every side. Worked out in the unit cube.
void arrowHead3D(const Vec3& tip, const Vec3& w) {
    float len = length(w);
    if (!(len > 0)) return;
    // Any axis not along w gives a perpendicular; take the one w leans on least.
    size_t least = 0;
    for (size_t a = 1; a < 3; ++a)
        if (std::fabs(w[a]) < std::fabs(w[least])) least = a;
    Vec3 axis{};
    axis[least] = 1;
    Vec3 u = cross(w, axis);
    float ul = length(u);
    for (float& x : u) x *= len / ul;
    Vec3 v = cross(w, u);
    for (float& x : v) x /= len;
    Vec3 point{tip[0] + 0.2f * w[0], tip[1] + 0.2f * w[1], tip[2] + 0.2f * w[2]};
    glBegin(GL_TRIANGLES);
    for (const Vec3& side : {u, v}) {
        emitVertex(point);
        emitVertex({tip[0] + 0.1f * side[0], tip[1] + 0.1f * side[1], tip[2] + 0.1f * side[2]});
        emitVertex({tip[0] - 0.1f * side[0], tip[1] - 0.1f * side[1], tip[2] - 0.1f * side[2]});
    }
    glEnd();
}

}  // namespace

void drawVectors3D(const DrawContext& c) {
    const MeshBuffers& m = c.mesh;
    const size_t G = static_cast<size_t>(m.gridU), graphs = static_cast<size_t>(c.record.exprCount);
    const size_t S = static_cast<size_t>(m.streamLength), points = G * G * G;
    const Box3D& box = c.record.box3D;
    beginAntiAlias(c.display);
    for (size_t g = 0; G > 0 && g < graphs; ++g) {
        setColour(graphColour(m, g, c.display.vectorColor != 0));
        if (S > 0) {
            if (m.vertices.size() < graphs * points * S * 3) break;
            for (size_t s = 0; s < points; ++s) {
                glBegin(GL_LINE_STRIP);
                for (size_t k = 0; k < S; ++k) {
                    const float* p = &m.vertices[((g * points + s) * S + k) * 3];
                    emitVertex(c.cube.map(p[0], p[1], p[2]));
                }
                glEnd();
            }
            continue;
        }
        if (m.vertices.size() < graphs * points * 6) break;
        const float n = static_cast<float>(G);
        const Vec3 cell{(box.xMax - box.xMin) / n, (box.yMax - box.yMin) / n, (box.zMax - box.zMin) / n};
        for (size_t s = 0; s < points; ++s) {
            const float* e = &m.vertices[(g * points + s) * 6];
            Vec3 base = c.cube.map(e[0], e[1], e[2]);
            Vec3 tip = c.cube.map(e[0] + e[3] * cell[0], e[1] + e[4] * cell[1], e[2] + e[5] * cell[2]);
            glBegin(GL_LINES);
            emitVertex(base);
            emitVertex(tip);
            glEnd();
            if (c.display.vectorHeads) arrowHead3D(tip, {tip[0] - base[0], tip[1] - base[1], tip[2] - base[2]});
        }
    }
    endAntiAlias();
    if (c.display.axes3D) drawBoxOutline(c.cube);
}

}  // namespace vx::gl
