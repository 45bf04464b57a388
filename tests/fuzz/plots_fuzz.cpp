// A submission whose plots are then precalculated one after the other, as
// when their tabs are selected.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/session.h"
#include "shell/standard_library.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vx::Engine engine;
    vx::startEngine(engine);
    vx::fuzz::DiscardSink sink;
    engine.output = &sink;
    vx::PlotRegistry& plots = vx::plotRegistry(engine);
    vx::QualitySettings wanted;
    wanted.vectorStreams = static_cast<int>(size % 2);  // arrows or stream lines
    vx::fuzz::useSmallGrids(plots, wanted);
    engine.working.store(1);
    {
        vx::fuzz::WatchedRun watched(engine);
        vx::submitText(engine, std::string_view(reinterpret_cast<const char*>(data), size));
    }
    vx::fuzz::precalculateEveryPlot(engine);
    return 0;
}
