// vexalo-cli: the engine without a window, for scripts, tests and a
// terminal session.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/interactive.h"
#include "cli/png_export.h"
#include "cli/stdout_sink.h"
#include "engine/session.h"
#include "engine/startup.h"
#include "plot/obj_export.h"
#include "shell/standard_library.h"
#include "shell/user_data_files.h"

namespace {

constexpr const char* kUsage =
    "Usage: vexalo-cli [OPTIONS] [FILE]\n"
    "Runs FILE (or standard input when FILE is '-') as one submission and\n"
    "prints the answers. Without FILE or -e, reads standard input when it is\n"
    "not a terminal, otherwise starts an interactive session.\n"
    "\n"
    "Options:\n"
    "  -e, --eval TEXT   run TEXT as one submission\n"
    "  --data-dir DIR    load the user data (vxdata.vxd, vxopts.vxd) from DIR\n"
    "                    before the run and save it there afterwards\n"
    "  --export-obj SLOT PATH\n"
    "                    after running FILE, compute plot SLOT with the quality\n"
    "                    settings and write its mesh to PATH as OBJ; status\n"
    "                    texts go to standard error\n"
    "  --export-png SLOT PATH [WIDTHxHEIGHT]\n"
    "                    after running FILE, compute plot SLOT and write its\n"
    "                    picture to PATH as a PNG image (default 640x480).\n"
    "                    Drawing uses OpenGL and needs an X display; without\n"
    "                    one, run under xvfb-run. Status texts go to standard\n"
    "                    error\n"
    "  --help            show this help\n"
    "  --version         show the version\n";

int usageError(const char* message) {
    std::fprintf(stderr, "vexalo-cli: %s\nTry 'vexalo-cli --help'.\n", message);
    return 2;
}

// Computes plot `slot` and writes its OBJ file; the exit status.
int exportObj(vx::Engine& engine, vx::StdoutSink& sink, int slot, const std::string& path) {
    vx::PlotRegistry& plots = vx::plotRegistry(engine);
    vx::HeadlessPlotHost& host = plots.headlessHost();
    host.onStatus = [](std::string_view text) {
        if (text.starts_with("Precalculating ")) return;  // progress
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    };
    host.onOutput = [&sink](std::string_view text) { sink.appendOutput(text); };
    const vx::PlotRecord* record = plots.record(slot);
    if (!record) {
        std::fprintf(stderr, "Plot %i does not exist\n", slot);
        return 1;
    }
    if (!vx::isMeshKind(record->kind)) {
        std::fprintf(stderr, "%s\n", vx::kCannotExport);
        return 1;
    }
    if (!plots.startPrecalculation(slot)) return 1;
    plots.waitForWorker();
    if (!plots.meshReady.load()) return 1;
    return vx::exportPlotObj(plots, slot, path) == vx::ObjExport::Written ? 0 : 1;
}

bool readAll(std::istream& in, std::string& text) {
    std::stringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
    std::string file, evalText, objPath, dataDir;
    bool haveFile = false, haveEval = false, haveExport = false, havePng = false;
    int objSlot = 0;
    vx::PngExportRequest png;
    for (int k = 1; k < argc; ++k) {
        std::string arg = argv[k];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::puts("vexalo-cli v06.19.07");
            return 0;
        }
        if (arg == "--data-dir" || arg.rfind("--data-dir=", 0) == 0) {
            if (arg == "--data-dir") {
                if (k + 1 >= argc) return usageError("--data-dir needs a folder");
                dataDir = argv[++k];
            } else {
                dataDir = arg.substr(std::strlen("--data-dir="));
            }
            if (dataDir.empty()) return usageError("--data-dir needs a folder");
            continue;
        }
        if (arg == "-e" || arg == "--eval") {
            if (k + 1 >= argc) return usageError("-e needs a text");
            if (haveEval || haveFile) return usageError("give one FILE or one -e TEXT");
            evalText = argv[++k];
            haveEval = true;
        } else if (arg == "--export-obj") {
            if (k + 2 >= argc) return usageError("--export-obj needs a SLOT and a PATH");
            char* end = nullptr;
            long slot = std::strtol(argv[k + 1], &end, 10);
            if (!*argv[k + 1] || *end || slot < 0 || slot > 1000000) return usageError("SLOT must be a plot number");
            objSlot = static_cast<int>(slot);
            objPath = argv[k + 2];
            haveExport = true;
            k += 2;
        } else if (arg == "--export-png") {
            if (k + 2 >= argc) return usageError("--export-png needs a SLOT and a PATH");
            char* end = nullptr;
            long slot = std::strtol(argv[k + 1], &end, 10);
            if (!*argv[k + 1] || *end || slot < 0 || slot > 1000000) return usageError("SLOT must be a plot number");
            png.slot = static_cast<int>(slot);
            png.path = argv[k + 2];
            k += 2;
            if (k + 1 < argc && vx::parseImageSize(argv[k + 1], png.width, png.height)) ++k;
            havePng = true;
        } else if (arg.size() > 1 && arg[0] == '-' ) {
            return usageError(("unknown option " + arg).c_str());
        } else {
            if (haveFile || haveEval) return usageError("give one FILE or one -e TEXT");
            file = arg;
            haveFile = true;
        }
    }

    if (haveExport && !haveFile && !haveEval) return usageError("--export-obj needs a FILE to run");
    if (havePng && !haveFile && !haveEval) return usageError("--export-png needs a FILE to run");
    if (havePng && !vx::pngExportBuiltIn()) return vx::handOffPngExport(argv);

    std::string text;
    bool interactive = false;
    if (haveEval) {
        text = evalText;
    } else if (haveFile && file != "-") {
        std::ifstream in(file, std::ios::binary);
        if (!in || !readAll(in, text)) {
            std::fputs("Error opening file\n", stderr);
            return 1;
        }
    } else if (haveFile || !isatty(STDIN_FILENO)) {
        readAll(std::cin, text);
    } else {
        interactive = true;
    }

    bool colour = isatty(STDOUT_FILENO) && !std::getenv("NO_COLOR");
    vx::StdoutSink sink(stdout, colour);
    vx::Engine engine;
    // The user's definitions are installed before the locked start-up
    // definitions, as the desktop program does.
    vx::installStandardLibrary();
    vx::Options options;
    if (!dataDir.empty()) {
        vx::UserDataLoad load = vx::loadUserDataFiles(dataDir, engine.stores, [](const std::string&) {});
        if (load.options) options = *load.options;
        vx::PlotRegistry& plots = vx::plotRegistry(engine);
        plots.display = options.display;
        plots.quality = options.quality;
        if (!load.data.error.empty()) std::fprintf(stderr, "vexalo-cli: %s\n", load.data.error.c_str());
    }
    vx::runStartupDefinitions(engine);
    engine.output = &sink;
    if (interactive) {
        vx::runInteractive(engine);
    } else {
        engine.working.store(1);
        vx::submitText(engine, text);
    }
    int status = haveExport ? exportObj(engine, sink, objSlot, objPath) : 0;
    std::fflush(stdout);
    if (status == 0 && havePng) status = vx::exportPlotPng(engine, sink, png, argc, argv);
    if (!dataDir.empty()) {
        std::string error = vx::saveUserDataFiles(dataDir, options, engine.stores);
        if (!error.empty()) {
            std::fprintf(stderr, "vexalo-cli: could not save user data: %s\n", error.c_str());
            return 1;
        }
    }
    return status;
}
