#pragma once
// The plot area: an OpenGL widget that paints the shown plot, pans and
// turns it with the left mouse button, zooms with the wheel and writes
// what it shows as a PNG. The main window puts it in place of the panes
// while a plot tab is selected.
//
// Hooking it into the window's plot area seam:
//   setPlotAreaFactory(plotGLAreaFactory());          // in main(), once
//   addExportImageAction(fileMenu, before, enabledLike, plotArea, window);
// The factory's widget draws from the engine's plot registry; it yields no
// widget (the window then says "Could not initialize OpenGL window!") when
// this display cannot draw with the fixed-function pipeline.
//
// The header uses only declarations of the plot types, so any window code
// may include it; Q_SLOTS and Q_SIGNALS keep it usable with QT_NO_KEYWORDS
// (plot_registry.h has a member called `slots`).
#include <QAction>
#include <QMenu>
#include <QOpenGLWidget>
#include <QPoint>
#include <functional>
#include <memory>

namespace vx {

class Engine;
class PlotRegistry;
class PlotRenderer;
enum class ZoomDirection;

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

    // Zoom In / Zoom Out and Reset View of the shown plot, then a repaint.
    void zoom(ZoomDirection direction);
    void resetView();
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
    std::unique_ptr<PlotRenderer> renderer_;
    QPoint last_;
    int wheelAngle_ = 0;   // eighths of a degree not yet turned into zoom steps
    bool failed_ = false;
    bool resized_ = true;  // the framebuffer is new and holds no picture yet
};

// Makes the plot area drawing the registry's plots, or nullptr when this
// display cannot draw them. `engine` is the registry's own (its busy flag).
std::function<QWidget*(QWidget* parent, PlotRegistry& registry, Engine& engine)> plotGLAreaFactory();

// File > "Export &Image (.png)...": asks `choosePath` for a file name
// (empty: cancelled) and writes the shown plot with its axis numbers;
// reports on the status bar through the registry's host.
QAction* makeExportImageAction(PlotGLWidget* plotArea, std::function<QString()> choosePath);
// Puts that item into `menu` before `before`, enabled together with
// `enabledLike` (a plot-tab command). Nothing when `plotArea` is not a plot widget.
void addExportImageAction(QMenu* menu, QAction* before, QAction* enabledLike, QWidget* plotArea,
                          std::function<QString()> choosePath);

}  // namespace vx
