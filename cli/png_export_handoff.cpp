// The plain vexalo-cli: PNG export is vexalo-cli-gl's job.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

#include "cli/png_export.h"

namespace vx {

bool pngExportBuiltIn() { return false; }

int handOffPngExport(char** argv) {
    char self[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string();
    folder = folder.substr(0, folder.rfind('/') + 1);
    // Beside the runner in the build tree; in its own folder once installed,
    // off PATH because it is no command of its own.
    const std::string candidates[] = {folder + "vexalo-cli-gl", folder + VX_HELPER_FROM_BIN "/vexalo-cli-gl"};
    std::fflush(stdout);
    for (const std::string& helper : candidates)
        if (access(helper.c_str(), X_OK) == 0) execv(helper.c_str(), argv);
    std::fprintf(stderr, "vexalo-cli: --export-png needs %s, which is built with the desktop program\n",
                 candidates[1].c_str());
    return 2;
}

int exportPlotPng(Engine&, OutputSink&, const PngExportRequest&, int, char**) { return 2; }

}  // namespace vx
