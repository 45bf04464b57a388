#pragma once
// Built-ins that belong to the engine itself: definitions and control flow.
#include <span>
#include <string>

#include "engine/builtin_table.h"

namespace vx {

std::span<const BuiltinEntry> definitionBuiltins();
std::span<const BuiltinEntry> controlFlowBuiltins();
void registerEngineBuiltins();

// Runs new(name, number) (a compiled scalar value, an unlocked complex
// variable redefined in its own entry) without the general walk, and the
// same followed by ';'; false, having changed nothing, for anything else.
bool assignNumber(class Eval& ev, struct Ref call, Complex& value);
bool assignNumberQuietly(class Eval& ev, struct Ref body, Complex& value);

// Reads an argument written literally as coords=name (plots, changecoords).
bool readCoordsArgument(struct Ref arg, std::string& system);

}  // namespace vx
