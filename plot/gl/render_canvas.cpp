// Drawing canvases: pixels, lines and polygons appended by the drawing
// built-ins, in 2D over the canvas window and in 3D in the unit cube.
#include <cstddef>

#include "plot/gl/render_internal.h"

namespace vx::gl {

namespace {

Rgba elementColour(PlotColour colour, bool colourOn) {
    return colourOn ? plainColour(colour) : Rgba{0, 0, 0, 1};
}

}  // namespace

void drawCanvas2D(const DrawContext& c) {
    const Canvas2D& canvas = c.record.custom2D;
    const DisplaySettings& d = c.display;
    beginAntiAlias(d);
    glBegin(GL_POINTS);
    for (const CanvasPixel2D& p : canvas.pixels) {
        setColour(elementColour(p.colour, d.color2D != 0));
        glVertex2f(p.x, p.y);
    }
    glEnd();
    glBegin(GL_LINES);
    for (const CanvasLine2D& l : canvas.lines) {
        setColour(elementColour(l.colour, d.color2D != 0));
        glVertex2f(l.x1, l.y1);
        glVertex2f(l.x2, l.y2);
    }
    glEnd();

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (d.solid) {
        for (const CanvasPolygon2D& poly : canvas.polygons) {
            setColour(surfaceColour(poly.colour, d.intensity, d.color2D != 0));
            glBegin(GL_TRIANGLE_FAN);
            for (const auto& p : poly.points) glVertex2f(p[0], p[1]);
            glEnd();
        }
    }
    if (!d.solid || d.grid) {
        // 2D outlines divide the opacity by 100 (the 3D line passes by 200).
        glColor4f(0, 0, 0, lineAlpha(d.opacity, 100));
        for (const CanvasPolygon2D& poly : canvas.polygons) {
            glBegin(GL_LINE_LOOP);
            for (const auto& p : poly.points) glVertex2f(p[0], p[1]);
            glEnd();
        }
    }
    endAntiAlias();
    if (d.axes2D) drawAxes2D(c.view, c.display);
}

void drawCanvas3D(const DrawContext& c) {
    const Canvas3D& canvas = c.record.custom3D;
    const DisplaySettings& d = c.display;
    if (canvas.polygons.empty()) glDisable(GL_DEPTH_TEST);

    // Pixels and lines are never lit.
    glDisable(GL_LIGHTING);
    glBegin(GL_POINTS);
    for (const CanvasPixel3D& p : canvas.pixels) {
        setColour(elementColour(p.colour, d.color3D != 0));
        emitVertex(c.cube.map(p.x, p.y, p.z));
    }
    glEnd();
    glBegin(GL_LINES);
    for (const CanvasLine3D& l : canvas.lines) {
        setColour(elementColour(l.colour, d.color3D != 0));
        emitVertex(c.cube.map(l.x1, l.y1, l.z1));
        emitVertex(c.cube.map(l.x2, l.y2, l.z2));
    }
    glEnd();
    if (d.lighting != 0) glEnable(GL_LIGHTING);

    Scratch& s = c.scratch;
    s.clear();
    bool lit = d.lighting != 0;
    for (const CanvasPolygon3D& poly : canvas.polygons) {
        const auto& pts = poly.points;
        if (pts.size() < 3) continue;
        Rgba colour = surfaceColour(poly.colour, d.intensity, d.color3D != 0);
        // A fan of triangles from the first vertex, lit by the face normal.
        for (size_t t = 1; t + 1 < pts.size(); ++t) {
            for (size_t n : {size_t{0}, t, t + 1}) {
                auto p = c.cube.map(pts[n][0], pts[n][1], pts[n][2]);
                s.positions.insert(s.positions.end(), p.begin(), p.end());
                s.colours.insert(s.colours.end(), {colour.r, colour.g, colour.b, colour.a});
                if (lit) s.normals.insert(s.normals.end(), poly.normal.begin(), poly.normal.end());
            }
        }
        for (size_t n = 0; n < pts.size(); ++n) {
            const auto& a = pts[n];
            const auto& b = pts[(n + 1) % pts.size()];
            auto pa = c.cube.map(a[0], a[1], a[2]);
            auto pb = c.cube.map(b[0], b[1], b[2]);
            s.lines.insert(s.lines.end(), pa.begin(), pa.end());
            s.lines.insert(s.lines.end(), pb.begin(), pb.end());
        }
    }
    drawSurfacePasses(c, GL_TRIANGLES, GL_LINES, 200);
    if (d.axes3D) drawBoxOutline(c.cube);
}

}  // namespace vx::gl
