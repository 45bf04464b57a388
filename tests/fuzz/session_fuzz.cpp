// A submission through the session driver, as typed into the input pane.
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
    engine.working.store(1);
    vx::fuzz::WatchedRun watched(engine);
    vx::submitText(engine, std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
