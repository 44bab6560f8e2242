#pragma once
// What the simulation asks of the in-game widgets: bind a static text to a
// shared string, move a slider, show or hide a scene, replace the text of a
// multi-line box. The game installs the implementation that drives the GUI;
// with none installed (a run without an interface) the calls do nothing, as
// when the widget does not exist.
#include <cstdint>
#include <string>

class C3DFont;
class C3DImage;
struct StringHolder;

class SimulationWidgets {
 public:
  virtual ~SimulationWidgets() = default;
  virtual void BindText(const std::string& widget, StringHolder* holder) = 0;
  virtual void SetSliderValue(const std::string& widget, int32_t value) = 0;
  // Scenes are shown with GUI message 30 and hidden with 31.
  virtual void ShowScene(const std::string& scene, bool visible) = 0;
  virtual void SetMultiLineText(const std::string& scene, const std::string& box, const std::string& text) = 0;
  // A static text's text, in `font` unless that is null, placed beside the
  // pointer (the land tooltip).
  virtual void SetLabelText(const std::string& widget, const std::string& text, C3DFont* font) {
    (void)widget, (void)text, (void)font;
  }
  // The widget's picture shows `image` (its material's first layer; the
  // mini-map).
  virtual void SetWidgetImage(const std::string& widget, C3DImage* image) { (void)widget, (void)image; }
};

// The installed widgets, or null. Installing replaces; null uninstalls.
SimulationWidgets* GetSimulationWidgets();
void SetSimulationWidgets(SimulationWidgets* widgets);
