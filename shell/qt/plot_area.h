#pragma once
// The area a plot tab shows. The window creates it through a factory so
// that the OpenGL renderer can put its own widget there; until one is
// registered (and wherever OpenGL cannot run, such as the offscreen
// platform) a plain stand-in is used.
#include <QWidget>
#include <functional>

namespace vx {

class Engine;
class PlotRegistry;

class PlotArea : public QWidget {
    Q_OBJECT
public:
    explicit PlotArea(QWidget* parent = nullptr);

    // Asks for the plot to be drawn again.
    virtual void requestRepaint() { update(); }

protected:
    void paintEvent(QPaintEvent* e) override;
    // What the stand-in draws: an empty white area. A renderer that stays
    // a plain widget overrides this hook.
    virtual void paintPlot(QPainter& painter);
};

// Makes the widget for a plot tab; returns nullptr when it cannot (the
// window then reports that OpenGL could not start and uses the stand-in).
// The widget draws registry.slots[registry.shownPlot] from registry.mesh
// with registry.display while engine.working is 0 and registry.meshReady
// is set, handles its own mouse drags, and is repainted with update().
using PlotAreaFactory = std::function<QWidget*(QWidget* parent, PlotRegistry& registry, Engine& engine)>;
void setPlotAreaFactory(PlotAreaFactory factory);

// The registered factory's widget on a display that can run OpenGL, else
// the stand-in. `failed` tells whether the factory was asked and refused.
QWidget* createPlotArea(QWidget* parent, PlotRegistry& registry, Engine& engine, bool& failed);

// True on the offscreen and minimal platforms, where no GL widget may be made.
bool isHeadlessPlatform();

}  // namespace vx
