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

// Qt's own notes (a missing runtime folder and the like) are not the
// runner's business; only its errors are shown.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

int fail(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return 1;
}

}  // namespace

int exportPlotPng(Engine& engine, OutputSink& sink, const PngExportRequest& request, int argc, char** argv) {
    PlotRegistry& plots = plotRegistry(engine);
    HeadlessPlotHost& host = plots.headlessHost();
    host.onStatus = [](std::string_view text) {
        if (text.starts_with("Precalculating ")) return;  // progress
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    };
    host.onOutput = [&sink](std::string_view text) { sink.appendOutput(text); };
    if (!plots.record(request.slot)) return fail("Plot " + std::to_string(request.slot) + " does not exist");
    if (!plots.startPrecalculation(request.slot)) return 1;
    plots.waitForWorker();
    std::fflush(stdout);
    if (!plots.meshReady.load() || plots.shownPlot.load() != request.slot) return 1;

    // Offscreen platforms draw nothing here; OpenGL comes from the X server.
    if (!std::getenv("DISPLAY")) return fail("vexalo-cli: --export-png needs an X display (run it under xvfb-run)");
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "xcb", 1);
    installPlotSurfaceFormat();
    qInstallMessageHandler(quietQtMessages);
    QGuiApplication app(argc, argv);
    if (!probePlotOpenGL()) return fail("vexalo-cli: --export-png could not draw with OpenGL on this display");
    QImage image;
    {
        OffscreenPlotRenderer renderer;
        if (!renderer.ok()) return fail("vexalo-cli: --export-png could not draw with OpenGL on this display");
        image = renderer.render(plots, QSize(request.width, request.height));
    }
    if (image.isNull()) return fail("vexalo-cli: plot " + std::to_string(request.slot) + " could not be drawn");
    if (!image.save(QString::fromStdString(request.path), "PNG"))
        return fail("vexalo-cli: could not write " + request.path);
    host.setStatusText("Wrote PNG file successfully");
    return 0;
}

}  // namespace vx
