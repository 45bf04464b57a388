#pragma once
// The two user files in their folder: "vxopts.vxd" (options) and
// "vxdata.vxd" (definitions). Both are replaced atomically, so that a crash
// or a full disk during a save leaves the previous files intact.
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/stores.h"
#include "shell/data_file.h"
#include "shell/options_file.h"

namespace vx {

std::filesystem::path optionsFilePath(const std::filesystem::path& folder);
std::filesystem::path dataFilePath(const std::filesystem::path& folder);

// False when the file cannot be opened or read.
bool readWholeFile(const std::filesystem::path& path, std::string& out);

// Writes a temporary file beside the target, syncs it and renames it over
// the target. Returns an empty text on success, else what went wrong.
std::string writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Writes the options file, then the data file (creating the folder).
// Empty on success, else the reason.
std::string saveUserDataFiles(const std::filesystem::path& folder, const Options& options, const Stores& stores);

struct UserDataLoad {
    std::optional<Options> options;  // empty when the file is missing or short
    bool dataFound = false;
    DataLoadResult data;
};

// Reads both files; a missing file is skipped silently.
UserDataLoad loadUserDataFiles(const std::filesystem::path& folder, Stores& stores,
                               const std::function<void(const std::string&)>& print);

}  // namespace vx
