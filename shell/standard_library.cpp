#include "shell/standard_library.h"

#include <mutex>

#include "engine/engine_builtins.h"
#include "engine/startup.h"
#include "plot/plot_builtins.h"

namespace vx {

void installStandardLibrary() {
    static std::once_flag once;
    std::call_once(once, [] {
        registerEngineBuiltins();
        registerBuiltins(plotBuiltins());
        registerBuiltins(canvasBuiltins());
    });
}

void startEngine(Engine& engine) {
    installStandardLibrary();
    runStartupDefinitions(engine);
}

}  // namespace vx
