#include "shell/qt/plot_area.h"

#include <QGuiApplication>
#include <QPainter>

namespace vx {

namespace {
PlotAreaFactory& factory() {
    static PlotAreaFactory registered;
    return registered;
}
}  // namespace

PlotArea::PlotArea(QWidget* parent) : QWidget(parent) {
    setObjectName("plot_area");
    setAutoFillBackground(false);
}

void PlotArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPlot(painter);
}

void PlotArea::paintPlot(QPainter& painter) {
    painter.fillRect(rect(), Qt::white);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void setPlotAreaFactory(PlotAreaFactory f) { factory() = std::move(f); }

bool isHeadlessPlatform() {
    QString platform = QGuiApplication::platformName();
    return platform == "offscreen" || platform == "minimal";
}

QWidget* createPlotArea(QWidget* parent, PlotRegistry& registry, Engine& engine, bool& failed) {
    failed = false;
    if (factory() && !isHeadlessPlatform()) {
        if (QWidget* widget = factory()(parent, registry, engine)) return widget;
        failed = true;
    }
    return new PlotArea(parent);
}

}  // namespace vx
