#pragma once
// The build-menu screen ("BuildMenu"): the sliding panel listing the
// building types of one build category on four item buttons, with the name,
// footprint and price of the hovered type; a click on an item makes a new
// object of that type the one being placed. The construction side reaches it
// through the ActionBuildMenu interface.
#include <cstdint>
#include <string>
#include <vector>

#include "simulation/ActionBuildMenu.h"

class cBuildableObject;
class cCore_GlobalWrapper;
class cKV9_GlobalWrapper;
class GUIEntity;

class BuildMenuScreen final : public ActionBuildMenu {
 public:
  static constexpr uint32_t kNoCategory = 0xFF;
  static constexpr int kItemButtons = 4;

  explicit BuildMenuScreen(cCore_GlobalWrapper* table);

  CoreStatus Execute(cEntity_Base* target, uintptr_t source, const std::string& params) override;
  // Closed, no category, scroll values at their top; the panel slid out.
  void Reset() override { Initialize(); }
  void Initialize();
  void ShowCategory(uint32_t category, bool force) override;
  // Hides the highlight and empties the name, dimensions and cost texts.
  void RefreshInfo() override;
  void StartRoadPlacement() override;
  // True when any storage type's technology level is reached.
  bool HasStorageItems();

  bool moving = false;
  int32_t shownOffset[7] = {};
  int32_t scrollValue[7] = {};
  std::vector<cBuildableObject*> items;  // not owned

  // The first of items shown on button 0.
  int32_t ListOffset() const;

 private:
  CoreStatus ToggleMenu(uintptr_t source);
  void CollectCategoryItems();
  void RefreshItemButtons();
  void RefreshStorageButton();
  void ShowInfo(cBuildableObject* type);
  CoreStatus SelectObject(GUIEntity* target, int32_t button);
  void SetText(const char* widget, const std::string& text);
  void EnableBar(bool enabled);
  cBuildableObject* ItemOnButton(int32_t button) const;

  cKV9_GlobalWrapper* table_ = nullptr;
};
