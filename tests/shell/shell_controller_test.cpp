// Tab handling: the enabling rules per tab kind, closing tabs with the
// registry's tab bookkeeping, Recalculate, Zoom and Apply.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "engine/engine.h"
#include "plot/plot_registry.h"
#include "shell/shell_controller.h"
#include "tests/shell/shell_test_util.h"

namespace vx {
namespace {

class RecordingView : public ShellView {
public:
    std::vector<std::string> tabs{"Input"};
    int selected = 0;
    std::map<int, bool> commands, buttons;
    int mode = -1;
    bool plotVisible = false;
    std::string status, output;
    int repaints = 0;
    int qualityKind = -1;

    int tabCount() const override { return static_cast<int>(tabs.size()); }
    int selectedTab() const override { return selected; }
    void selectTab(int index) override { selected = index; }
    void setCommandEnabled(CommandId c, bool on) override { commands[c] = on; }
    void setButtonEnabled(int b, bool on) override { buttons[b] = on; }
    void setSaveButtonMode(int m) override { mode = m; }
    void showPlotArea(bool plot) override { plotVisible = plot; }
    void setStatusText(std::string_view t) override { status = t; }
    void appendOutput(std::string_view t) override { output += t; }
    void repaintPlot() override { ++repaints; }
    void showKindOnQualityPage(int kind) override { qualityKind = kind; }
    bool statementRunning() const override { return statement; }
    bool statement = false;
};

// A registry in miniature: slots with kinds and tab positions, deleting
// the way the plot registry does (tabs behind the deleted one move left,
// a selected tab hands the selection to Input first).
class FakePlots : public PlotTabs {
public:
    struct Slot {
        bool inUse = false;
        int tab = 0, kind = 0;
        PlotRecord record;
    };
    RecordingView& view;
    ShellController* controller = nullptr;
    Slot slots[32];
    std::vector<int> started;
    int shown = 0;
    bool ready = false;

    explicit FakePlots(RecordingView& v) : view(v) {}

    int add(int kind) {
        for (int s = 0; s < 32; ++s)
            if (!slots[s].inUse) {
                slots[s] = {true, view.tabCount(), kind, {}};
                slots[s].record.kind = static_cast<PlotKind>(kind);
                view.tabs.push_back("Plot " + std::to_string(s));
                return s;
            }
        return -1;
    }
    int slotAtTab(int tab) const override {
        for (int s = 0; s < 32; ++s)
            if (slots[s].inUse && slots[s].tab == tab) return s;
        return -1;
    }
    int kindOfSlot(int slot) const override { return slot >= 0 && slots[slot].inUse ? slots[slot].kind : -1; }
    void deletePlotByTab(int tab) override {
        int s = slotAtTab(tab);
        if (s < 0) return;
        for (Slot& other : slots)
            if (other.inUse && other.tab > tab) --other.tab;
        if (view.selected == tab) {
            view.selected = 0;
            controller->tabChanged(0);
        } else if (view.selected > tab) {
            --view.selected;
        }
        view.tabs.erase(view.tabs.begin() + tab);
        slots[s].inUse = false;
    }
    void startPrecalculation(int slot) override {
        started.push_back(slot);
        shown = slot;
        ready = true;  // as if the worker finished at once
    }
    int shownPlot() const override { return shown; }
    bool meshReady() const override { return ready; }
    void setMeshReady(bool r) override { ready = r; }
    PlotRecord* record(int slot) override { return slot >= 0 && slots[slot].inUse ? &slots[slot].record : nullptr; }
};

struct Fixture {
    Engine engine;
    RecordingView view;
    FakePlots plots{view};
    DisplaySettings display;
    QualitySettings quality;
    ShellController controller{engine, view, plots, display, quality};
    Fixture() { plots.controller = &controller; }
    void select(int tab) {
        view.selected = tab;
        controller.tabChanged(tab);
    }
};

TEST(ShellController, EnablingRulesPerTabKind) {
    struct Case {
        int kind;  // -1: the Input tab
        bool exportEnabled, plotCommands, button202;
        int mode;
        const char* tooltip;
    } cases[] = {
        {-1, false, false, true, kSaveButtonSaveOutput, "Save Output (.txt)"},
        {0, false, true, false, kSaveButtonNothing, "Export (.obj)"},
        {1, true, true, true, kSaveButtonExport, "Export (.obj)"},
        {2, true, true, true, kSaveButtonExport, "Export (.obj)"},
        {3, false, true, false, kSaveButtonNothing, "Export (.obj)"},
        {4, false, true, false, kSaveButtonNothing, "Export (.obj)"},
        {5, true, true, true, kSaveButtonExport, "Export (.obj)"},
        {6, false, true, false, kSaveButtonNothing, "Export (.obj)"},
        {7, false, true, false, kSaveButtonNothing, "Export (.obj)"},
        {8, false, true, false, kSaveButtonNothing, "Export (.obj)"},
        {9, false, true, false, kSaveButtonNothing, "Export (.obj)"},
    };
    for (const Case& c : cases) {
        Fixture f;
        if (c.kind >= 0) f.plots.add(c.kind);
        f.select(c.kind >= 0 ? 1 : 0);
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(f.view.commands[kCmdExport], c.exportEnabled);
        for (CommandId id : {kCmdCloseTab, kCmdRecalculate, kCmdZoomIn, kCmdZoomOut, kCmdResetView})
            EXPECT_EQ(f.view.commands[id], c.plotCommands);
        for (int b : {kBtnCloseTab, kBtnZoomIn, kBtnZoomOut, kBtnResetView}) EXPECT_EQ(f.view.buttons[b], c.plotCommands);
        EXPECT_EQ(f.view.buttons[kBtnSaveOrExport], c.button202);
        EXPECT_EQ(f.controller.saveButtonMode(), c.mode);
        EXPECT_EQ(f.view.mode, c.mode);
        EXPECT_EQ(toolbarTooltip(kBtnSaveOrExport, c.mode), c.tooltip);
        EXPECT_EQ(f.view.plotVisible, c.kind >= 0);
        EXPECT_EQ(f.view.qualityKind, c.kind < 0 ? -1 : (c.kind == 6 || c.kind == 7 ? 0 : c.kind));
        if (c.kind < 0) {
            EXPECT_EQ(f.view.status, "Vexalo");
        }
    }
}

TEST(ShellController, SelectingAPlotPrecalculatesOnlyWhenNeeded) {
    Fixture f;
    f.plots.add(0);
    f.plots.add(1);
    f.select(1);
    f.select(2);
    f.select(2);  // shown and ready: nothing to do
    EXPECT_EQ(f.plots.started, (std::vector<int>{0, 1}));
    f.select(0);
    EXPECT_FALSE(f.plots.ready);
    f.select(2);  // same plot, but Input cleared the ready flag
    EXPECT_EQ(f.plots.started, (std::vector<int>{0, 1, 1}));
}

TEST(ShellController, TabChangeWhileWorkingAbortsAndStaysOnInput) {
    Fixture f;
    f.plots.add(1);
    f.engine.working.store(1);
    f.select(1);
    EXPECT_EQ(f.engine.abortRequested.load(), 1);
    EXPECT_EQ(f.view.selected, 0);
    EXPECT_FALSE(f.view.plotVisible);
    EXPECT_TRUE(f.plots.started.empty());
    EXPECT_EQ(f.view.status, "Vexalo");
}

TEST(ShellController, CloseOtherTabs) {
    struct Case {
        int plots, selected;
        std::vector<std::string> left;
    } cases[] = {
        {5, 3, {"Input", "Plot 2"}},
        {5, 1, {"Input", "Plot 0"}},
        {5, 5, {"Input", "Plot 4"}},
        {5, 0, {"Input"}},
        {0, 0, {"Input"}},
        {1, 1, {"Input", "Plot 0"}},
    };
    for (const Case& c : cases) {
        Fixture f;
        for (int k = 0; k < c.plots; ++k) f.plots.add(0);
        f.select(c.selected);
        f.controller.closeOtherTabs();
        EXPECT_EQ(f.view.tabs, c.left) << c.plots << " plots, tab " << c.selected;
        EXPECT_EQ(f.view.selected, c.selected > 0 ? 1 : 0);
        int remaining = f.plots.slotAtTab(1);
        if (c.selected > 0) {
            EXPECT_EQ(remaining, c.selected - 1);
        }
    }
}

TEST(ShellController, CloseTabReturnsToInput) {
    Fixture f;
    f.plots.add(5);
    f.plots.add(0);
    f.select(1);
    f.controller.closeSelectedTab();
    EXPECT_EQ(f.view.tabs, (std::vector<std::string>{"Input", "Plot 1"}));
    EXPECT_EQ(f.view.selected, 0);
    EXPECT_FALSE(f.view.commands[kCmdCloseTab]);
    EXPECT_EQ(f.plots.slotAtTab(1), 1);
    f.controller.closeSelectedTab();  // on Input: nothing
    EXPECT_EQ(f.view.tabs.size(), 2u);
}

TEST(ShellController, ZoomAndResetViewActOnTheShownPlotOnly) {
    Fixture f;
    int flat = f.plots.add(0);
    int solid = f.plots.add(1), other = f.plots.add(1);
    f.plots.slots[flat].record.view2D = {-10, 10, -5, 5};
    f.controller.zoomIn();  // nothing shown yet
    EXPECT_EQ(f.view.repaints, 0);
    f.select(1);
    f.controller.zoomIn();
    View2D v = f.plots.slots[flat].record.view2D;
    EXPECT_FLOAT_EQ(v.xMin, -8);
    EXPECT_FLOAT_EQ(v.xMax, 8);
    EXPECT_FLOAT_EQ(v.yMin, -4);
    EXPECT_FLOAT_EQ(v.yMax, 4);
    f.controller.zoomIn();
    f.controller.resetView();
    EXPECT_FLOAT_EQ(f.plots.slots[flat].record.view2D.xMax, 10);
    EXPECT_FLOAT_EQ(f.plots.slots[flat].record.view2D.yMin, -5);

    // 3D zoom belongs to the plot: the other plot and the setting keep theirs.
    f.select(2);
    for (int k = 0; k < 10; ++k) f.controller.zoomIn();
    EXPECT_EQ(f.plots.slots[solid].record.zoom, 100);
    for (int k = 0; k < 30; ++k) f.controller.zoomOut();
    EXPECT_EQ(f.plots.slots[solid].record.zoom, 0);
    EXPECT_EQ(f.plots.slots[other].record.zoom, -1);
    EXPECT_EQ(f.display.zoom, 72);
    f.controller.resetView();
    EXPECT_EQ(f.plots.slots[solid].record.zoom, -1);
    // Not while a worker runs.
    f.engine.working.store(1);
    f.controller.zoomIn();
    EXPECT_EQ(f.plots.slots[solid].record.zoom, -1);
}

TEST(ShellController, RecalculateRestartsTheShownPlotOrAborts) {
    Fixture f;
    f.plots.add(3);
    f.select(1);
    f.controller.recalculate();
    EXPECT_EQ(f.plots.started, (std::vector<int>{0, 0}));

    f.engine.working.store(1);
    f.controller.recalculate();
    EXPECT_EQ(f.engine.abortRequested.load(), 1);
    EXPECT_EQ(f.view.selected, 0);
    EXPECT_EQ(f.plots.started.size(), 2u);
}

TEST(ShellController, ApplyRecomputesOnlyWhenTheShownKindChanged) {
    Fixture f;
    f.plots.add(5);  // a 3D implicit plot
    f.select(1);
    QualitySettings copy = f.quality;
    copy.implicitGrid = 20;  // the 2D grid only
    f.controller.applyQuality(copy);
    EXPECT_EQ(f.quality.implicitGrid, 20);
    EXPECT_EQ(f.plots.started.size(), 1u);

    copy.implicit3dGrid = 12;
    f.controller.applyQuality(copy);
    EXPECT_EQ(f.quality.implicit3dGrid, 12);
    EXPECT_EQ(f.plots.started.size(), 2u);

    f.engine.working.store(1);
    copy.implicit3dGrid = 32;
    f.controller.applyQuality(copy);
    EXPECT_EQ(f.engine.abortRequested.load(), 1);
    EXPECT_EQ(f.view.selected, 0);
    EXPECT_EQ(f.quality.implicit3dGrid, 32);
    EXPECT_EQ(f.plots.started.size(), 2u);  // Input cleared the ready flag
}

TEST(ShellController, TabCommandsWaitForTheStatementThread) {
    Fixture f;
    f.plots.add(0);
    f.plots.add(0);
    f.plots.add(0);
    f.select(2);
    f.engine.working.store(1);
    f.view.statement = true;
    f.controller.closeSelectedTab();
    f.controller.closeOtherTabs();
    EXPECT_EQ(f.view.tabs.size(), 4u);
    EXPECT_EQ(f.view.output, "Error: Already Working\r\nError: Already Working\r\n");
    // A precalculation does not hold them up: the registry stops it.
    f.view.statement = false;
    f.controller.closeSelectedTab();
    EXPECT_EQ(f.view.tabs.size(), 3u);
}

// The registry's tab calls and the controller's view share one strip, as
// the window's tab bar is shared.
class StripHost : public PlotHost {
public:
    StripHost(RecordingView& view, ShellController& controller) : view_(view), controller_(controller) {}
    int tabCount() override { return view_.tabCount(); }
    void insertTab(int position, std::string_view title) override {
        view_.tabs.insert(view_.tabs.begin() + position, std::string(title));
    }
    void removeTab(int position) override {
        if (view_.selected > position) --view_.selected;
        view_.tabs.erase(view_.tabs.begin() + position);
    }
    int selectedTab() override { return view_.selected; }
    void selectTab(int position) override {
        view_.selected = position;
        controller_.tabChanged(position);
    }
    void setStatusText(std::string_view text) override { view_.status = text; }
    void appendOutput(std::string_view text) override { view_.output += text; }
    void repaintPlot() override { ++view_.repaints; }

private:
    RecordingView& view_;
    ShellController& controller_;
};

struct RegistryFixture {
    shelltest::ShellEngine t;
    PlotRegistry& registry = plotRegistry(t.engine);
    RecordingView view;
    RegistryPlotTabs plots{registry};
    ShellController controller{t.engine, view, plots, registry.display, registry.quality};
    StripHost host{view, controller};
    RegistryFixture() { registry.setHost(&host); }
    ~RegistryFixture() {
        registry.waitForWorker();
        registry.setHost(nullptr);
    }
    void select(int tab) {
        view.selected = tab;
        controller.tabChanged(tab);
        registry.waitForWorker();
    }
    std::vector<int> tabIndexes() {
        std::vector<int> out;
        for (int slot = 0; slot < kPlotSlots; ++slot)
            out.push_back(registry.record(slot) ? registry.record(slot)->tabIndex : -1);
        out.resize(6);
        return out;
    }
};

TEST(ShellController, RegistryTabBookkeeping) {
    RegistryFixture f;
    EXPECT_EQ(f.t.run("plot(x,x,0,1)\nplot(x^2,x,0,1)\nplot3d(u*w,u,0,1,w,0,1)"),
              ">  (plot) Created Plot 0\r\n>  (plot) Created Plot 1\r\n>  (plot3d) Created Plot 2\r\n");
    EXPECT_EQ(f.view.tabs, (std::vector<std::string>{"Input", "Plot 0", "Plot 1", "Plot 2"}));

    f.select(3);
    EXPECT_TRUE(f.plots.meshReady());
    EXPECT_EQ(f.plots.shownPlot(), 2);
    EXPECT_TRUE(f.view.commands[kCmdExport]);

    // delplot(1): the plot in slot 2 moves to tab 2, the selection with it.
    EXPECT_EQ(f.t.run("delplot(1)"), ">  (delplot) Plot 1 deleted\r\n");
    EXPECT_EQ(f.view.tabs, (std::vector<std::string>{"Input", "Plot 0", "Plot 2"}));
    EXPECT_EQ(f.tabIndexes(), (std::vector<int>{1, -1, 2, -1, -1, -1}));
    EXPECT_EQ(f.view.selected, 2);

    // The next plot takes slot 1 and the tab at the end.
    f.t.run("plot(2*x,x,0,1)");
    EXPECT_EQ(f.view.tabs, (std::vector<std::string>{"Input", "Plot 0", "Plot 2", "Plot 1"}));
    EXPECT_EQ(f.tabIndexes(), (std::vector<int>{1, 3, 2, -1, -1, -1}));

    // Deleting the selected plot returns to Input and leaves plot mode.
    f.t.run("delplot(2)");
    EXPECT_EQ(f.view.selected, 0);
    EXPECT_FALSE(f.view.plotVisible);
    EXPECT_FALSE(f.plots.meshReady());
    EXPECT_EQ(f.view.status, "Vexalo");

    // Close Other Tabs from the last tab.
    f.t.run("plot(3*x,x,0,1)\nplot(4*x,x,0,1)");
    EXPECT_EQ(f.view.tabs.size(), 5u);
    f.select(3);
    f.controller.closeOtherTabs();
    EXPECT_EQ(f.view.tabs, (std::vector<std::string>{"Input", "Plot 2"}));
    EXPECT_EQ(f.tabIndexes(), (std::vector<int>{-1, -1, 1, -1, -1, -1}));
    EXPECT_EQ(f.view.selected, 1);
    f.controller.closeSelectedTab();
    EXPECT_EQ(f.view.tabs, (std::vector<std::string>{"Input"}));
}

}  // namespace
}  // namespace vx
