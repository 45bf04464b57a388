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
#include "shell/standard_library.h"

namespace {

constexpr const char* kUsage =
    "Usage: vexalo-cli [OPTIONS] [FILE]\n"
    "Runs FILE (or standard input when FILE is '-') as one submission and\n"
    "prints the answers. Without FILE or -e, reads standard input when it is\n"
    "not a terminal, otherwise starts an interactive session.\n"
    "\n"
    "Options:\n"
    "  -e, --eval TEXT   run TEXT as one submission\n"
    "  --export-png SLOT PATH [WIDTHxHEIGHT]\n"
    "                    after the run, compute plot SLOT and write its picture\n"
    "                    to PATH as a PNG image (default 640x480). Drawing uses\n"
    "                    OpenGL and needs an X display; without one, run under\n"
    "                    xvfb-run. Exit status 1 when the image is not written.\n"
    "  --help            show this help\n"
    "  --version         show the version\n";

int usageError(const char* message) {
    std::fprintf(stderr, "vexalo-cli: %s\nTry 'vexalo-cli --help'.\n", message);
    return 2;
}

bool readAll(std::istream& in, std::string& text) {
    std::stringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
    std::string file, evalText;
    bool haveFile = false, haveEval = false, havePng = false;
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
        if (arg == "-e" || arg == "--eval") {
            if (k + 1 >= argc) return usageError("-e needs a text");
            if (haveEval || haveFile) return usageError("give one FILE or one -e TEXT");
            evalText = argv[++k];
            haveEval = true;
        } else if (arg == "--export-png") {
            if (k + 2 >= argc) return usageError("--export-png needs a plot number and a file");
            char* end = nullptr;
            long slot = std::strtol(argv[k + 1], &end, 10);
            if (!*argv[k + 1] || *end || slot < 0 || slot > 31) return usageError("--export-png needs a plot number 0..31");
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
    vx::startEngine(engine);
    engine.output = &sink;
    if (interactive) {
        vx::runInteractive(engine);
    } else {
        engine.working.store(1);
        vx::submitText(engine, text);
    }
    std::fflush(stdout);
    if (havePng) return vx::exportPlotPng(engine, png, argc, argv);
    return 0;
}
