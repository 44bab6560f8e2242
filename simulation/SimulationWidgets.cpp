#include "simulation/SimulationWidgets.h"

namespace {
SimulationWidgets* g_widgets = nullptr;
}

SimulationWidgets* GetSimulationWidgets() { return g_widgets; }
void SetSimulationWidgets(SimulationWidgets* widgets) { g_widgets = widgets; }
