#pragma once
// Assembles the whole language: registers every built-in family once and
// prepares an engine with the start-up definitions.
#include "engine/engine.h"

namespace vx {

void installStandardLibrary();
// installStandardLibrary() plus the start-up definitions, silently.
void startEngine(Engine& engine);

}  // namespace vx
