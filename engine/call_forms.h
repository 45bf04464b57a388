#pragma once
// How each built-in, elementary and predefined function is called, with a one-line
// description: the call tips of the desktop input pane. The user manual's
// function reference shows the same rows, and a test holds the two together.
#include <span>
#include <string_view>
#include <vector>

namespace vx {

struct CallForm {
    std::string_view name;
    std::string_view form;     // "take(list, a, b)"
    std::string_view meaning;  // "elements a to b"
};

std::span<const CallForm> callFormTable();
// The forms of one name, in table order; empty for a name not built in.
std::vector<CallForm> callFormsOf(std::string_view name);

}  // namespace vx
