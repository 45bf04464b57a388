// Surfaces: plot3d and tubeplot quads, iso-surface polygons, and the passes
// they share with the 3D canvas (a filled pass pushed back by polygon
// offset, then a faint blended line pass), plus the box outline.
#include <cstddef>

#include "plot/gl/render_internal.h"

namespace vx::gl {

namespace {

void appendPoint(std::vector<float>& to, const std::array<float, 3>& p) { to.insert(to.end(), p.begin(), p.end()); }
void appendColour(std::vector<float>& to, Rgba c) { to.insert(to.end(), {c.r, c.g, c.b, c.a}); }
void appendNormal(std::vector<float>& to, const float* n) { to.insert(to.end(), n, n + 3); }

GLsizei vertexCount(const std::vector<float>& positions) { return static_cast<GLsizei>(positions.size() / 3); }

}  // namespace

void drawSurfacePasses(const DrawContext& c, GLenum fillPrimitive, GLenum outlinePrimitive, int outlineDivisor) {
    const DisplaySettings& d = c.display;
    const Scratch& s = c.scratch;
    bool lit = d.lighting != 0 && s.normals.size() == s.positions.size();
    if (!d.color3D) glColor4f(kSurfaceGrey, kSurfaceGrey, kSurfaceGrey, 1);
    if (d.solid) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        if (d.grid) {
            glPolygonOffset(1, 1);
            glEnable(GL_POLYGON_OFFSET_FILL);
        }
    } else {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glColor3f(0, 0, 0);
    }

    glEnableClientState(GL_VERTEX_ARRAY);
    if (d.solid && !s.positions.empty()) {
        glVertexPointer(3, GL_FLOAT, 0, s.positions.data());
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, 0, s.colours.data());
        if (lit) {
            glEnableClientState(GL_NORMAL_ARRAY);
            glNormalPointer(GL_FLOAT, 0, s.normals.data());
        }
        glDrawArrays(fillPrimitive, 0, vertexCount(s.positions));
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        // The lines are lit with the normal the filled pass ended on.
        if (lit) glNormal3fv(s.normals.data() + s.normals.size() - 3);
    }

    if (!d.solid || d.grid) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glColor4f(0, 0, 0, lineAlpha(d.opacity, outlineDivisor));
        // Quads are outlined by drawing them again in line mode; polygons
        // come as separate edge segments (a closed loop each).
        const std::vector<float>& outline = outlinePrimitive == GL_LINES ? s.lines : s.positions;
        if (!outline.empty()) {
            glVertexPointer(3, GL_FLOAT, 0, outline.data());
            glDrawArrays(outlinePrimitive, 0, vertexCount(outline));
        }
        glDisable(GL_BLEND);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_POLYGON_OFFSET_FILL);
}

void drawMesh(const DrawContext& c) {
    const MeshBuffers& m = c.mesh;
    const size_t U = static_cast<size_t>(m.gridU), W = static_cast<size_t>(m.gridW);
    const size_t graphs = static_cast<size_t>(c.record.exprCount);
    const size_t total = graphs * U * W;
    if (U < 2 || W < 2 || m.vertices.size() < total * 3 || m.normals.size() < total * 3 || m.flags.size() < total ||
        m.colors.size() < total)
        return;
    const DisplaySettings& d = c.display;
    Scratch& s = c.scratch;
    s.clear();
    bool lit = d.lighting != 0;
    bool flat = d.lighting == 1;
    for (size_t g = 0; g < graphs; ++g) {
        for (size_t j = 0; j + 1 < W; ++j) {
            for (size_t k = 0; k + 1 < U; ++k) {
                size_t base = g * U * W;
                const size_t corners[4] = {base + j * U + k, base + j * U + k + 1, base + (j + 1) * U + k + 1,
                                           base + (j + 1) * U + k};
                if (!(m.flags[corners[0]] && m.flags[corners[1]] && m.flags[corners[2]] && m.flags[corners[3]]))
                    continue;
                for (size_t v : corners) {
                    const float* p = &m.vertices[v * 3];
                    appendPoint(s.positions, c.cube.map(p[0], p[1], p[2]));
                    appendColour(s.colours, surfaceColour(m.colors[v], d.intensity, d.color3D != 0));
                    // Flat lighting gives the quad the normal of its first corner.
                    if (lit) appendNormal(s.normals, &m.normals[(flat ? corners[0] : v) * 3]);
                }
            }
        }
    }
    drawSurfacePasses(c, GL_QUADS, GL_QUADS, 200);
    if (d.axes3D) drawBoxOutline(c.cube);
}

void drawIsoSurface(const DrawContext& c) {
    const MeshBuffers& m = c.mesh;
    const size_t count = static_cast<size_t>(m.aux.vertexCount > 0 ? m.aux.vertexCount : 0);
    if (m.vertices.size() < count * 3 || m.normals.size() < count * 3 || m.colors.size() < count) return;
    const DisplaySettings& d = c.display;
    Scratch& s = c.scratch;
    s.clear();
    bool lit = d.lighting != 0;
    bool flat = d.lighting == 1;
    for (const MeshPolygon& poly : m.aux.polygons) {
        const std::vector<std::int32_t>& idx = poly.indices;
        bool usable = idx.size() >= 3;
        for (std::int32_t i : idx) usable = usable && i >= 0 && static_cast<size_t>(i) < count;
        if (!usable) continue;
        auto at = [&](size_t n) {
            const float* p = &m.vertices[static_cast<size_t>(idx[n]) * 3];
            return c.cube.map(p[0], p[1], p[2]);
        };
        // A fan of triangles from the first vertex.
        for (size_t t = 1; t + 1 < idx.size(); ++t) {
            for (size_t n : {size_t{0}, t, t + 1}) {
                size_t v = static_cast<size_t>(idx[n]);
                appendPoint(s.positions, at(n));
                appendColour(s.colours, surfaceColour(m.colors[v], d.intensity, d.color3D != 0));
                if (lit) appendNormal(s.normals, flat ? poly.normal.data() : &m.normals[v * 3]);
            }
        }
        for (size_t n = 0; n < idx.size(); ++n) {
            appendPoint(s.lines, at(n));
            appendPoint(s.lines, at((n + 1) % idx.size()));
        }
    }
    drawSurfacePasses(c, GL_TRIANGLES, GL_LINES, 200);
    if (d.axes3D) drawBoxOutline(c.cube);
}

void drawBoxOutline(const CubeMapping& cube) {
    const float ex = cube.half[0], ey = cube.half[1], ez = cube.half[2];
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glColor3f(0, 0, 0);
    glBegin(GL_QUADS);
    for (float y : {ey, -ey}) {
        glVertex3f(-ex, y, -ez);
        glVertex3f(ex, y, -ez);
        glVertex3f(ex, y, ez);
        glVertex3f(-ex, y, ez);
    }
    for (float x : {-ex, ex}) {
        glVertex3f(x, -ey, -ez);
        glVertex3f(x, ey, -ez);
        glVertex3f(x, ey, ez);
        glVertex3f(x, -ey, ez);
    }
    glEnd();
}

}  // namespace vx::gl
