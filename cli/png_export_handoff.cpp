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
    std::string helper = "vexalo-cli-gl";
    if (n > 0) {
        std::string path(self, static_cast<size_t>(n));
        helper = path.substr(0, path.rfind('/') + 1) + helper;
    }
    std::fflush(stdout);
    execv(helper.c_str(), argv);
    std::fprintf(stderr, "vexalo-cli: --export-png needs %s, which is built with the desktop program\n",
                 helper.c_str());
    return 2;
}

int exportPlotPng(Engine&, OutputSink&, const PngExportRequest&, int, char**) { return 2; }

}  // namespace vx
