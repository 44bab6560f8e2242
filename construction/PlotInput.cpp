// The plot as the game world's input socket: the pointer becomes a plot
// cell, the cell drives the placement highlight, the land purchase drags (in
// the fixed land view) or the building hand; and the in-game shortcuts.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "construction/BOInstance.h"
#include "construction/BuildPlacement.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/GameNeighbours.h"
#include "construction/GamePlot.h"
#include "construction/OID.h"
#include "engine/config/ConfigManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/frame/BaseCamera.h"
#include "engine/frame/GameManager.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/InputPackets.h"
#include "engine/services/Panelis.h"
#include "gui/core/GUIEntity.h"
#include "platform/DebugOutput.h"
#include "platform/Paths.h"
#include "scene/SceneCamera.h"
#include "simulation/ActionBuildMenu.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"
#include "simulation/SimulationWidgets.h"

namespace {

constexpr CoreStatus kNotHandled = static_cast<CoreStatus>(0x80004005);
constexpr uint32_t kShowWidget = 30;
constexpr uint32_t kHideWidget = 31;
constexpr uint8_t kRightButton = 2;

// DirectInput scan codes of the shortcuts.
enum Key : uint8_t {
  kKeyEscape = 0x01,
  kKey1 = 0x02,
  kKeyTab = 0x0F,
  kKeyE = 0x12,
  kKeyR = 0x13,
  kKeyT = 0x14,
  kKeyP = 0x19,
  kKeyLeftBracket = 0x1A,
  kKeyRightBracket = 0x1B,
  kKeyA = 0x1E,
  kKeyS = 0x1F,
  kKeyF = 0x21,
  kKeyGrave = 0x29,
  kKeyB = 0x30,
  kKeyN = 0x31,
  kKeyM = 0x32,
  kKeyF5 = 0x3F,
  kKeyF9 = 0x43,
  kKeyPadMinus = 0x4A,
  kKeyPadPlus = 0x4E,
  kKeyF11 = 0x57,
  kKeyDelete = 0xD3,
};

// The build-category shortcuts: key, category button, category.
struct CategoryKey {
  uint8_t key;
  const char* button;
  int category;
};
constexpr CategoryKey kCategoryKeys[] = {
    {kKeyS, "btnBMCScenery", 0},           {kKeyP, "btnBMCPublicServices", 1},
    {kKeyA, "btnBMCAirportSupport", 2},    {kKeyF, "btnBMCStorageFacilities", 3},
    {kKeyN, "btnBMCAirsideNavigation", 4}, {kKeyT, "btnBMCTransportation", 5},
    {kKeyE, "btnBMCEmergencyServices", 6},
};

// Screenshot names are tried from 1 up to this; a folder this full gets no
// more.
constexpr int kMaxScreenShots = 100000;

GUIEntity* FindWidget(cKV9_GlobalWrapper* table, const char* name) {
  return table && table->gui ? table->gui->FindEntity(name) : nullptr;
}

}  // namespace

cBuildPlacement& cEntity_GamePlot::Placement() {
  if (!table_) table_ = GameTableOf(this);
  if (!hand_) hand_ = std::make_shared<cBuildPlacement>(table_);
  hand_->SetTable(table_);
  return *hand_;
}

bool cEntity_GamePlot::IsLandView() {
  SceneCamera* camera = SceneCameraOf(table_);
  return camera && camera->fixedView;
}

// --- Pointer ----------------------------------------------------------------------

bool cEntity_GamePlot::WorldPointToViewCell(float wx, float wz, int32_t* cx, int32_t* cz) {
  const float rx = wx - originX_;
  const float rz = wz + originZ_;
  const bool inside = rx > 0.0f && rx < worldSizeX_ && rz > 0.0f && rz < worldSizeZ_;
  const float sx = viewWidth_ ? worldSizeX_ / viewWidth_ : 1.0f;
  const float sz = viewHeight_ ? worldSizeZ_ / viewHeight_ : 1.0f;
  // Far-off points are held to the grid before the integer conversion.
  const float fx = std::clamp(std::trunc(rx / sx), 0.0f, static_cast<float>(std::max(1, int{viewWidth_}) - 1));
  const float fz = std::clamp(std::trunc(rz / sz), 0.0f, static_cast<float>(std::max(1, int{viewHeight_}) - 1));
  *cx = std::isfinite(fx) ? static_cast<int32_t>(fx) : 0;
  *cz = std::isfinite(fz) ? static_cast<int32_t>(fz) : 0;
  return inside;
}

bool cEntity_GamePlot::PickCell(int32_t* cx, int32_t* cz) {
  overPlot_ = PickCellAt(pointerX_, pointerY_, cx, cz);
  return overPlot_;
}

bool cEntity_GamePlot::PickCellAt(int32_t x, int32_t y, int32_t* cx, int32_t* cz) {
  *cx = *cz = 0;
  if (!table_) table_ = GameTableOf(this);
  cGameManager* game = GameManagerOf(table_);
  cEntity_BaseCamera* camera = game ? game->GetCamera() : nullptr;
  if (!camera || !table_) return false;
  const platform::RECT& rect = table_->clientRect;
  const float w = static_cast<float>(rect.right - rect.left);
  const float h = static_cast<float>(rect.bottom - rect.top);
  if (camera->ScreenToRay(x, y, w, h, &pickStart_, &pickEnd_) < 0) return false;
  const float dy = pickEnd_.y - pickStart_.y;
  if (dy == 0.0f) return false;
  const float t = (GetOriginY() - pickStart_.y) / dy;
  const float hx = pickStart_.x + t * (pickEnd_.x - pickStart_.x);
  const float hz = pickStart_.z + t * (pickEnd_.z - pickStart_.z);
  return WorldPointToViewCell(hx, hz, cx, cz);
}

void cEntity_GamePlot::MovePlacementPreview(int32_t x, int32_t y, int32_t w, int32_t h) {
  if (purchaseActive_ || saleActive_) return;
  highlight_ = PreviewRect{x, y, w, h};
}

void cEntity_GamePlot::ShowPlacementPreview(BOInstance* object, bool valid) {
  previewObject_ = object;
  previewValid_ = object && valid;
}

BOInstance* cEntity_GamePlot::GetPreviewObject() {
  // The manager may have dropped the object since it was previewed.
  cEntity_BuildingManager* manager = table_ ? table_->buildingManager : nullptr;
  return manager && previewObject_ && manager->GetPlacementObject() == previewObject_ ? previewObject_ : nullptr;
}

void cEntity_GamePlot::SetAreaPreview(int32_t x, int32_t y, int32_t w, int32_t l) {
  areaPreview_ = PreviewRect{x, y, w, l};
}

CoreStatus cEntity_GamePlot::OnMouse(MousePacket* packet) {
  if (!packet) return kNotHandled;
  if (!table_) table_ = GameTableOf(this);
  pointerX_ = static_cast<uint16_t>(std::clamp<int32_t>(packet->x, 0, 0xFFFF));
  pointerY_ = static_cast<uint16_t>(std::clamp<int32_t>(packet->y, 0, 0xFFFF));
  int32_t cx = 0, cz = 0;
  const bool hit = PickCell(&cx, &cz);
  cEntity_BuildingManager* manager = table_ ? table_->buildingManager : nullptr;
  const bool inHand = manager && manager->GetPlacementObject();
  if (!inHand) MovePlacementPreview(cx, cz, 1, 1);
  if (!purchaseActive_ && !saleActive_) hover_ = hit;
  if (IsLandView()) {
    HandlePlotMouse(packet, cx, cz);
    return 0;
  }
  if (manager && !inHand && (packet->released & kRightButton)) {
    if (BOInstance* building = manager->GetInstanceAt(cx, cz)) {
      selectedBuilding = building;
      cBuildableObject* type = building->GetType();
      const bool terminal = type && type->GetClass() == kClass_Terminal;
      ShowScene(terminal ? "scnTerminal" : "scnObjectProperties", true);
    }
    packet->pressed = 0;
    packet->held = 0;
    packet->released = kRightButton;
  }
  if (cx >= 0 && cz >= 0) Placement().OnCursorInput(*packet, cx, cz);
  return 0;
}

void cEntity_GamePlot::HandlePlotMouse(MousePacket* packet, int32_t blockX, int32_t blockY) {
  if (!packet) return;
  constexpr uint8_t kLeft = 1;
  if (packet->pressed & kLeft) {
    if (!overPlot_) return;
    MovePlacementPreview(blockX, blockY, 1, 1);
    if (landMode_ == LandMode::Purchasing) {
      BeginPurchaseSelection(blockX, blockY);
    } else if (landMode_ == LandMode::Selling) {
      BeginSaleSelection(blockX, blockY);
    }
    return;
  }
  if (packet->held & kLeft) {
    if (purchaseActive_) ExtendPurchaseSelection(blockX, blockY);
    if (saleActive_) ExtendSaleSelection(blockX, blockY);
    return;
  }
  if (!(packet->released & kLeft)) return;
  if (landMode_ == LandMode::Purchasing && purchaseActive_) {
    PurchaseSelection();
  } else if (landMode_ == LandMode::Selling && saleActive_) {
    ConfirmSale();
  } else {
    ClearPurchaseState();
    saleActive_ = false;
    saleList_.clear();
  }
}

// --- Keys ----------------------------------------------------------------------------

CoreStatus cEntity_GamePlot::OnKey(KeyboardPacket* packet) {
  if (!packet || packet->released) return kNotHandled;
  if (!table_) table_ = GameTableOf(this);
  const bool ctrl = (packet->modifiers & (eKeyMod_RightCtrl | eKeyMod_LeftCtrl)) != 0;
  if (ctrl && OnCtrlKey(packet->scanCode)) return 0;
  return OnPlainKey(packet->scanCode);
}

bool cEntity_GamePlot::OnCtrlKey(uint8_t scanCode) {
  SceneCamera* camera = SceneCameraOf(table_);
  switch (scanCode) {
    case kKey1:
      SetGridLinesVisible(!GetGridLinesVisible());
      return true;
    case kKeyPadPlus:
      if (camera) camera->SetZoom(camera->GetZoom() * 0.5f);
      return true;
    case kKeyPadMinus:
      if (camera) camera->SetZoom(camera->GetZoom() * 1.5f);
      return true;
    default:
      return false;
  }
}

bool cEntity_GamePlot::ToggleScene(const char* scene) {
  GUIEntity* found = FindWidget(table_, scene);
  if (!found) return false;
  const bool visible = *found->IsVisiblePtr() != 0;
  found->OnMessage(reinterpret_cast<uintptr_t>(this), visible ? kHideWidget : kShowWidget, 0);
  return true;
}

void cEntity_GamePlot::SaveScreenShot() {
  Core3D* graphics = table_ ? table_->graphics : nullptr;
  if (!graphics) return;
  const std::string base = table_->entityManager ? table_->entityManager->GetResourcePath() : std::string();
  for (int i = 1; i <= kMaxScreenShots; ++i) {
    char name[40];
    std::snprintf(name, sizeof name, "ScreenShot%i.bmp", i);
    std::string existing;
    if (platform::ResolvePath(name, &existing, base)) continue;
    std::string target;
    if (!platform::ResolvePathForWrite(name, &target, base)) target = base + name;
    if (!graphics->SaveScreenshot(target))
      platform::DebugPrintf("[cEntity_GamePlot::OnKey] the screenshot %s was not written\n", target.c_str());
    return;
  }
  platform::DebugPrintf("[cEntity_GamePlot::OnKey] no free screenshot name left\n");
}

CoreStatus cEntity_GamePlot::OnPlainKey(uint8_t scanCode) {
  cEntity_BuildingManager* manager = table_ ? table_->buildingManager : nullptr;
  SceneCamera* camera = SceneCameraOf(table_);
  ActionBuildMenu* menu = BuildMenuOf(table_);
  switch (scanCode) {
    case kKeyEscape:
      if (IsLandView()) {
        if (purchaseActive_) {
          ClearPurchaseState();
        } else if (saleActive_) {
          CancelSale();
        }
        return 0;
      }
      if (manager && manager->GetPlacementObject()) {
        Placement().SetPlacementObject(nullptr, true);
      } else if (manager && manager->demolishMode) {
        Placement().LeaveDemolishMode();
      } else {
        ShowScene("scnGameDialog", true);
      }
      return 0;
    case kKeyTab:
      Placement().RotatePlacementObject();
      return 0;
    case kKeyM: {
      cCore_ConfigManager* config = table_ ? table_->configManager : nullptr;
      if (config && config->GetWidth() == 640) return kNotHandled;
      ToggleScene("scnMap");
      return 0;
    }
    case kKeyGrave:
      ToggleScene("scnConsole");
      return 0;
    case kKeyB:
      if (camera && camera->fixedView) return 0;
      if (menu) menu->Execute(FindWidget(table_, "btnIGBuildMenu"), 0, "ToggleMenu");
      return 0;
    case kKeyR:
      Placement().LeaveDemolishMode();
      if (menu) menu->StartRoadPlacement();
      return 0;
    case kKeyF9:
    case kKeyF11:
      return 0;
    case kKeyF5:
      SaveScreenShot();
      return 0;
    case kKeyDelete:
      Placement().EnterDemolishMode();
      return 0;
    case kKeyLeftBracket:
    case kKeyRightBracket:
      if (cSimulation_Clock* clock = GameClockOf(table_)) {
        const bool pause = scanCode == kKeyLeftBracket;
        clock->SetSpeed(pause ? 0 : 1);
        clock->keyPause = pause ? 1 : 0;
      }
      return 0;
    default:
      break;
  }
  if (menu && menu->open) {
    for (const CategoryKey& entry : kCategoryKeys) {
      if (entry.key != scanCode) continue;
      char command[32];
      std::snprintf(command, sizeof command, "ActivateCategory %d", entry.category);
      menu->Execute(FindWidget(table_, entry.button), 0, command);
      return 0;
    }
  }
  return kNotHandled;
}
