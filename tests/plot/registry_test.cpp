// Slots, tabs and the plot records as the commands leave them.
#include <string>

#include "tests/plot/plot_fixture.h"

namespace vx::testing {
namespace {

using Strings = std::vector<std::string>;

TEST_F(PlotTest, SlotsAndTabsFollowDeletion) {
    for (int k = 0; k < 3; ++k) run("plot(x, x, 0, 1)");
    EXPECT_EQ(host.tabs(), (Strings{"Input", "Plot 0", "Plot 1", "Plot 2"}));
    EXPECT_EQ(run1("delplot(1)"), "(delplot) Plot 1 deleted");
    EXPECT_EQ(plots.slots[2].tabIndex, 2);
    EXPECT_EQ(plots.slots[1].inUse, 0);
    EXPECT_EQ(run1("plot(x, x, 0, 1)"), "(plot) Created Plot 1");
    EXPECT_EQ(plots.slots[1].tabIndex, 3);
    EXPECT_EQ(host.tabs(), (Strings{"Input", "Plot 0", "Plot 2", "Plot 1"}));

    // Closing the selected plot tab returns to the Input tab.
    host.selectTab(2);
    plots.meshReady = 1;
    plots.deletePlotByTab(2);
    EXPECT_EQ(host.selectedTab(), 0);
    EXPECT_EQ(plots.meshReady.load(), 0);
    EXPECT_EQ(host.tabs(), (Strings{"Input", "Plot 0", "Plot 1"}));
    EXPECT_EQ(plots.slots[1].tabIndex, 2);
    plots.deletePlotByTab(7);  // no such tab: nothing happens
    EXPECT_EQ(host.tabCount(), 3);
    EXPECT_FALSE(plots.deletePlot(-1));
    EXPECT_FALSE(plots.deletePlot(32));
}

TEST_F(PlotTest, RegistryFullRefusesEveryCommand) {
    run("for(k, 1, 32, plot(x, x, 0, 1);)");
    EXPECT_EQ(host.tabCount(), 33);
    const std::pair<const char*, const char*> cases[] = {
        {"plot(x, x, 0, 1)", "(plot) Too Many Plots"},
        {"plot3d(u, u, 0, 1, w, 0, 1)", "(plot3d) Too Many Plots"},
        {"customplot(0, 1, 0, 1)", "(customplot) Too Many Graphs"},
        {"customplot3d(0, 1, 0, 1, 0, 1)", "(customplot3d) Too Many Graphs"},
    };
    for (const auto& [statement, message] : cases) EXPECT_EQ(run1(statement), message) << statement;
    EXPECT_EQ(host.tabCount(), 33);
}

TEST_F(PlotTest, CommandsFillTheirRecordFields) {
    run("plot(x, x^2, x, -1, 2)");
    const PlotRecord& p = plots.slots[0];
    EXPECT_EQ(p.kind, PlotKind::Plot);
    EXPECT_EQ(p.exprCount, 2);
    EXPECT_EQ(p.varCount, 1);
    EXPECT_EQ(p.varNames[0], "x");
    EXPECT_EQ(p.range2D[0], -1.0f);
    EXPECT_EQ(p.range2D[1], 2.0f);
    EXPECT_EQ(p.rotX, 0.0f);

    run("tubeplot([t, t, t, 1], t, 3, 4, coords=cylindrical)");
    const PlotRecord& t = plots.slots[1];
    EXPECT_EQ(t.kind, PlotKind::Tubeplot);
    EXPECT_EQ(t.hasCoords, 1);
    EXPECT_EQ(engine.stores.coordinates[static_cast<size_t>(t.coordSystem)].name, "cylindrical");
    EXPECT_EQ(t.ranges[0].low, 0.0f);
    EXPECT_EQ(t.ranges[1].low, 3.0f);
    EXPECT_EQ(t.ranges[1].high, 4.0f);
    EXPECT_EQ(t.rotX, 305.0f);
    EXPECT_EQ(t.rotZ, 45.0f);

    run("vectorplot3d([a, b, c], a, 0, 1, b, 2, 3, c, 4, 5)");
    const PlotRecord& v = plots.slots[2];
    EXPECT_EQ(v.varCount, 3);
    EXPECT_EQ(v.varNames[2], "c");
    EXPECT_EQ(v.ranges[2].high, 5.0f);
}

TEST_F(PlotTest, CommandArgumentMessages) {
    std::string many = "plot(";
    for (int k = 0; k < 65; ++k) many += "x,";
    many += "x, 0, 1)";
    const std::pair<std::string, std::string> cases[] = {
        {many, "(plot) Error: Too Many Graphs"},
        {"implicitplot(x, x, 0, 1, 2*y, 0, 1)", "(implicitplot) Error: Invalid Name"},
        {"spacecurve(t, sin(t), 0, 1)", "(spacecurve) Error: Invalid Name"},
        {"implicitplot3d(x, x, 0, 1, y, 0, 1, z, 2, 2)", "(implicitplot3d) Error: Empty Range"},
        {"vectorplot([x, y], x, 0, 1, y, 0, i)", "(vectorplot) Error: Complex Endpoint"},
        {"tubeplot(t, t, [1], 2)", "(tubeplot) Error: Data Type"},
        {"plot3d(r, u, 0, 1, w, 0, 1, coords=polar)", "(plot3d) Invalid Coordinate System"},
        {"customplot3d(0, 1, 0, 1, 0)", "(customplot3d) Error: Syntax"},
        {"customplot(0, 1, 2, i)", "(customplot) Error: Complex Endpoint"},
        {"plotsize(1, 2)", "(plotsize) Error: Syntax"},
        {"plotsize(-3)", "(plotsize) Plot -3 does not exist"},
    };
    for (const auto& [statement, message] : cases) EXPECT_EQ(run1(statement), message) << statement;
    EXPECT_EQ(host.tabCount(), 1);  // nothing was stored
}

// (Uncomputed surfaces and contours give zeros: the plots script pins them.)
TEST_F(PlotTest, PlotsizeOfUncomputedCanvasesIsTheirArguments) {
    const std::pair<const char*, const char*> cases[] = {
        {"customplot(1, 2, 3, 4)", "[[1,2][3,4]]"},
        {"customplot3d(1, 2, 3, 4, 5, 6)", "[[1,2][3,4][5,6]]"},
    };
    int slot = 0;
    for (const auto& [statement, size] : cases) {
        run(statement);
        EXPECT_EQ(run1("plotsize(" + std::to_string(slot++) + ")"), size) << statement;
    }
}

}  // namespace
}  // namespace vx::testing
