// Where the land plot hooks into the running game while a world exists: the
// translucent pass, the input lists, its fonts, and the switch between the
// game view and the overview.
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "engine/services/C3DFont.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "scene/AlphaManager.h"
#include "scene/KV9InputManager.h"

namespace {

constexpr uint32_t kFontFlags = 8;

}  // namespace

// Our own faces under our own name, at 12 pixels: plain, and red and green
// for the land price tooltip.
const char* const cEntity_GamePlot::kFontNames[kFontCount] = {
    "Interface\\Common\\Fonts\\Tarmac_12.jfn",
    "Interface\\Common\\Fonts\\RedTarmac_12.jfn",
    "Interface\\Common\\Fonts\\GreenTarmac_12.jfn",
};

void cEntity_GamePlot::LoadFonts() {
  Core3D* renderer = Renderer();
  if (!renderer) return;
  for (uint32_t i = 0; i < kFontCount; ++i)
    if (!fonts_[i]) fonts_[i] = renderer->CreateFont(kFontFlags, kFontNames[i]);
}

void cEntity_GamePlot::ReleaseFonts() {
  Core3D* renderer = Renderer();
  for (C3DFont*& font : fonts_) {
    if (font && renderer) renderer->ReleaseResource(font);
    font = nullptr;
  }
}

void cEntity_GamePlot::RegisterWithGame() {
  if (!table_) return;
  if (table_->alphaManager && !alphaRegistered_) {
    table_->alphaManager->AddUpdatee(this);
    alphaRegistered_ = true;
  }
  cCore_Base_InputMGR* input = table_->inputManager;
  if (input && !inputRegistered_) {
    input->AddKeySocket(this);
    input->AddMouseSocket(this);
    inputRegistered_ = true;
  }
}

void cEntity_GamePlot::UnregisterFromGame() {
  if (!table_) return;
  if (alphaRegistered_ && table_->alphaManager) table_->alphaManager->RemoveUpdatee(this);
  alphaRegistered_ = false;
  cCore_Base_InputMGR* input = table_->inputManager;
  if (inputRegistered_ && input) {
    input->RemoveKeySocket(this);
    input->RemoveMouseSocket(this);
  }
  inputRegistered_ = false;
}

void cEntity_GamePlot::ToggleCostView() {
  if (overview_) return;
  costView_ = !costView_;
  if (!costView_) PauseClock();
}

void cEntity_GamePlot::SetGameViewActive(bool active) {
  overview_ = !active;
  if (active) {
    ClearTaggedMesh();
    if (resumeOnView_) {
      ResumeClock();
    } else {
      ResetPlaneMaterial();
    }
    UpdateMiniMap();
    return;
  }
  BuildTaggedMesh();
  if (!costView_) PauseClock();
  if (cEntity_BuildingManager* buildings = table_ ? table_->buildingManager : nullptr)
    buildings->SetPlacementObject(nullptr, true);
}
