#pragma once
// Built-ins that belong to the engine itself: definitions and control flow.
#include <span>
#include <string>

#include "engine/builtin_table.h"

namespace vx {

std::span<const BuiltinEntry> definitionBuiltins();
std::span<const BuiltinEntry> controlFlowBuiltins();
void registerEngineBuiltins();

// Reads an argument written literally as coords=name (plots, changecoords).
bool readCoordsArgument(struct Ref arg, std::string& system);

}  // namespace vx
