#include "shell/options_file.h"

#include <array>

#include "shell/binary_io.h"

namespace vx {
namespace {

// The fields in file order; the structs' own order is the file order too,
// but naming them keeps the format independent of the struct layout.
std::array<std::int32_t*, 16> displayFields(DisplaySettings& d) {
    return {&d.antiAlias, &d.axes2D, &d.color2D,  &d.grid,    &d.lighting,
            &d.axes3D,    &d.zoom,   &d.fov,      &d.color3D, &d.solid,
            &d.constrainProportions, &d.opacity,  &d.intensity, &d.vectorHeads,
            &d.reserved,  &d.vectorColor};
}

std::array<std::int32_t*, 13> qualityFields(QualitySettings& q) {
    return {&q.implicitGrid,   &q.plotSamples,       &q.plot3dSamplesU, &q.plot3dSamplesV, &q.tubeSides,
            &q.tubeSamples,    &q.spacecurveSamples, &q.implicit3dGrid, &q.vector2dGrid,   &q.vector3dGrid,
            &q.vector2dStream, &q.vector3dStream,    &q.vectorStreams};
}

}  // namespace

std::string encodeOptions(const Options& options) {
    Options copy = options;
    ByteWriter out;
    out.i32(copy.syntaxHighlighting);
    for (std::int32_t* field : displayFields(copy.display)) out.i32(*field);
    for (std::int32_t* field : qualityFields(copy.quality)) out.i32(*field);
    return out.take();
}

std::optional<Options> decodeOptions(std::string_view bytes) {
    if (bytes.size() < kOptionsFileSize) return std::nullopt;
    ByteReader in(bytes.substr(0, kOptionsFileSize));
    Options options;
    in.i32(options.syntaxHighlighting);
    for (std::int32_t* field : displayFields(options.display)) in.i32(*field);
    for (std::int32_t* field : qualityFields(options.quality)) in.i32(*field);
    return options;
}

}  // namespace vx
