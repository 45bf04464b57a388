// vexalo-cli-gl: computes the plot on the worker, then draws it with the
// plot renderer into an offscreen framebuffer.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <QGuiApplication>

#include "cli/png_export.h"
#include "plot/gl/offscreen_render.h"
#include "plot/plot_registry.h"

namespace vx {

bool pngExportBuiltIn() { return true; }

int handOffPngExport(char**) { return 2; }

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "vexalo-cli: %s\n", message.c_str());
    return 1;
}

std::string plotText(int slot) { return "plot " + std::to_string(slot); }

// What the output pane would show, CR LF written as LF.
void printOutput(std::string_view text) {
    std::string plain;
    for (size_t k = 0; k < text.size(); ++k)
        if (!(text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n')) plain += text[k];
    std::fwrite(plain.data(), 1, plain.size(), stdout);
}

}  // namespace

int exportPlotPng(Engine& engine, const PngExportRequest& request, int argc, char** argv) {
    PlotRegistry& registry = plotRegistry(engine);
    if (!registry.record(request.slot)) return fail(plotText(request.slot) + " does not exist");

    registry.headlessHost().onOutput = printOutput;
    if (!registry.startPrecalculation(request.slot)) return fail(plotText(request.slot) + " could not be computed");
    registry.waitForWorker();
    std::fflush(stdout);
    if (!registry.meshReady.load() || registry.shownPlot.load() != request.slot)
        return fail(plotText(request.slot) + " could not be computed");

    // Offscreen platforms draw nothing here; OpenGL comes from the X server.
    if (!std::getenv("DISPLAY")) return fail("--export-png needs an X display (run it under xvfb-run)");
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "xcb", 1);
    installPlotSurfaceFormat();
    QGuiApplication app(argc, argv);
    if (!probePlotOpenGL()) return fail("--export-png could not draw with OpenGL on this display");
    QImage image;
    {
        OffscreenPlotRenderer renderer;
        if (!renderer.ok()) return fail("--export-png could not draw with OpenGL on this display");
        image = renderer.render(registry, QSize(request.width, request.height));
    }
    if (image.isNull()) return fail(plotText(request.slot) + " could not be drawn");
    if (!image.save(QString::fromStdString(request.path), "PNG")) return fail("could not write " + request.path);
    return 0;
}

}  // namespace vx
