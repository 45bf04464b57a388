#include "plot/gl/plot_renderer.h"
#include "plot/plot_registry.h"
#include "plot/plot_view.h"
#include "shell/qt/plot_gl_widget.h"

#include <QMessageBox>
#include <QPainter>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWheelEvent>

#include "plot/gl/axis_numbers.h"
#include "plot/gl/offscreen_render.h"

namespace vx {

PlotGLWidget::PlotGLWidget(PlotRegistry& registry, QWidget* parent)
    : QOpenGLWidget(parent), registry_(registry), renderer_(std::make_unique<PlotRenderer>()) {
    setFormat(plotSurfaceFormat());
    // A paint refused while a worker runs must leave the last picture.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    resize(PlotRenderer::kInitialWidth, PlotRenderer::kInitialHeight);
}

PlotGLWidget::~PlotGLWidget() = default;

bool PlotGLWidget::initOpenGL(QWidget* parent) {
    if (probePlotOpenGL()) return true;
    reportOpenGLFailure(parent);
    return false;
}

void PlotGLWidget::reportOpenGLFailure(QWidget* parent) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Error"), QStringLiteral("Could not initialize OpenGL window!"),
                    QMessageBox::Ok, parent);
    box.exec();
}

void PlotGLWidget::initializeGL() {
    QOpenGLContext* gl = context();
    QSurfaceFormat f = gl ? gl->format() : QSurfaceFormat();
    bool core = f.profile() == QSurfaceFormat::CoreProfile && f.version() >= qMakePair(3, 2);
    failed_ = !gl || !gl->isValid() || gl->isOpenGLES() || core;
    if (failed_) {
        Q_EMIT openGLFailure();
        return;
    }
    renderer_->initialize();
}

void PlotGLWidget::resizeGL(int width, int height) {
    if (failed_) return;
    qreal ratio = devicePixelRatioF();
    renderer_->resize(static_cast<int>(width * ratio), static_cast<int>(height * ratio));
    resized_ = true;
}

void PlotGLWidget::paintGL() {
    if (failed_) return;
    if (!renderer_->canPaint(registry_)) {
        if (resized_) PlotRenderer::clearWhite();  // a new framebuffer has nothing to keep
        return;
    }
    // The numbers go over the picture with a painter; the OpenGL calls run
    // as its native painting, so each side finds the state it expects.
    QPainter painter(this);
    painter.beginNativePainting();
    renderer_->paint(registry_);
    painter.endNativePainting();
    resized_ = false;
    if (const PlotRecord* shown = renderer_->shownRecord(registry_))
        drawAxisNumbers(painter, *shown, registry_.display, size());
}

void PlotGLWidget::repaintPlot() { QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection); }

void PlotGLWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) last_ = event->position().toPoint();
    QOpenGLWidget::mousePressEvent(event);
}

void PlotGLWidget::mouseMoveEvent(QMouseEvent* event) {
    QPoint at = event->position().toPoint();
    if (event->buttons() == Qt::LeftButton && registry_.meshReady.load() && at.y() >= 0 && at.y() < height()) {
        if (dragShownPlot(registry_, at.x() - last_.x(), at.y() - last_.y(), width(), height())) update();
        last_ = at;
    }
    QOpenGLWidget::mouseMoveEvent(event);
}

void PlotGLWidget::wheelEvent(QWheelEvent* event) {
    // One notch (120) is one Zoom In (away from the user) or Zoom Out.
    wheelAngle_ += event->angleDelta().y();
    while (wheelAngle_ >= 120) {
        zoom(ZoomDirection::In);
        wheelAngle_ -= 120;
    }
    while (wheelAngle_ <= -120) {
        zoom(ZoomDirection::Out);
        wheelAngle_ += 120;
    }
    event->accept();
}

void PlotGLWidget::zoom(ZoomDirection direction) {
    if (zoomShownPlot(registry_, direction)) update();
}

void PlotGLWidget::resetView() {
    if (resetShownView(registry_)) update();
}

bool PlotGLWidget::exportImage(const QString& path) {
    if (failed_) return false;
    QImage image = grabFramebuffer();
    return !image.isNull() && image.convertToFormat(QImage::Format_RGB32).save(path, "PNG");
}

std::function<QWidget*(QWidget* parent, PlotRegistry& registry, Engine& engine)> plotGLAreaFactory() {
    return [](QWidget* parent, PlotRegistry& registry, Engine&) -> QWidget* {
        if (!probePlotOpenGL()) return nullptr;
        return new PlotGLWidget(registry, parent);
    };
}

void addExportImageAction(QMenu* menu, QAction* before, QAction* enabledLike, QWidget* plotArea,
                          std::function<QString()> choosePath) {
    auto* widget = qobject_cast<PlotGLWidget*>(plotArea);
    if (!menu || !widget) return;
    QAction* action = makeExportImageAction(widget, std::move(choosePath));
    menu->insertAction(before, action);
    if (enabledLike) {
        action->setEnabled(enabledLike->isEnabled());
        QObject::connect(enabledLike, &QAction::enabledChanged, action, &QAction::setEnabled);
    }
}

QAction* makeExportImageAction(PlotGLWidget* plotArea, std::function<QString()> choosePath) {
    auto* action = new QAction(QStringLiteral("Export &Image (.png)..."), plotArea);
    QObject::connect(action, &QAction::triggered, plotArea, [plotArea, choosePath] {
        PlotRegistry& registry = plotArea->registry();
        if (!registry.meshReady.load()) return;
        QString path = choosePath ? choosePath() : QString();
        if (path.isEmpty()) return;
        registry.host().setStatusText("Writing PNG file...");
        bool written = plotArea->exportImage(path);
        registry.host().setStatusText(written ? "Wrote PNG file successfully" : "Could not write PNG file");
    });
    return action;
}

}  // namespace vx
