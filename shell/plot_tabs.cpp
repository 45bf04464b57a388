#include "shell/plot_tabs.h"

#include "plot/plot_registry.h"

namespace vx {

int RegistryPlotTabs::slotAtTab(int tab) const { return registry_.slotForTab(tab); }

int RegistryPlotTabs::kindOfSlot(int slot) const {
    const PlotRecord* r = registry_.record(slot);
    return r ? static_cast<int>(r->kind) : -1;
}

void RegistryPlotTabs::deletePlotByTab(int tab) { registry_.deletePlotByTab(tab); }
void RegistryPlotTabs::startPrecalculation(int slot) { registry_.startPrecalculation(slot); }
int RegistryPlotTabs::shownPlot() const { return registry_.shownPlot.load(); }
bool RegistryPlotTabs::meshReady() const { return registry_.meshReady.load() != 0; }
void RegistryPlotTabs::setMeshReady(bool ready) { registry_.meshReady.store(ready ? 1 : 0); }

PlotRecord* RegistryPlotTabs::record(int slot) { return registry_.record(slot); }

}  // namespace vx
