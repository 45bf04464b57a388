#include "cli/history_file.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vx {

std::string historyFilePath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    // XDG folders given as relative paths do not count.
    if (state && state[0] == '/') return std::string(state) + "/vexalo/history";
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : nullptr;
    }
    if (!home || home[0] != '/') return "";
    return std::string(home) + "/.local/state/vexalo/history";
}

static std::string makeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return folder + ": " + std::strerror(errno);
    }
    return "";
}

std::string replaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write) {
    std::string error = makeFolders(path);
    if (!error.empty()) return error;
    std::string temporary = path + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) return temporary + ": " + std::strerror(errno);
    std::FILE* out = fdopen(fd, "w");
    if (!out) {
        close(fd);
        unlink(temporary.c_str());
        return path + ": " + std::strerror(errno);
    }
    bool written = write(out) && std::fflush(out) == 0 && fsync(fd) == 0;
    int writeError = errno;
    if (std::fclose(out) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return "";
    if (written) writeError = errno;
    unlink(temporary.c_str());
    return path + ": " + std::strerror(writeError);
}

}  // namespace vx
