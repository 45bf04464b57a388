#pragma once
// Argument readers shared by the canvas and polyhedron built-ins. Each
// evaluates one argument and, on failure, writes the command's message and
// returns false (nullptr).
#include <array>
#include <vector>

#include "engine/evaluator.h"
#include "plot/plot_registry.h"

namespace vx {

// Which canvases a command accepts.
enum class CanvasNeed { Canvas2D, Canvas3D, Either };

PlotRecord* readCanvas(Eval& ev, Ref arg, const char* cmd, CanvasNeed need);
bool readReal(Eval& ev, Ref arg, const char* cmd, double& out);
// A List or Matrix of exactly `dim` real elements.
bool readPoint(Eval& ev, Ref arg, const char* cmd, int dim, double* out);
// Three channels (List or Matrix), each clamped to 0..255 and truncated.
bool readColour(Eval& ev, Ref arg, const char* cmd, PlotColour& out);

using PointList = std::vector<std::array<double, 3>>;
// The points between the plot number (argument 0) and the colour (last):
// one Matrix of `dim` columns, or `dim` real arguments per point. The
// argument count must already have been checked with pointListCountOk.
bool readPointList(Eval& ev, const Args& a, const char* cmd, int dim, int minPoints, PointList& out);
bool pointListCountOk(int count, int dim, int minPoints);

}  // namespace vx
