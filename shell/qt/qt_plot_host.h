#pragma once
// The plot registry's view of the window. The registry calls it from the
// statement thread (plot commands, delplot), from the precalculation
// worker (status, output, repaint) and from the window thread (closing
// tabs). It keeps its own copy of the tab strip so that any thread gets an
// answer at once, and hands every change to the window's thread in order.
#include <QPointer>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "plot/plot_host.h"

namespace vx {

class MainWindow;

// The worker's status text when a precalculation fails.
constexpr std::string_view kPrecalculationFailed = "Error while precalculating!";

class QtPlotHost : public PlotHost {
public:
    explicit QtPlotHost(MainWindow* window);

    int tabCount() override;
    void insertTab(int position, std::string_view title) override;
    void removeTab(int position) override;
    int selectedTab() override;
    void selectTab(int position) override;
    void setStatusText(std::string_view text) override;
    void appendOutput(std::string_view text) override;
    void repaintPlot() override;

    // The window selected a tab itself (a click, or the tab-change steps).
    void noteSelected(int position);

private:
    template <typename F>
    void onWindow(F&& f);

    QPointer<MainWindow> window_;
    std::mutex mutex_;
    std::vector<std::string> tabs_{"Input"};
    int selected_ = 0;
    std::string lastOutput_;  // the text the worker appended last
};

}  // namespace vx
