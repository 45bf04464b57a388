#include "shell/shell_controller.h"

#include <algorithm>

#include "plot/plot_view.h"
#include "shell/settings_model.h"

namespace vx {

namespace {

constexpr CommandId kPlotCommands[] = {kCmdCloseTab, kCmdRecalculate, kCmdZoomIn, kCmdZoomOut, kCmdResetView};
constexpr int kPlotButtons[] = {kBtnCloseTab, kBtnZoomIn, kBtnZoomOut, kBtnResetView};

}  // namespace

void ShellController::enterInputState() {
    plots_.setMeshReady(false);
    saveButtonMode_ = kSaveButtonSaveOutput;
    view_.setSaveButtonMode(saveButtonMode_);
    view_.setCommandEnabled(kCmdExport, false);
    for (CommandId c : kPlotCommands) view_.setCommandEnabled(c, false);
    view_.setButtonEnabled(kBtnSaveOrExport, true);
    for (int b : kPlotButtons) view_.setButtonEnabled(b, false);
    view_.showPlotArea(false);
}

void ShellController::tabChanged(int index) {
    if (engine_.working.load()) {
        engine_.abortRequested.store(1);
        index = 0;
        view_.selectTab(0);
    }
    if (index <= 0) {
        enterInputState();
        view_.setStatusText("Vexalo");
        return;
    }
    int slot = plots_.slotAtTab(index);
    int kind = plots_.kindOfSlot(slot);
    if (slot >= 0) {
        view_.showKindOnQualityPage(qualityPageKind(kind));
        if (slot != plots_.shownPlot() || !plots_.meshReady()) plots_.startPrecalculation(slot);
    }
    for (CommandId c : kPlotCommands) view_.setCommandEnabled(c, true);
    for (int b : kPlotButtons) view_.setButtonEnabled(b, true);
    bool exportable = isExportableKind(kind);
    saveButtonMode_ = exportable ? kSaveButtonExport : kSaveButtonNothing;
    view_.setSaveButtonMode(saveButtonMode_);
    view_.setCommandEnabled(kCmdExport, exportable);
    view_.setButtonEnabled(kBtnSaveOrExport, exportable);
    view_.showPlotArea(true);
}

bool ShellController::refuseWhileWorking() {
    if (!engine_.working.load() || !view_.statementRunning()) return false;
    view_.appendOutput("Error: Already Working\r\n");
    return true;
}

void ShellController::closeSelectedTab() {
    if (refuseWhileWorking()) return;
    int selected = view_.selectedTab();
    if (selected > 0) closeTab(selected);
}

void ShellController::closeOtherTabs() {
    if (refuseWhileWorking()) return;
    int selected = view_.selectedTab();
    int before = (selected > 0 ? selected : view_.tabCount()) - 1;
    for (int k = 0; k < before; ++k) closeTab(1);
    int after = view_.tabCount() - 2;
    for (int k = 0; k < after; ++k) closeTab(2);
}

void ShellController::abortToInput() {
    engine_.abortRequested.store(1);
    view_.selectTab(0);
    tabChanged(0);
}

void ShellController::recalculate() {
    if (engine_.working.load()) abortToInput();
    if (plots_.meshReady()) {
        plots_.setMeshReady(false);
        plots_.startPrecalculation(plots_.shownPlot());
    }
}

void ShellController::stop() {
    if (engine_.working.load()) engine_.abortRequested.store(1);
}

void ShellController::zoom(ZoomDirection direction) {
    // A running batch may be resizing a canvas.
    if (!plots_.meshReady() || engine_.working.load()) return;
    if (PlotRecord* record = plots_.record(plots_.shownPlot())) zoomPlot(*record, display_, direction);
    view_.repaintPlot();
}

void ShellController::resetView() {
    if (!plots_.meshReady() || engine_.working.load()) return;
    if (PlotRecord* record = plots_.record(plots_.shownPlot())) resetPlotView(*record);
    view_.repaintPlot();
}

int ShellController::qualityPageStartKind() const {
    if (!plots_.meshReady()) return 0;
    return qualityPageKind(plots_.kindOfSlot(plots_.shownPlot()));
}

void ShellController::applyQuality(const QualitySettings& workingCopy) {
    bool differs = qualityDiffers(workingCopy, quality_, plots_.kindOfSlot(plots_.shownPlot()));
    if (differs && engine_.working.load()) abortToInput();
    quality_ = workingCopy;
    if (differs && plots_.meshReady()) {
        plots_.setMeshReady(false);
        plots_.startPrecalculation(plots_.shownPlot());
    }
}

}  // namespace vx
