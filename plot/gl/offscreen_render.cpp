#include "plot/gl/offscreen_render.h"

#include <chrono>

#include "plot/gl/axis_numbers.h"
#include "plot/plot_registry.h"

namespace vx {

QSurfaceFormat plotSurfaceFormat() {
    QSurfaceFormat f;
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setVersion(2, 1);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    f.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    f.setRedBufferSize(5);
    f.setGreenBufferSize(5);
    f.setBlueBufferSize(5);
    f.setDepthBufferSize(24);
    return f;
}

void installPlotSurfaceFormat() { QSurfaceFormat::setDefaultFormat(plotSurfaceFormat()); }

namespace {

QOpenGLFramebufferObjectFormat framebufferFormat() {
    QOpenGLFramebufferObjectFormat f;
    f.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
    return f;
}

}  // namespace

bool probePlotOpenGL(const QSurfaceFormat& format) {
    QOpenGLContext context;
    context.setFormat(format);
    if (!context.create() || context.isOpenGLES()) return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) return false;
    bool drew = false;
    {
        QOpenGLFramebufferObject fbo(4, 4, framebufferFormat());
        if (fbo.isValid() && fbo.bind()) {
            glViewport(0, 0, 4, 4);
            glClearColor(1, 1, 1, 1);
            glClear(GL_COLOR_BUFFER_BIT);
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            glColor3f(0, 0, 0);
            glBegin(GL_QUADS);
            glVertex2f(-1, -1);
            glVertex2f(1, -1);
            glVertex2f(1, 1);
            glVertex2f(-1, 1);
            glEnd();
            GLubyte pixel[4] = {255, 255, 255, 255};
            glReadPixels(2, 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
            drew = glGetError() == GL_NO_ERROR && pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
            fbo.release();
        }
    }
    context.doneCurrent();
    return drew;
}

OffscreenPlotRenderer::OffscreenPlotRenderer() : context_(std::make_unique<QOpenGLContext>()) {
    context_->setFormat(plotSurfaceFormat());
    if (!context_->create()) {
        error_ = QStringLiteral("could not create an OpenGL context");
        return;
    }
    surface_.setFormat(context_->format());
    surface_.create();
    if (!surface_.isValid() || !context_->makeCurrent(&surface_)) {
        error_ = QStringLiteral("could not make the OpenGL context current");
        return;
    }
    renderer_.initialize();
    auto text = [](GLenum name) {
        const GLubyte* s = glGetString(name);
        return s ? QString::fromLatin1(reinterpret_cast<const char*>(s)) : QString();
    };
    implementation_ = text(GL_RENDERER) + QStringLiteral(", OpenGL ") + text(GL_VERSION);
    context_->doneCurrent();
}

OffscreenPlotRenderer::~OffscreenPlotRenderer() {
    // The framebuffer must go while its context is current.
    if (framebuffer_ && context_->makeCurrent(&surface_)) {
        framebuffer_.reset();
        context_->doneCurrent();
    }
}

bool OffscreenPlotRenderer::prepare(QSize size) {
    if (!ok() || !context_->makeCurrent(&surface_)) return false;
    if (!framebuffer_ || framebuffer_->size() != size) {
        framebuffer_ = std::make_unique<QOpenGLFramebufferObject>(size, framebufferFormat());
        if (!framebuffer_->isValid()) {
            error_ = QStringLiteral("could not create a framebuffer");
            return false;
        }
    }
    framebuffer_->bind();
    renderer_.resize(size.width(), size.height());
    return true;
}

QImage OffscreenPlotRenderer::render(PlotRegistry& registry, QSize size, bool numbers) {
    if (!prepare(size)) return {};
    bool drew = renderer_.paint(registry);
    QImage image = drew ? framebuffer_->toImage().convertToFormat(QImage::Format_RGB32) : QImage();
    framebuffer_->release();
    context_->doneCurrent();
    const PlotRecord* shown = PlotRenderer::shownRecord(registry);
    if (numbers && shown && !image.isNull()) {
        QPainter painter(&image);
        drawAxisNumbers(painter, *shown, registry.display, size);
    }
    return image;
}

double OffscreenPlotRenderer::secondsPerFrame(PlotRegistry& registry, QSize size, int frames) {
    if (frames < 1 || !prepare(size)) return 0;
    renderer_.paint(registry);  // warm-up: array sizes, driver state
    glFinish();
    auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < frames; ++k) renderer_.paint(registry);
    glFinish();
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    framebuffer_->release();
    context_->doneCurrent();
    return elapsed.count() / frames;
}

}  // namespace vx
