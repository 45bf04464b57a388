#pragma once
// What the window logic asks of the window: the tab strip, enabling of
// menu items and toolbar buttons, which page shows, the status bar and the
// output pane. The desktop window implements it; tests use a recorder.
#include <string_view>

#include "shell/commands.h"

namespace vx {

class ShellView {
public:
    virtual ~ShellView() = default;
    virtual int tabCount() const = 0;
    virtual int selectedTab() const = 0;
    // Selects a tab without running the tab-change steps again.
    virtual void selectTab(int index) = 0;
    virtual void setCommandEnabled(CommandId command, bool enabled) = 0;
    virtual void setButtonEnabled(int button, bool enabled) = 0;
    virtual void setSaveButtonMode(int mode) = 0;
    // true: the plot area; false: output pane, splitter and input pane.
    virtual void showPlotArea(bool plot) = 0;
    virtual void setStatusText(std::string_view text) = 0;
    virtual void appendOutput(std::string_view text) = 0;
    virtual void repaintPlot() = 0;
    // The settings sheet, when open, shows this kind on its Quality page.
    virtual void showKindOnQualityPage(int kind) = 0;
    // A submission or batch runs on the statement thread (as opposed to a
    // plot precalculation, which the registry stops by itself).
    virtual bool statementRunning() const = 0;
};

}  // namespace vx
