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

// The system calls that saving makes; tests replace them to make the disk
// fill up or the folder refuse new files.
// Each returns what its system call does and sets errno the same way.
struct FileCalls {
    std::function<int(char* pattern)> createTemp;                  // mkstemp
    std::function<long(int fd, const void* data, size_t size)> write;
    std::function<int(int fd)> sync;                                // fsync
    std::function<int(const char* from, const char* to)> rename;
};
const FileCalls& systemFileCalls();

// Writes a temporary file beside the target, syncs it and renames it over
// the target. Returns an empty text on success, else what went wrong; the
// target is then untouched and the temporary file removed.
std::string writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                                const FileCalls& calls = systemFileCalls());

// Writes both files (creating the folder). Both are written and synced
// beside their targets before either replaces its old file, so a full disk
// or a read-only folder keeps both previous files; files that already hold
// exactly these bytes are not touched. Empty on success, else the reason.
std::string saveUserDataFiles(const std::filesystem::path& folder, const Options& options, const Stores& stores,
                              const FileCalls& calls = systemFileCalls());

// The two files' bytes, taken from the session at one moment, so that they
// can be saved while something else uses the session.
struct UserDataBytes {
    std::string options, data;
};
UserDataBytes encodeUserDataFiles(const Options& options, const Stores& stores);
std::string saveUserDataFiles(const std::filesystem::path& folder, const UserDataBytes& bytes,
                              const FileCalls& calls = systemFileCalls());

struct UserDataLoad {
    std::optional<Options> options;  // empty when the file is missing or short
    bool dataFound = false;
    DataLoadResult data;
};

// Reads both files; a missing file is skipped silently.
UserDataLoad loadUserDataFiles(const std::filesystem::path& folder, Stores& stores,
                               const std::function<void(const std::string&)>& print);

}  // namespace vx
