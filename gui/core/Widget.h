#pragma once
// The interactive element: draws its model, turns numeric messages into
// event words fired at the bound actions, passes what it does not take to
// its parent and owns an optional tooltip. Every widget kind derives from it.
#include <cfloat>
#include <cstdint>
#include <string>

#include "gui/core/GUIEntity.h"

class GUIStaticText;

class Widget : public GUIEntity {
 public:
  explicit Widget(cEntity_Manager* owner);
  ~Widget() override;

  // Bounds, plane model, tooltip placement, then "widget_init".
  CoreStatus Initialize() override;
  bool OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) override;
  void Render(Core3D* renderer, C3DPass* pass) override;

  virtual bool CreateTooltip();
  // The widget's plane model, named after its pivot and name.
  virtual bool CreatePlaneModel();
  virtual void UpdateBounds();
  virtual bool HasTooltip() { return tooltip_ != nullptr; }
  virtual std::string GetTooltipText();
  virtual GUIStaticText* GetTooltip() { return tooltip_; }
  virtual void SetTooltipText(const std::string& text);
  // 0 to 9; larger codes are ignored.
  virtual void SetTooltipPosition(uint8_t code);
  virtual uint8_t GetTooltipPosition() { return tooltipPosition_; }
  virtual void SetTooltipDelay(float seconds) { tooltipDelay_ = seconds; }
  virtual float GetTooltipDelay() { return tooltipDelay_; }
  virtual void SetTooltipDuration(float seconds) { tooltipDuration_ = seconds; }
  virtual float GetTooltipDuration() { return tooltipDuration_; }
  virtual void SetAddPivotOffset(uint8_t on) { addPivotOffset_ = on; }
  // Stores the tag and answers the previous one.
  virtual uintptr_t ExchangeTag(uintptr_t tag);
  virtual uintptr_t GetTag() { return tag_; }

  // The plane model name for this widget ("polymesh_planeUL_<name>").
  std::string PlaneModelName() const;
  // Fires an event word with this widget's own text.
  bool Fire(uintptr_t sender, const char* word, const std::string& text = std::string());
  // Spawns a part of this widget, lifts it by dz in front of it and adds it
  // as a child; null when the service cannot make one.
  template <typename T>
  T* AttachPart(int32_t kind, const std::string& name, float dz, bool update);

 protected:
  void ChildLeft(GUIEntity* child) override;
  // Places the tooltip by its position code.
  void PlaceTooltip();
  uintptr_t WorldWord();

  GUIStaticText* tooltip_ = nullptr;
  uint8_t tooltipPosition_ = 2;
  float tooltipDelay_ = 1.0f;
  float tooltipDuration_ = FLT_MAX;
  uint8_t addPivotOffset_ = 0;
  uintptr_t tag_ = 0;
};

// Spawns a widget of a kind through the service and names it; null when
// the service cannot make one.
template <typename T>
T* SpawnPart(Panelis* gui, int32_t kind, const std::string& name) {
  if (!gui) return nullptr;
  GUIEntity* entity = nullptr;
  if (gui->SpawnWidget(kind, &entity) != status::Ok || !entity) return nullptr;
  T* part = dynamic_cast<T*>(entity);
  if (!part) {
    entity->MarkForRemoval();
    return nullptr;
  }
  part->SetName(name);
  return part;
}

template <typename T>
T* Widget::AttachPart(int32_t kind, const std::string& name, float dz, bool update) {
  T* part = SpawnPart<T>(gui_, kind, name);
  if (!part) return nullptr;
  part->MoveBy(0.0f, 0.0f, dz, update);
  AddChild(part, true);
  return part;
}
