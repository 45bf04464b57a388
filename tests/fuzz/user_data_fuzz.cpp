// The two user files: the first 120 bytes of an input are the options file
// and the rest the user-data file (a shorter input is a user-data file
// alone). They are loaded as at start-up, every loaded name is evaluated,
// and the files are saved, loaded into a fresh engine and saved again: the
// two saves must be the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/session.h"
#include "engine/startup.h"
#include "shell/data_file.h"
#include "shell/options_file.h"
#include "shell/standard_library.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace vx;

// A statement for every loaded definition: variables are printed,
// functions called with ones, coordinate systems drawn through.
std::string statementsNaming(const Stores& stores) {
    std::string text;
    auto line = [&text](const std::string& s) { text += s + "\n"; };
    for (const ComplexVariable& v : stores.complexVariables)
        if (v.inUse && !v.locked) line(v.name);
    for (const auto* table : {&stores.listVariables, &stores.matrixVariables})
        for (const ArrayVariable& v : *table)
            if (v.inUse && !v.locked) line(v.name);
    for (const UserFunction& f : stores.functions) {
        if (!f.inUse || f.locked) continue;
        std::string call = f.name + "(";
        for (int k = 0; k < f.paramCount(); ++k) call += k ? ",1" : "1";
        line(call + ")");
    }
    for (const CoordinateSystem& c : stores.coordinates) {
        if (!c.inUse || c.locked) continue;
        if (c.dimension == 2) line("plot(x,x,0,1,coords=" + c.name + ")");
        if (c.dimension == 3) line("spacecurve([t,t,t],t,0,1,coords=" + c.name + ")");
    }
    return text;
}

// Loads the files into a fresh engine as the programs do at start-up
// (user data, then the start-up definitions) and returns what saving
// would write: the options file followed by the user-data file.
std::string loadAndSave(std::string_view optionBytes, std::string_view dataBytes, bool evaluate) {
    installStandardLibrary();
    Engine engine;
    DataLoadResult loaded = loadUserData(dataBytes, engine.stores, [](const std::string&) {});
    Options options = decodeOptions(optionBytes).value_or(Options{});
    runStartupDefinitions(engine);
    if (!evaluate && !loaded.error.empty()) {
        std::fprintf(stderr, "fuzz: a saved file does not load again: %s\n", loaded.error.c_str());
        std::abort();
    }
    if (evaluate) {
        fuzz::DiscardSink sink;
        engine.output = &sink;
        PlotRegistry& plots = plotRegistry(engine);
        plots.display = options.display;
        fuzz::useSmallGrids(plots, options.quality);
        engine.working.store(1);
        {
            fuzz::WatchedRun watched(engine);
            submitText(engine, statementsNaming(engine.stores));
        }
        fuzz::precalculateEveryPlot(engine);
        engine.output = nullptr;
    }
    return encodeOptions(options) + encodeUserData(engine.stores);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view optionBytes, dataBytes = input;
    if (input.size() >= kOptionsFileSize) {
        optionBytes = input.substr(0, kOptionsFileSize);
        dataBytes = input.substr(kOptionsFileSize);
    }
    const std::string first = loadAndSave(optionBytes, dataBytes, true);
    const std::string_view saved(first);
    const std::string second = loadAndSave(saved.substr(0, kOptionsFileSize), saved.substr(kOptionsFileSize), false);
    if (first != second) {
        std::fprintf(stderr, "fuzz: saving what was loaded from a save gives other bytes (%zu, then %zu)\n",
                     first.size(), second.size());
        std::abort();
    }
    return 0;
}
