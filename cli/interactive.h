#pragma once
#include <string>

#include "engine/engine.h"

namespace vx {

// The interactive session on a terminal: prompt, read a statement
// (continued while brackets are open), submit it; until Ctrl+D, quit or exit.
void runInteractive(Engine& engine);

// Open minus closed brackets outside comments; > 0 means "continue".
int openBracketDepth(const std::string& text);

}  // namespace vx
