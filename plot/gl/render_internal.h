#pragma once
// Shared pieces of the per-kind drawing code. Everything here runs with the
// plot area's OpenGL context current, on the window thread.
#include <GL/gl.h>

#include <vector>

#include "plot/mesh_buffers.h"
#include "plot/plot_record.h"
#include "plot/settings.h"
#include "plot/view_math.h"

namespace vx::gl {

// Vertex arrays reused from frame to frame, so that large meshes cost no
// allocation per paint.
struct Scratch {
    std::vector<float> positions;  // 3 per vertex
    std::vector<float> colours;    // 4 per vertex
    std::vector<float> normals;    // 3 per vertex
    std::vector<float> lines;      // 3 per vertex, GL_LINES pairs
    void clear() {
        positions.clear();
        colours.clear();
        normals.clear();
        lines.clear();
    }
};

struct DrawContext {
    const PlotRecord& record;
    const MeshBuffers& mesh;
    const DisplaySettings& display;
    CubeMapping cube;  // 3D kinds only
    Scratch& scratch;
    View2D view;  // 2D kinds: the window shown (equal scale applied)
};

inline void setColour(Rgba c) { glColor4f(c.r, c.g, c.b, c.a); }
inline void emitVertex(const std::array<float, 3>& p) { glVertex3f(p[0], p[1], p[2]); }

// Line smoothing with blending for the line-drawing kinds (when `antiAlias`).
void beginAntiAlias(const DisplaySettings& display);
void endAntiAlias();

// The rule of each kind.
void drawPolylines(const DrawContext& c);    // plot
void drawContours(const DrawContext& c);     // implicitplot
void drawAxes2D(const View2D& view, const DisplaySettings& display);
void drawSpaceCurves(const DrawContext& c);  // spacecurve
void drawVectors2D(const DrawContext& c);    // vectorplot
void drawVectors3D(const DrawContext& c);    // vectorplot3d
void drawMesh(const DrawContext& c);         // plot3d, tubeplot
void drawIsoSurface(const DrawContext& c);   // implicitplot3d
void drawBoxOutline(const CubeMapping& cube);
void drawCanvas2D(const DrawContext& c);     // customplot
void drawCanvas3D(const DrawContext& c);     // customplot3d

// Surface passes shared by the mesh kinds and the 3D canvas. The scratch
// arrays hold the filled primitives (positions, colours, and normals when
// lit) and the outline segments.
void drawSurfacePasses(const DrawContext& c, GLenum fillPrimitive, GLenum outlinePrimitive, int outlineDivisor);

}  // namespace vx::gl
