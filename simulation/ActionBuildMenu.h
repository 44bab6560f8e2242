#pragma once
// The build-menu screen's action ("BuildMenu"). The screens issue completes
// it.
#include <cstdint>

#include "engine/entity/ActionBase.h"

class ActionBuildMenu : public cAction_Base {
 public:
  ActionBuildMenu() : cAction_Base("BuildMenu") {}

  // Rebuilds the item buttons of the category (forced: also when it is
  // already shown).
  virtual void ShowCategory(uint32_t category, bool force) = 0;
  // Updates the highlight and the name, dimensions and cost texts.
  virtual void RefreshInfo() = 0;
  virtual void StartRoadPlacement() = 0;

  uint8_t open = 0;
  // The category shown now.
  uint32_t currentCategory = 0;
};
