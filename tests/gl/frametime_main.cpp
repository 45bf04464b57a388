// Prints the time per frame of a large plot3d mesh on this machine's OpenGL
// (usually Mesa's software renderer under xvfb-run):
//   xvfb-run -a -s '-screen 0 1024x768x24' build/vx_gl_frametime [GRID] [FRAMES]
#include <QGuiApplication>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "plot/gl/offscreen_render.h"
#include "plot/plot_registry.h"

int main(int argc, char** argv) {
    int grid = argc > 1 ? std::atoi(argv[1]) : 400;
    int frames = argc > 2 ? std::atoi(argv[2]) : 5;
    if (grid < 2 || frames < 1) {
        std::fputs("usage: vx_gl_frametime [GRID >= 2] [FRAMES >= 1]\n", stderr);
        return 2;
    }
    vx::installPlotSurfaceFormat();
    QGuiApplication app(argc, argv);
    vx::Engine engine;
    vx::PlotRegistry& registry = vx::plotRegistry(engine);
    vx::PlotRecord r;
    r.kind = vx::PlotKind::Plot3d;
    r.exprCount = 1;
    r.rotX = 305;
    r.rotZ = 45;
    r.box3D = vx::Box3D{-3, 3, -3, 3, -1, 1};
    vx::ErrorText message;
    int slot = registry.createPlot(message, "plot3d", std::move(r));
    vx::MeshBuffers& m = registry.mesh;
    m.gridU = m.gridW = grid;
    // sin(x) cos(y) with its analytic normals and box colours.
    for (int j = 0; j < grid; ++j)
        for (int k = 0; k < grid; ++k) {
            float x = -3 + 6.0f * k / (grid - 1), y = -3 + 6.0f * j / (grid - 1), z = std::sin(x) * std::cos(y);
            float nx = -std::cos(x) * std::cos(y), ny = std::sin(x) * std::sin(y), len = std::sqrt(nx * nx + ny * ny + 1);
            m.vertices.insert(m.vertices.end(), {x, y, z});
            m.normals.insert(m.normals.end(), {nx / len, ny / len, 1 / len});
            m.flags.push_back(1);
            auto channel = [](float v, float lo, float hi) {
                return static_cast<std::uint8_t>(static_cast<int>((v - lo) * 128 / (hi - lo)) + 127);
            };
            m.colors.push_back(vx::rgb(channel(x, -3, 3), channel(y, -3, 3), channel(z, -1, 1)));
        }
    registry.shownPlot.store(slot);
    registry.meshReady.store(1);

    vx::OffscreenPlotRenderer renderer;
    if (!renderer.ok()) {
        std::fprintf(stderr, "vx_gl_frametime: %s\n", renderer.error().toUtf8().constData());
        return 1;
    }
    std::printf("%s\n%d x %d plot3d mesh (%d quads), 400 x 400 pixels, %d frames each\n",
                renderer.implementation().toUtf8().constData(), grid, grid, (grid - 1) * (grid - 1), frames);
    const char* lightNames[] = {"none", "flat", "smooth"};
    for (int grid3d : {1, 0}) {
        for (int lighting : {0, 1, 2}) {
            registry.display.lighting = lighting;
            registry.display.grid = grid3d;
            double seconds = renderer.secondsPerFrame(registry, QSize(400, 400), frames);
            std::printf("  lighting %-6s grid %-3s %8.1f ms per frame\n", lightNames[lighting], grid3d ? "on" : "off",
                        seconds * 1000);
        }
    }
    return 0;
}
