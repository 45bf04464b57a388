#pragma once
// What plotting needs from the program around it: the tab strip, the status
// bar, the output pane and a repaint of the plot window. The desktop shell
// implements it with widgets; HeadlessPlotHost keeps the same bookkeeping in
// memory for the terminal runner and the tests.
//
// Threads: tab calls come from the thread that runs plot commands and
// delplot (the statement thread) or from the window thread. setStatusText,
// appendOutput and repaintPlot are also called from the precalculation
// worker; a widget implementation must marshal them to its GUI thread.
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

class PlotHost {
public:
    virtual ~PlotHost() = default;

    virtual int tabCount() = 0;
    // Inserts a plot tab with this title at the position.
    virtual void insertTab(int position, std::string_view title) = 0;
    // Deletes the tab and repaints the strip. The registry selects tab 0
    // first when the tab is the selected one.
    virtual void removeTab(int position) = 0;
    virtual int selectedTab() = 0;
    // Selects the tab and performs the program's tab-change steps (tab 0
    // leaves plot mode and clears the registry's mesh-ready flag).
    virtual void selectTab(int position) = 0;
    virtual void setStatusText(std::string_view text) = 0;
    // Appends text (already ending in CR LF) to the output pane.
    virtual void appendOutput(std::string_view text) = 0;
    // Asks for the plot window to be repainted from the mesh buffers.
    virtual void repaintPlot() = 0;
};

// In-memory tab strip: position 0 is "Input", plot tabs follow in strip
// order. Thread-safe, so that a test can watch a running worker.
class HeadlessPlotHost : public PlotHost {
public:
    HeadlessPlotHost() : tabs_{"Input"} {}

    int tabCount() override;
    void insertTab(int position, std::string_view title) override;
    void removeTab(int position) override;
    int selectedTab() override;
    void selectTab(int position) override;
    void setStatusText(std::string_view text) override;
    void appendOutput(std::string_view text) override;
    void repaintPlot() override;

    // Optional forwarding (the terminal runner prints status texts and
    // worker messages). Called with the host's lock released.
    std::function<void(std::string_view)> onStatus;
    std::function<void(std::string_view)> onOutput;

    std::vector<std::string> tabs() const;
    std::string status() const;                     // the latest status text
    std::vector<std::string> statusHistory() const;  // every text set, in order
    std::string output() const;
    int repaints() const;
    void clearLog();  // forgets status texts, output and repaints

private:
    mutable std::mutex mutex_;
    std::vector<std::string> tabs_;
    int selected_ = 0;
    std::vector<std::string> statusHistory_;
    std::string output_;
    int repaints_ = 0;
};

}  // namespace vx
