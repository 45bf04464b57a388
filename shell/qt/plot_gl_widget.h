#pragma once
// The plot area: an OpenGL widget that paints the shown plot, pans and
// turns it with the left mouse button, zooms with the wheel and writes
// what it shows as a PNG. The window creates it with the engine's plot
// registry and shows it in place of the panes while a plot tab is selected.
//
// Use from the main window:
//   installPlotSurfaceFormat();            // in main(), before QApplication
//   if (PlotGLWidget::initOpenGL(this))    // at window creation; on failure it
//       plotArea = new PlotGLWidget(plots, parent);  // has told the user
//   plotArea->repaintPlot();               // from any thread (queued)
//   plotArea->zoom(ZoomDirection::In);     // the Zoom In / Zoom Out commands
//   fileMenu->addAction(makeExportImageAction(plotArea, this));
// The header names the registry only by declaration: plot_registry.h has a
// member called `slots`, which Qt's keyword macros would turn into an
// access specifier; this file uses Q_SLOTS and Q_SIGNALS.
#include <QAction>
#include <QOpenGLWidget>
#include <QPoint>

#include "plot/gl/plot_renderer.h"
#include "plot/view_math.h"

namespace vx {

class PlotGLWidget : public QOpenGLWidget {
    Q_OBJECT

public:
    explicit PlotGLWidget(PlotRegistry& registry, QWidget* parent = nullptr);
    ~PlotGLWidget() override;

    // Checks that plots can be drawn here; otherwise shows "Could not
    // initialize OpenGL window!" (caption "Error") and returns false, and
    // the program carries on without plots.
    static bool initOpenGL(QWidget* parent);
    static void reportOpenGLFailure(QWidget* parent);

    // True when the widget's own context turned out unusable; it then
    // paints nothing.
    bool openGLFailed() const { return failed_; }
    PlotRegistry& registry() const { return registry_; }

    // Zoom In / Zoom Out of the shown plot, then a repaint.
    void zoom(ZoomDirection direction);
    // Writes the shown picture at the widget's size as a PNG file.
    bool exportImage(const QString& path);

public Q_SLOTS:
    // Asks for a paint; safe to call from any thread.
    void repaintPlot();

Q_SIGNALS:
    void openGLFailure();

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    PlotRegistry& registry_;
    PlotRenderer renderer_;
    QPoint last_;
    int wheelAngle_ = 0;     // eighths of a degree not yet turned into zoom steps
    bool failed_ = false;
    bool resized_ = true;    // the framebuffer is new and holds no picture yet
};

// File > "Export &Image (.png)...": asks for a file name and writes the
// shown plot; reports on the status bar through the registry's host.
QAction* makeExportImageAction(PlotGLWidget* plotArea, QWidget* dialogParent);

}  // namespace vx
