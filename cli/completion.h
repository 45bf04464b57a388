#pragma once
// Tab completion in the interactive session: the name being typed is
// completed from the built-ins, the elementary functions and the user's
// definitions; a callable name gets its opening bracket.
#include <string>
#include <string_view>
#include <vector>

namespace vx {

class Engine;

struct Completion {
    std::string insertion;             // text to insert at the cursor
    std::vector<std::string> choices;  // shown when nothing can be inserted
};

// `before` is the line up to the cursor.
Completion completeName(const Engine& engine, std::string_view before);

}  // namespace vx
