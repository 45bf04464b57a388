#pragma once
// The window's tab handling and plot commands, free of any window system:
// the tab-change steps with the enabling rules, closing tabs, Recalculate,
// Zoom and the Quality page's Apply.
#include "engine/engine.h"
#include "plot/settings.h"
#include "plot/view_math.h"
#include "shell/plot_tabs.h"
#include "shell/shell_view.h"

namespace vx {

class ShellController {
public:
    ShellController(Engine& engine, ShellView& view, PlotTabs& plots, DisplaySettings& display,
                    QualitySettings& quality)
        : engine_(engine), view_(view), plots_(plots), display_(display), quality_(quality) {}

    int saveButtonMode() const { return saveButtonMode_; }

    // The tab strip's selection changed to `index`. A running worker is
    // asked to stop and the Input tab comes back instead.
    void tabChanged(int index);
    // The Input tab's state without the status text (window creation).
    void enterInputState();

    // Closing tabs changes the plot registry, which a running statement
    // uses too: while one runs, they are refused. A running precalculation
    // is stopped by the registry itself.
    void closeTab(int position) { plots_.deletePlotByTab(position); }
    void closeSelectedTab();
    // Closes every plot tab but the selected one (all of them on Input).
    void closeOtherTabs();
    void recalculate();
    // Stop: asks a running evaluation or precalculation to end.
    void stop();
    // 2D plots scale their window about its centre; 3D plots step their
    // own zoom within 0 ... 100.
    void zoom(ZoomDirection direction);
    void zoomIn() { zoom(ZoomDirection::In); }
    void zoomOut() { zoom(ZoomDirection::Out); }
    void resetView();

    // The Quality page's Apply with its working copy.
    void applyQuality(const QualitySettings& workingCopy);
    // The kind the Quality page starts with: the shown plot's, else 0.
    int qualityPageStartKind() const;

private:
    void abortToInput();
    bool refuseWhileWorking();

    Engine& engine_;
    ShellView& view_;
    PlotTabs& plots_;
    DisplaySettings& display_;
    QualitySettings& quality_;
    int saveButtonMode_ = kSaveButtonSaveOutput;
};

}  // namespace vx
