#include "game/GuiSimulationWidgets.h"

#include "engine/services/C3DBaseShader.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "gui/core/GUIMLTextBox.h"
#include "gui/core/GUIStaticText.h"
#include "platform/DebugOutput.h"

namespace {

// The widget messages that turn a scene or button on and off.
constexpr uint32_t kWidgetOn = 30;
constexpr uint32_t kWidgetOff = 31;

}  // namespace

GuiSimulationWidgets::GuiSimulationWidgets(cCore_GlobalWrapper* table)
    : table_(table), previous_(GetSimulationWidgets()) {
  SetSimulationWidgets(this);
}

GuiSimulationWidgets::~GuiSimulationWidgets() {
  if (GetSimulationWidgets() == this) SetSimulationWidgets(previous_);
}

void GuiSimulationWidgets::BindText(const std::string& widget, StringHolder* holder) {
  Panelis* gui = table_ ? table_->gui : nullptr;
  if (auto* label = gui ? dynamic_cast<GUIStaticText*>(gui->FindEntity(widget)) : nullptr) label->BindText(holder);
}

void GuiSimulationWidgets::SetSliderValue(const std::string& widget, int32_t value) {
  platform::DebugPrintf("[GuiSimulationWidgets] no slider widgets: %s stays (value %d)\n", widget.c_str(), value);
}

void GuiSimulationWidgets::ShowScene(const std::string& scene, bool visible) {
  Panelis* gui = table_ ? table_->gui : nullptr;
  if (GUIEntity* found = gui ? gui->FindEntity(scene) : nullptr) found->OnMessage(0, visible ? kWidgetOn : kWidgetOff, 0);
}

void GuiSimulationWidgets::SetMultiLineText(const std::string& scene, const std::string& box,
                                            const std::string& text) {
  Panelis* gui = table_ ? table_->gui : nullptr;
  GUIEntity* found = gui ? gui->FindEntity(scene) : nullptr;
  if (auto* textBox = found ? dynamic_cast<GUIMLTextBox*>(found->FindChild(box)) : nullptr) textBox->SetText(text, true);
}

void GuiSimulationWidgets::SetLabelText(const std::string& widget, const std::string& text, C3DFont* font) {
  Panelis* gui = table_ ? table_->gui : nullptr;
  auto* label = gui ? dynamic_cast<GUIStaticText*>(gui->FindEntity(widget)) : nullptr;
  if (!label) return;
  if (font) label->SetFont(font);
  label->SetText(text, true);
}

void GuiSimulationWidgets::SetWidgetImage(const std::string& widget, C3DImage* image) {
  Panelis* gui = table_ ? table_->gui : nullptr;
  GUIEntity* found = gui ? gui->FindEntity(widget) : nullptr;
  if (auto* material = found ? dynamic_cast<C3DMaterialShader*>(found->GetShader()) : nullptr)
    material->SetLayerImage(0, image);
}
