#include "engine/engine_builtins.h"

namespace vx {

void registerEngineBuiltins() {
    registerBuiltins(definitionBuiltins());
    registerBuiltins(controlFlowBuiltins());
}

}  // namespace vx
