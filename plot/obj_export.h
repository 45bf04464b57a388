#pragma once
// Wavefront OBJ export of the shown 3D mesh. Records are separated by CR LF
// and the file does not end with a line break.
#include <string>

#include "plot/plot_registry.h"

namespace vx {

// Writers over the registry's mesh buffers; false when the file cannot be
// opened or written.
bool writeGridObj(const PlotRegistry& registry, const PlotRecord& record, const std::string& path);
bool writePolygonObj(const PlotRegistry& registry, const std::string& path);

enum class ObjExport { Written, NotExportable, NotPrecalculated, CannotWrite };

// The Export command after the file was chosen: checks the plot, writes it
// and sets the status texts ("Writing OBJ file...", "Wrote OBJ file
// successfully", or why nothing was written). Only a finished
// precalculation of this slot can be exported.
ObjExport exportPlotObj(PlotRegistry& registry, int slot, const std::string& path);

inline constexpr const char* kCannotExport = "Cannot export this type of plot";
inline constexpr const char* kNotPrecalculated = "Cannot export: the plot has not been calculated";
inline constexpr const char* kCannotWrite = "Could not write the OBJ file";

}  // namespace vx
