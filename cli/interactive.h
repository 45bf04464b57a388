#pragma once
#include "engine/engine.h"

namespace vx {

// Prompt, read a statement (continued while brackets are open), submit it.
void runInteractive(Engine& engine);

// Open minus closed brackets outside comments; > 0 means "continue".
int openBracketDepth(const std::string& text);

}  // namespace vx
