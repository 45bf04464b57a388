// The rendering tests need a QApplication with the plot surface format, on
// a display with OpenGL (CTest runs them under xvfb-run).
#include <gtest/gtest.h>

#include <QApplication>

#include "plot/gl/offscreen_render.h"
#include "tests/gl/render_support.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    vx::installPlotSurfaceFormat();
    QApplication app(argc, argv);
    int status = RUN_ALL_TESTS();
    vx::test::releaseOffscreen();
    return status;
}
