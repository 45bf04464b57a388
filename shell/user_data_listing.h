#pragma once
// The User Data dialog without its window: the lines it lists for the
// user's functions or variables (locked definitions never appear) and the
// deletion of selected lines.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/stores.h"

namespace vx {

struct UserDataLine {
    char tag = 0;  // '#' complex, '$' list, '@' matrix, 'f' function
    int slot = 0;  // index in the table of that kind
    std::string name;
    std::string text;  // "f(x,y)", "a: cpx", "L: list (4)", "M: matrix (2x3)"
};

enum class UserDataView { Functions, Variables };

// Unlocked functions in slot order.
std::vector<UserDataLine> listUserFunctions(const Stores& stores);
// For each slot: the complex, the list, then the matrix variable.
std::vector<UserDataLine> listUserVariables(const Stores& stores);
std::vector<UserDataLine> listUserData(const Stores& stores, UserDataView view);

// Deletes the selected lines in line order, printing "Deleted '%s'" and
// CR LF for each that still exists. Returns the list to show afterwards:
// functions when a function was selected, else variables; nothing (leave
// the list as it is) for an empty list.
std::optional<UserDataView> deleteUserData(Stores& stores, const std::vector<UserDataLine>& lines,
                                           const std::vector<int>& selectedRows,
                                           const std::function<void(const std::string&)>& print);

}  // namespace vx
