#pragma once
#include <span>
#include <string_view>

#include "engine/engine.h"

namespace vx {

// The locked definitions every session starts with, in evaluation order.
std::span<const std::string_view> startupStatements();
// Evaluates them silently, each exactly as written.
void runStartupDefinitions(Engine& engine);

}  // namespace vx
