#pragma once
// Numbers on the axes, painted with a QPainter over the finished OpenGL
// picture: the 2D axes' ticks when 2D axes are on, the 3D box's edges when
// 3D axes are on. The plot area, Export Image and --export-png all call it.
#include <QPainter>
#include <QSize>

#include "plot/plot_record.h"
#include "plot/settings.h"

namespace vx {

// `size` is the plot area in the painter's (logical) pixels.
void drawAxisNumbers(QPainter& painter, const PlotRecord& record, const DisplaySettings& display, QSize size);

}  // namespace vx
