#pragma once
// vexalo-cli's command line, read with getopt_long.
#include <string>

#include "cli/png_export.h"

namespace vx {

struct CliOptions {
    std::string file;  // "-" for standard input
    bool haveFile = false;
    std::string evalText;
    bool haveEval = false;
    std::string dataDir;
    bool exportObj = false;
    int objSlot = 0;
    std::string objPath;
    bool exportPng = false;
    PngExportRequest png;
};

enum class CliAction { Run, Help, Version, UsageError };

// Reads argv (which getopt_long may reorder); on UsageError `error` says why.
CliAction parseCommandLine(int argc, char** argv, CliOptions& options, std::string& error);

extern const char* const kCliUsage;

}  // namespace vx
