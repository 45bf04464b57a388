#pragma once
// OpenGL contexts for plots outside the plot area widget: the surface
// format every plot context uses, a probe that the fixed-function pipeline
// really draws, and rendering the shown plot into an image (image export
// from the terminal, rendering tests, frame timing).
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSize>
#include <QString>
#include <QSurfaceFormat>
#include <memory>

#include "plot/gl/plot_renderer.h"

namespace vx {

// OpenGL 2.1 compatibility profile (a core profile draws nothing with the
// fixed-function calls), double buffered, at least 16 colour and 16 depth bits.
QSurfaceFormat plotSurfaceFormat();
// Makes it the application's default; call before the QApplication exists.
void installPlotSurfaceFormat();

// Creates a context with the format and checks that a fixed-function quad
// actually lands in a framebuffer. False when any step fails.
bool probePlotOpenGL(const QSurfaceFormat& format = plotSurfaceFormat());

// A private context with an offscreen framebuffer. Needs a QGuiApplication
// on a platform with OpenGL (under X, a display; xvfb-run will do).
class OffscreenPlotRenderer {
public:
    OffscreenPlotRenderer();
    ~OffscreenPlotRenderer();
    OffscreenPlotRenderer(const OffscreenPlotRenderer&) = delete;
    OffscreenPlotRenderer& operator=(const OffscreenPlotRenderer&) = delete;

    bool ok() const { return error_.isEmpty(); }
    QString error() const { return error_; }
    // The OpenGL implementation drawing (GL_RENDERER and GL_VERSION).
    QString implementation() const { return implementation_; }

    // One paint of the plot area of this size (the shown plot, or white when
    // no mesh is ready), with the axis numbers the plot area shows unless
    // `numbers` is false. A null image when the context failed or a worker runs.
    QImage render(PlotRegistry& registry, QSize size, bool numbers = true);
    // Seconds per paint, averaged over `frames` paints of the shown plot.
    double secondsPerFrame(PlotRegistry& registry, QSize size, int frames);

private:
    bool prepare(QSize size);

    std::unique_ptr<QOpenGLContext> context_;
    QOffscreenSurface surface_;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer_;
    PlotRenderer renderer_;
    QString error_;
    QString implementation_;
};

}  // namespace vx
