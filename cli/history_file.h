#pragma once
// Where the interactive session keeps its history, and how it is written:
// into a temporary file beside it that then replaces it, so that a crash
// or a full disk never leaves half a history behind.
#include <cstdio>
#include <functional>
#include <string>

namespace vx {

constexpr int kHistoryEntries = 1000;

// $XDG_STATE_HOME/vexalo/history, or ~/.local/state/vexalo/history; empty
// when no home folder is known.
std::string historyFilePath();

// Creates the missing folders of `path` (mode 0700), writes the file
// through `write` and renames it into place. Empty on success, else why not.
std::string replaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write);

}  // namespace vx
