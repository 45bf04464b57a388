#pragma once
// --export-png SLOT PATH [WIDTHxHEIGHT]: after the run, compute one plot
// and write its picture as a PNG file. Drawing needs OpenGL through Qt, so
// the plain vexalo-cli (free of Qt) hands the whole command line over to
// vexalo-cli-gl, built beside it with the desktop program.
#include <string>

#include "engine/engine.h"

namespace vx {

struct PngExportRequest {
    int slot = 0;
    std::string path;
    int width = 640, height = 480;
};

// Reads "WIDTHxHEIGHT" (each 1..16384). False when the text is not a size.
inline bool parseImageSize(const std::string& text, int& width, int& height) {
    size_t x = text.find('x');
    if (x == std::string::npos || x == 0 || x + 1 >= text.size()) return false;
    auto number = [](const std::string& digits, int& out) {
        if (digits.empty() || digits.size() > 5) return false;
        int value = 0;
        for (char ch : digits) {
            if (ch < '0' || ch > '9') return false;
            value = value * 10 + (ch - '0');
        }
        if (value < 1 || value > 16384) return false;
        out = value;
        return true;
    };
    int w = 0, h = 0;
    if (!number(text.substr(0, x), w) || !number(text.substr(x + 1), h)) return false;
    width = w;
    height = h;
    return true;
}

// Whether this program draws the PNG itself.
bool pngExportBuiltIn();
// Replaces the process with vexalo-cli-gl from the same folder, same
// arguments. Returns only when that fails, with the exit status to use.
int handOffPngExport(char** argv);
// Computes the plot and writes the file; the exit status (0 written, 1 not).
// Worker messages go to `sink` like answers, status texts to standard error.
int exportPlotPng(Engine& engine, OutputSink& sink, const PngExportRequest& request, int argc, char** argv);

}  // namespace vx
