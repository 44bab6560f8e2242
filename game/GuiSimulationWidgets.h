#pragma once
// The simulation's widget requests carried out on the GUI service's widget
// tree: labels bound to shared strings, scenes shown and hidden with the
// on and off messages, multi-line boxes given their text. The game installs
// one for the table's GUI while it runs.
#include "simulation/SimulationWidgets.h"

class cCore_GlobalWrapper;

class GuiSimulationWidgets : public SimulationWidgets {
 public:
  // Installs itself; the one installed before comes back when it goes.
  explicit GuiSimulationWidgets(cCore_GlobalWrapper* table);
  ~GuiSimulationWidgets() override;
  GuiSimulationWidgets(const GuiSimulationWidgets&) = delete;
  GuiSimulationWidgets& operator=(const GuiSimulationWidgets&) = delete;

  void BindText(const std::string& widget, StringHolder* holder) override;
  // The GUI has no sliders yet: the request names the widget in a debug
  // line and changes nothing.
  void SetSliderValue(const std::string& widget, int32_t value) override;
  void ShowScene(const std::string& scene, bool visible) override;
  void SetMultiLineText(const std::string& scene, const std::string& box, const std::string& text) override;
  void SetLabelText(const std::string& widget, const std::string& text, C3DFont* font) override;
  void SetWidgetImage(const std::string& widget, C3DImage* image) override;

 private:
  cCore_GlobalWrapper* table_;
  SimulationWidgets* previous_;
};
