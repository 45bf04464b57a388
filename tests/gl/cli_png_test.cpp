// vexalo-cli --export-png as a process: the plain runner hands the option
// to vexalo-cli-gl, which computes the plot and writes the picture.
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "tests/gl/render_support.h"
#include "tests/support/run_process.h"

namespace vx::test {
namespace {

using Outcome = ProcessResult;

Outcome cli(const std::string& args, const std::string& environment = "") {
    return runProcess(environment + " '" + VX_CLI_PATH + "' " + args + " 2>&1");
}

TEST(GlExport, WritesThePlotAsAPngOfTheGivenSize) {
    QTemporaryDir dir;
    std::string path = dir.filePath("parabola.png").toStdString();
    Outcome r = cli("--export-png 0 '" + path + "' 120x90 -e 'plot(x^2, x, -1, 1)'");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find(">  (plot) Created Plot 0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Generated plot"), std::string::npos) << r.out;
    QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(120, 90));
    View2D v{-1, 1, 0, 1};
    EXPECT_TRUE(anyNear(image, toPixel(image, v, 0.5f, 0.25f), 1, [](Rgb c) { return c.r > 170 && c.g < 130; }));
    QPoint blank = toPixel(image, v, -0.5f, 0.7f);
    EXPECT_TRUE(isWhite(pixel(image, blank.x(), blank.y())));

    std::string solid = dir.filePath("solid.png").toStdString();
    r = cli("-e 'customplot3d(-2,2,-2,2,-2,2)\ndrawsolid(0, icosahedron)' --export-png 0 '" + solid + "'");
    EXPECT_EQ(r.status, 0) << r.out;
    QImage canvas(QString::fromStdString(solid));
    EXPECT_EQ(canvas.size(), QSize(640, 480));
    EXPECT_FALSE(isWhite(pixel(canvas, 320, 240)));
}

TEST(GlExport, RefusalsAndTheirExitStatus) {
    QTemporaryDir dir;
    std::string path = dir.filePath("x.png").toStdString();
    struct Case {
        std::string args, environment;
        int status;
        std::string message;
    } cases[] = {
        {"--export-png 0", "", 2, "--export-png needs a SLOT and a PATH"},
        {"--export-png x '" + path + "' -e 1", "", 2, "SLOT must be a plot number"},
        {"--export-png 0 '" + path + "'", "", 2, "--export-png needs a FILE to run"},
        {"--export-png 3 '" + path + "' -e 'plot(x, x, 0, 1)'", "", 1, "Plot 3 does not exist"},
        {"--export-png 0 '" + path + "' -e 'plot(nosuch, x, 0, 1)'", "", 1, "Error while precalculating!"},
        {"--export-png 0 '" + path + "' -e 'plot(x, x, 0, 1)'", "env -u DISPLAY", 1, "needs an X display"},
        {"--export-png 0 '" + dir.filePath("no/such/dir.png").toStdString() + "' -e 'plot(x, x, 0, 1)'", "", 1,
         "could not write"},
    };
    for (const Case& c : cases) {
        Outcome r = cli(c.args, c.environment);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << "\n" << r.out;
    }
    EXPECT_TRUE(QImage(QString::fromStdString(path)).isNull());  // nothing written by a refusal
    Outcome help = cli("--help");
    EXPECT_NE(help.out.find("--export-png SLOT PATH [WIDTHxHEIGHT]"), std::string::npos);
    EXPECT_NE(help.out.find("xvfb-run"), std::string::npos);
}

}  // namespace
}  // namespace vx::test
