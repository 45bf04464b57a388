#include "plot/gl/plot_renderer.h"

#include "plot/plot_registry.h"

namespace vx {

void PlotRenderer::initialize() {
    glShadeModel(GL_SMOOTH);
    glClearColor(1, 1, 1, 1);
    glClearDepth(1);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

void PlotRenderer::resize(int width, int height) {
    if (height == 0) height = 1;
    width_ = width;
    height_ = height;
    glViewport(0, 0, width, height);
}

void PlotRenderer::clearWhite() {
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

bool PlotRenderer::canPaint(const PlotRegistry& registry) {
    return !registry.meshReady.load() || !registry.engine() || !registry.engine()->working.load();
}

const PlotRecord* PlotRenderer::shownRecord(PlotRegistry& registry) {
    return registry.meshReady.load() ? registry.record(registry.shownPlot.load()) : nullptr;
}

bool PlotRenderer::paint(PlotRegistry& registry) {
    if (!registry.meshReady.load()) {
        clearWhite();
        return true;
    }
    return renderPlot(registry, registry.shownPlot.load());
}

namespace {

bool uses3DCamera(PlotKind kind) { return !isPlot2D(kind); }

// The plot owns every switch it needs; a frame starts from a known state
// whatever the previous kind left behind (an outline leaves line mode on).
void resetFrameState() {
    // A painter's native-painting hand-over leaves its own depth test behind.
    glDepthFunc(GL_LEQUAL);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_BLEND);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glNormal3f(0, 0, 1);
    glColor4f(0, 0, 0, 1);
}

void setUpLighting() {
    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1}, diffuse[] = {0.8f, 0.8f, 0.8f, 1},
                  specular[] = {0.5f, 0.5f, 0.5f, 1}, position[] = {2, 0, 2, 1};
    glEnable(GL_LIGHT0);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    // Set while the model view holds only the camera distance: the light
    // stays with the viewer while the plot turns.
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    const GLfloat matAmbient[] = {0.3f, 0.3f, 0.3f, 1}, matDiffuse[] = {0.9f, 0.5f, 0.5f, 1},
                  matSpecular[] = {0.6f, 0.6f, 0.6f, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, matAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, matDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, matSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 60);
    glEnable(GL_LIGHTING);
}

}  // namespace

void PlotRenderer::setUpCamera3D(const PlotRecord& record, const DisplaySettings& display) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    Matrix4 projection = perspectiveMatrix(display.fov, aspectRatio(width_, height_), kNearPlane, kFarPlane);
    glMultMatrixd(projection.data());
    glMatrixMode(GL_MODELVIEW);
    int zoom = effectiveZoom(record, display);
    glLoadMatrixd(cameraMatrix(zoom).data());
    glDisable(GL_TEXTURE_2D);
    bool lineKind = record.kind == PlotKind::Spacecurve || record.kind == PlotKind::Vectorplot3d;
    if (lineKind)
        glDisable(GL_DEPTH_TEST);
    else
        glEnable(GL_DEPTH_TEST);
    if (display.lighting != 0 && !lineKind) {
        setUpLighting();
    } else {
        glDisable(GL_LIGHTING);
        glDisable(GL_COLOR_MATERIAL);
    }
    glShadeModel(GL_SMOOTH);
    // The same matrix places the axis numbers over the picture.
    glLoadMatrixd(modelViewMatrix(zoom, record.rotX, record.rotZ).data());
}

View2D PlotRenderer::shownView(const PlotRecord& record, const DisplaySettings& display) const {
    return shownView2D(record.view2D, width_, height_, display.constrainProportions != 0);
}

void PlotRenderer::setUpCamera2D(const View2D& view) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(view.xMin, view.xMax, view.yMin, view.yMax, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
}

bool PlotRenderer::renderPlot(PlotRegistry& registry, int slot) {
    if (registry.engine() && registry.engine()->working.load()) return false;
    const PlotRecord* record = registry.record(slot);
    if (!record) {
        clearWhite();
        return true;
    }
    const DisplaySettings& display = registry.display;
    resetFrameState();
    if (uses3DCamera(record->kind))
        setUpCamera3D(*record, display);
    else
        setUpCamera2D(shownView(*record, display));
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    // The picture is opaque: blended passes must not lower the stored alpha,
    // or a composited or grabbed image comes out washed out.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);

    gl::DrawContext c{*record, registry.mesh, display,
                      cubeMapping(record->box3D, display.constrainProportions != 0), scratch_,
                      shownView(*record, display)};
    switch (record->kind) {
        case PlotKind::Plot: gl::drawPolylines(c); break;
        case PlotKind::Plot3d:
        case PlotKind::Tubeplot: gl::drawMesh(c); break;
        case PlotKind::Implicitplot: gl::drawContours(c); break;
        case PlotKind::Spacecurve: gl::drawSpaceCurves(c); break;
        case PlotKind::Implicitplot3d: gl::drawIsoSurface(c); break;
        case PlotKind::Customplot: gl::drawCanvas2D(c); break;
        case PlotKind::Customplot3d: gl::drawCanvas3D(c); break;
        case PlotKind::Vectorplot: gl::drawVectors2D(c); break;
        case PlotKind::Vectorplot3d: gl::drawVectors3D(c); break;
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    resetFrameState();
    return true;
}

}  // namespace vx
