#include "plot/plot_registry.h"

#include <string>

namespace vx {

PlotRegistry::PlotRegistry() = default;

PlotRegistry::~PlotRegistry() {
    stopWorker();
    for (int slot = 0; slot < kPlotSlots; ++slot) deletePlot(slot);
    freeMeshBuffers();
}

int PlotRegistry::createPlot(ErrorText& message, std::string_view command, PlotRecord record) {
    std::string name(command);
    int slot = 0;
    while (slot < kPlotSlots && slots[static_cast<size_t>(slot)].inUse) ++slot;
    if (slot == kPlotSlots) {
        message.fail("(%s) Too Many Plots", name.c_str());
        return -1;
    }
    PlotRecord& stored = slots[static_cast<size_t>(slot)];
    stored = std::move(record);
    stored.inUse = 1;
    stored.tabIndex = host().tabCount();
    host().insertTab(stored.tabIndex, "Plot " + std::to_string(slot));
    message.fail("(%s) Created Plot %i", name.c_str(), slot);
    return slot;
}

bool PlotRegistry::deletePlot(int slot) {
    PlotRecord* doomed = record(slot);
    if (!doomed) return false;
    stopWorker();
    int tab = doomed->tabIndex;
    for (PlotRecord& r : slots)
        if (r.inUse && r.tabIndex > tab) --r.tabIndex;
    if (host().selectedTab() == tab) {
        host().selectTab(0);
        meshReady.store(0);
    }
    host().removeTab(tab);
    if (shownPlot.load() == slot) meshReady.store(0);
    // Releases the expressions, names and canvas elements together.
    *doomed = PlotRecord{};
    return true;
}

void PlotRegistry::deletePlotByTab(int tabIndex) {
    int slot = slotForTab(tabIndex);
    if (slot >= 0) deletePlot(slot);
}

PlotRecord* PlotRegistry::record(int slot) {
    if (slot < 0 || slot >= kPlotSlots || !slots[static_cast<size_t>(slot)].inUse) return nullptr;
    return &slots[static_cast<size_t>(slot)];
}

int PlotRegistry::slotForTab(int tabIndex) const {
    for (int slot = 0; slot < kPlotSlots; ++slot)
        if (slots[static_cast<size_t>(slot)].inUse && slots[static_cast<size_t>(slot)].tabIndex == tabIndex)
            return slot;
    return -1;
}

PlotRegistry& plotRegistry(Engine& engine) {
    PlotRegistry& registry = engine.extension<PlotRegistry>();
    if (!registry.engine()) registry.bind(engine);
    return registry;
}

}  // namespace vx
