#include "construction/BuildPlacement.h"

#include <algorithm>
#include <cstdlib>

#include "base/StringUtil.h"
#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/Facilities.h"
#include "construction/GameNeighbours.h"
#include "construction/GamePlot.h"
#include "construction/OID.h"
#include "construction/RoadManager.h"
#include "construction/TaxiwayManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "scene/AudioManager.h"
#include "scene/KV9InputManager.h"
#include "scene/SceneCamera.h"
#include "scene/SceneCursor.h"
#include "simulation/ActionBuildMenu.h"
#include "simulation/GameScenario.h"
#include "simulation/SimulationWidgets.h"
#include "simulation/StatManager.h"

namespace {

constexpr uint8_t kRoadClass = 4;
// A placement preview floats this far above the ground so it is not hidden
// by the pavement or the plot overlays beneath it.
constexpr float kPreviewLift = 0.02f;

// Cell content flags of pavement (low bits of the content word).
constexpr uint32_t kContentTaxiway = 4;
constexpr uint32_t kContentApron = 8;

bool IsLargeForDialog(BOInstance* building) {
  cBuildableObject* type = building ? building->GetType() : nullptr;
  if (!type) return false;
  switch (type->GetClass()) {
    case kClass_Terminal:
    case kClass_Runway:
    case kClass_Amenity:
      return true;
    case kClass_Storage:
      if (auto* storage = dynamic_cast<cStorageFacility*>(type))
        return storage->providesStorage != 0 || storage->providesColdStorage != 0;
      return false;
    default:
      return false;
  }
}

}  // namespace

cBuildPlacement::~cBuildPlacement() {
  ReleasePreview();
  if (previewShader_ && table_ && table_->graphics) table_->graphics->ReleaseResource(previewShader_);
}

cEntity_BuildingManager* cBuildPlacement::Manager() const { return table_ ? table_->buildingManager : nullptr; }

std::string cBuildPlacement::ResourcePath() const {
  return table_ && table_->entityManager ? table_->entityManager->GetResourcePath() : std::string();
}

void cBuildPlacement::ShowDialog(const char* scene, bool visible) {
  if (SimulationWidgets* widgets = GetSimulationWidgets()) widgets->ShowScene(scene, visible);
}

// --- Cursor events -------------------------------------------------------------

void cBuildPlacement::OnCursorInput(const MousePacket& packet, int32_t x, int32_t y) {
  cEntity_GamePlot* plot = table_ ? table_->gamePlot : nullptr;
  cEntity_BuildingManager* manager = Manager();
  if (!plot || !manager) return;
  // Land not owned, or outside the grid: nothing to act on.
  if (x < 0 || y < 0 || x >= plot->GetWidth() || y >= plot->GetHeight()) return;
  if ((plot->GetCellWord(static_cast<uint32_t>(y) * plot->GetWidth() + static_cast<uint32_t>(x)) & 0xFF) == 0) return;
  const MousePacket& l = last_.packet;
  if (lastValid_ && last_.x == x && last_.y == y && l.pressed == packet.pressed && l.held == packet.held &&
      l.released == packet.released && packet.dz == 0)
    return;
  last_ = CursorEvent{packet, x, y};
  lastValid_ = true;

  if (manager->demolishMode && (packet.pressed & kLeft) && !manager->GetPlacementObject()) {
    if (IsLargeForDialog(manager->GetInstanceAt(x, y))) {
      pending_ = CursorEvent{packet, x, y};
      pendingValid_ = true;
      ShowDialog("scnDemolishDlg", true);
      return;
    }
  }
  if (!manager->GetPlacementObject()) {
    OnSelectInput(packet, x, y);
  } else {
    OnPlacementInput(packet, x, y);
  }
}

void cBuildPlacement::AcceptDemolish() {
  ShowDialog("scnDemolishDlg", false);
  if (!pendingValid_) return;
  pendingValid_ = false;
  const CursorEvent event = pending_;
  cEntity_BuildingManager* manager = Manager();
  if (!manager) return;
  if (!manager->GetPlacementObject()) {
    OnSelectInput(event.packet, event.x, event.y);
  } else {
    OnPlacementInput(event.packet, event.x, event.y);
  }
}

void cBuildPlacement::CancelDemolish() {
  pendingValid_ = false;
  ShowDialog("scnDemolishDlg", false);
}

void cBuildPlacement::OnSelectInput(const MousePacket& packet, int32_t x, int32_t y) {
  cEntity_GamePlot* plot = table_ ? table_->gamePlot : nullptr;
  cEntity_BuildingManager* manager = Manager();
  if (!plot || !manager) return;
  if (BOInstance* building = manager->GetInstanceAt(x, y)) {
    if (manager->demolishMode && (packet.pressed & kLeft)) {
      // The building is deleted: a later click must not compare against it.
      if (lastClicked_ == building) lastClicked_ = nullptr;
      if (plot->selectedBuilding == building) plot->selectedBuilding = nullptr;
      manager->RemoveInstance(building);
      plot->UpdateMiniMap();
      return;
    }
    const bool rightDown = ((packet.pressed | packet.held) & kRight) != 0;
    if (!(packet.pressed & kLeft) || rightDown) return;
    if (building == lastClicked_ && packet.timeStamp - lastClickTime_ < kDoubleClickTime) {
      float x0 = 0, z0 = 0, x1 = 0, z1 = 0;
      SceneCamera* camera = SceneCameraOf(table_);
      if (camera && plot->GetCellWorldRect(building->x, building->y, &x0, &z0, &x1, &z1, true))
        camera->SetFocusXZ((x0 + x1) * 0.5f, (z0 + z1) * 0.5f);
      return;
    }
    lastClicked_ = building;
    lastClickTime_ = packet.timeStamp;
    return;
  }
  if (!manager->demolishMode) return;
  if (removalDrag_) {
    if (!(packet.released & kLeft)) {
      plot->MovePlacementPreview(std::min(x, removalX_), std::min(y, removalY_), std::abs(x - removalX_),
                                 std::abs(y - removalY_));
      return;
    }
    removalDrag_ = false;
    RemoveStrip(x, y);
    plot->UpdateMiniMap();
    return;
  }
  if (!(packet.pressed & kLeft)) return;
  const PlotCell* cell = plot->GetCellRecord(static_cast<uint32_t>(y) * plot->GetWidth() + static_cast<uint32_t>(x));
  if (!cell) return;
  cEntity_RoadManager* roads = table_->roadManager;
  if ((cell->content & kContentTaxiway) && cell->object) {
    removalMode_ = kDragTaxiway;
  } else if ((cell->content & kContentApron) && cell->object) {
    removalMode_ = kDragApron;
  } else if (roads && roads->GetSectionAt(x, y)) {
    removalMode_ = kDragRoad;
  } else {
    return;
  }
  removalDrag_ = true;
  removalX_ = x;
  removalY_ = y;
}

void cBuildPlacement::RemoveStrip(int32_t x, int32_t y) {
  cEntity_GamePlot* plot = table_->gamePlot;
  const int32_t x0 = std::min(x, removalX_), x1 = std::max(x, removalX_);
  const int32_t y0 = std::min(y, removalY_), y1 = std::max(y, removalY_);
  cEntity_RoadManager* roads = table_->roadManager;
  cEntity_TaxiwayManager* taxiways = table_->taxiwayManager;
  for (int32_t cy = y0; cy <= y1; ++cy) {
    for (int32_t cx = x0; cx <= x1; ++cx) {
      if (removalMode_ == kDragRoad) {
        if (roads) roads->RemoveRoadAt(static_cast<uint16_t>(cx), static_cast<uint16_t>(cy));
        continue;
      }
      // Each removal may split or drop sections: read the cell afresh.
      const PlotCell* cell =
          plot->GetCellRecord(static_cast<uint32_t>(cy) * plot->GetWidth() + static_cast<uint32_t>(cx));
      if (!cell || !cell->object || !taxiways) continue;
      auto* section = static_cast<PavementSection*>(cell->object);
      if (removalMode_ == kDragApron && (cell->content & kContentApron)) {
        taxiways->ClearApronCell(section, static_cast<uint16_t>(cx), static_cast<uint16_t>(cy));
      } else if (removalMode_ == kDragTaxiway && (cell->content & kContentTaxiway)) {
        taxiways->ClearTaxiwayCell(section, static_cast<uint16_t>(cx), static_cast<uint16_t>(cy));
      }
    }
  }
}

void cBuildPlacement::StripFrom(BOInstance* object, int32_t x, int32_t y, int32_t* sx, int32_t* sy, int32_t* w,
                                int32_t* l) const {
  cBuildableObject* type = object->GetType();
  const int32_t tw = std::max<int32_t>(1, type->GetWidthRotated(0));
  const int32_t tl = std::max<int32_t>(1, type->GetLengthRotated(0));
  const int32_t x0 = std::min(x, anchorX_), x1 = std::max(x, anchorX_ + tw - 1);
  const int32_t y0 = std::min(y, anchorY_), y1 = std::max(y, anchorY_ + tl - 1);
  if (y1 - y0 < x1 - x0) {
    *sx = x0;
    *w = x1 - x0 + 1;
    *sy = anchorY_;
    *l = tl;
  } else {
    *sx = anchorX_;
    *w = tw;
    *sy = y0;
    *l = y1 - y0 + 1;
  }
}

void cBuildPlacement::ShowStripPreview(BOInstance* object, int32_t sx, int32_t sy, int32_t w, int32_t l) {
  cEntity_BuildingManager* manager = Manager();
  cEntity_GamePlot* plot = table_->gamePlot;
  manager->SetPlacementPosition(object, static_cast<uint16_t>(sx), static_cast<uint16_t>(sy));
  object->world.m[3][1] += kPreviewLift;
  const bool turned = (object->rotation & 1) != 0;
  const auto pw = static_cast<uint16_t>(std::min<int32_t>(turned ? l : w, 255));
  const auto pl = static_cast<uint16_t>(std::min<int32_t>(turned ? w : l, 255));
  previewMesh_ = BuildPreviewQuad(previewMesh_, pw, pl);
  plot->SetAreaPreview(sx, sy, w, l);
}

void cBuildPlacement::OnPlacementInput(const MousePacket& packet, int32_t x, int32_t y) {
  cEntity_BuildingManager* manager = Manager();
  cEntity_GamePlot* plot = table_ ? table_->gamePlot : nullptr;
  BOInstance* object = manager ? manager->GetPlacementObject() : nullptr;
  if (!plot || !object || !object->GetType()) return;
  const bool pavement = object->GetType()->GetClass() == kRoadClass;
  const bool leftHeld = (packet.held & kLeft) != 0;
  const bool leftReleased = (packet.released & kLeft) != 0;

  bool valid = false;
  if (!pavement || (!leftHeld && !leftReleased)) {
    manager->SetPlacementPosition(object, static_cast<uint16_t>(x), static_cast<uint16_t>(y));
    object->world.m[3][1] += kPreviewLift;
    valid = manager->CanPlaceAt(object, static_cast<uint16_t>(x), static_cast<uint16_t>(y));
    if (pavement) {
      // Between drags the strip preview is the type's footprint under the
      // pointer.
      plot->SetAreaPreview(x, y, std::max<int32_t>(1, object->GetType()->GetWidthRotated(0)),
                           std::max<int32_t>(1, object->GetType()->GetLengthRotated(0)));
    } else {
      plot->ShowPlacementPreview(object, valid);
    }
  }

  if (packet.pressed & kLeft) {
    if (pavement) {
      // The camera holds still while a strip is dragged. (Its fixed land
      // view would send the drag's own packets to the land purchase and
      // hide the pavement being laid.)
      if (SceneCamera* camera = SceneCameraOf(table_)) camera->ResetMotion();
      dragging_ = true;
      anchorX_ = x;
      anchorY_ = y;
      int32_t sx, sy, w, l;
      StripFrom(object, x, y, &sx, &sy, &w, &l);
      ShowStripPreview(object, sx, sy, w, l);
    } else if (valid && object->OnOpen(table_)) {
      CommitBuilding(object, packet, x, y);
    }
    // A commit may have ended placement or handed over a new object.
    object = manager->GetPlacementObject();
    if (!object) return;
  }

  if (pavement && dragging_ && leftHeld) {
    int32_t sx, sy, w, l;
    StripFrom(object, x, y, &sx, &sy, &w, &l);
    ShowStripPreview(object, sx, sy, w, l);
  }
  if (pavement && dragging_ && leftReleased) {
    LayStrip(object, x, y);
    dragging_ = false;
    // Back to a single footprint under the pointer.
    anchorX_ = x;
    anchorY_ = y;
    ShowStripPreview(object, x, y, std::max<int32_t>(1, object->GetType()->GetWidthRotated(0)),
                     std::max<int32_t>(1, object->GetType()->GetLengthRotated(0)));
  }

  if (packet.pressed & kRight) {
    SetPlacementObject(nullptr, true);
    LeaveDemolishMode();
    return;
  }
  if (packet.pressed & kMiddle) RotatePlacementObject();
}

void cBuildPlacement::LayStrip(BOInstance* object, int32_t x, int32_t y) {
  cEntity_BuildingManager* manager = Manager();
  cEntity_GamePlot* plot = table_->gamePlot;
  int32_t sx, sy, w, l;
  StripFrom(object, x, y, &sx, &sy, &w, &l);
  if (sx < 0 || sy < 0 || w <= 0 || l <= 0 || w > 0xFFFF || l > 0xFFFF) return;
  const uint16_t id = object->GetType()->GetId();
  const auto ux = static_cast<uint16_t>(sx), uy = static_cast<uint16_t>(sy);
  const auto uw = static_cast<uint16_t>(w), ul = static_cast<uint16_t>(l);
  bool laid = false;
  if (id == manager->FindTypeIndexByName(kRoadClass, "Road")) {
    if (cEntity_RoadManager* roads = table_->roadManager) {
      laid = roads->PlaceRoad(ux, uy, uw, ul);
      if (laid) {
        roads->FinishRoadPlacement();
      } else {
        roads->DiscardPendingRoads();
      }
    }
  } else if (id == manager->FindTypeIndexByName(kRoadClass, "Taxiway")) {
    if (table_->taxiwayManager) laid = table_->taxiwayManager->AddTaxiway(ux, uy, uw, ul);
  } else if (id == manager->FindTypeIndexByName(kRoadClass, "Apron")) {
    if (table_->taxiwayManager) laid = table_->taxiwayManager->AddApron(ux, uy, uw, ul);
  }
  if (laid) plot->UpdateMiniMap();
}

void cBuildPlacement::CommitBuilding(BOInstance* object, const MousePacket&, int32_t x, int32_t y) {
  cEntity_BuildingManager* manager = Manager();
  cEntity_GamePlot* plot = table_->gamePlot;
  cBuildableObject* type = object->GetType();
  const uint8_t classCode = type->GetClass();
  plot->UpdateMiniMap();
  cEntity_AudioManager* audio = table_->audioManager;
  if (audio) audio->PlaySound(ResourcePath() + BuildSoundForArea(FootprintArea(type)), false, 0);
  manager->FinishPlacement(object, classCode);
  object->world.m[3][1] -= kPreviewLift;
  if (audio && !type->GetSound().empty()) audio->AddBuildingSound(object, type->GetSound(), 1.0f, 6.0f);
  if (classCode == kClass_Service &&
      (str::EqualsNoCase(type->GetName(), "turnaround") || str::EqualsNoCase(type->GetName(), "Plane Maintain"))) {
    object->serviceLevel = 0;
    object->serviceValue = BOInstance::ServiceValueOf(0);
  }
  // The placed object now belongs to the manager's lists: never delete it
  // here.
  cKV9_GlobalWrapper* table = table_;
  const bool shift = table->inputManager && table->inputManager->shiftHeld;
  const double cash = table->statManager ? table->statManager->block.cash : 0.0;
  if (shift && cash > static_cast<double>(type->GetBuildCost())) {
    if (BOInstance* next = manager->SelectBuildingType(classCode, type->GetId(), type->GetLevel())) {
      SetPlacementObject(next, false);
      manager->SetPlacementPosition(next, static_cast<uint16_t>(x), static_cast<uint16_t>(y));
      next->world.m[3][1] += kPreviewLift;
      plot->ShowPlacementPreview(next, manager->CanPlaceAt(next, static_cast<uint16_t>(x), static_cast<uint16_t>(y)));
      return;
    }
  }
  SetPlacementObject(nullptr, false);
}

// --- Placement object ----------------------------------------------------------

void cBuildPlacement::SetPlacementObject(BOInstance* object, bool deleteOld) {
  cEntity_BuildingManager* manager = Manager();
  if (!manager) return;
  cEntity_GamePlot* plot = table_ ? table_->gamePlot : nullptr;
  dragging_ = false;
  manager->SetPlacementObject(object, deleteOld);
  if (object && object->GetType()) {
    cBuildableObject* type = object->GetType();
    if (plot) {
      if (type->GetClass() == kRoadClass) {
        anchorX_ = object->x;
        anchorY_ = object->y;
        ShowStripPreview(object, object->x, object->y, std::max<int32_t>(1, type->GetWidthRotated(0)),
                         std::max<int32_t>(1, type->GetLengthRotated(0)));
        plot->ShowPlacementPreview(nullptr, false);
      } else {
        plot->ShowPlacementPreview(object, manager->CanPlaceAt(object, object->x, object->y));
      }
      plot->SetHighlightVisible(false);
      plot->SetBuildingGridVisible(true);
      plot->SetSelectionSize(1);
    }
    return;
  }
  cEntity_GameScenario* scenario = table_ ? table_->scenario : nullptr;
  if (!scenario || !scenario->noCursor) {
    if (SceneCursor* cursor = SceneCursorOf(table_)) cursor->SetNormal();
  }
  if (plot) {
    plot->SetHighlightVisible(true);
    plot->ShowPlacementPreview(nullptr, false);
    plot->SetAreaPreview(0, 0, 0, 0);
  }
  if (SceneCamera* camera = SceneCameraOf(table_)) camera->secondFlag = 1;
  if (plot) plot->SetBuildingGridVisible(false);
  ReleasePreview();
  if (ActionBuildMenu* menu = BuildMenuOf(table_)) menu->RefreshInfo();
}

void cBuildPlacement::RotatePlacementObject() {
  cEntity_BuildingManager* manager = Manager();
  BOInstance* object = manager ? manager->GetPlacementObject() : nullptr;
  if (!object || !object->GetType() || object->GetType()->GetClass() == kRoadClass) return;
  object->rotation = object->rotation == 0 ? 3 : static_cast<uint8_t>(object->rotation - 1);
  manager->SetPlacementPosition(object, object->x, object->y);
  object->world.m[3][1] += kPreviewLift;
  if (cEntity_GamePlot* plot = table_->gamePlot)
    plot->ShowPlacementPreview(object, manager->CanPlaceAt(object, object->x, object->y));
}

// The manager keeps the mode; the hand also drops its own placement object
// and any removal drag.
bool cBuildPlacement::EnterDemolishMode() {
  cEntity_BuildingManager* manager = Manager();
  if (!manager || manager->demolishMode) return false;
  SetPlacementObject(nullptr, true);
  return manager->EnterDemolishMode();
}

bool cBuildPlacement::LeaveDemolishMode() {
  cEntity_BuildingManager* manager = Manager();
  if (!manager) return false;
  removalDrag_ = false;
  return manager->LeaveDemolishMode();
}

// --- Build sounds ----------------------------------------------------------------

uint32_t cBuildPlacement::FootprintArea(cBuildableObject* type) {
  if (!type) return 0;
  uint8_t count = 0;
  FootprintRect* rects = nullptr;
  type->GetRects(&count, &rects);
  uint32_t area = 0;
  for (uint8_t i = 0; rects && i < count; ++i) area += uint32_t{rects[i].w} * rects[i].l;
  return area;
}

const char* cBuildPlacement::BuildSoundForArea(uint32_t area) {
  if (area <= 36) return "Sounds\\INT_buildsm.wav";
  if (area <= 144) return "Sounds\\INT_buildmed.wav";
  return "Sounds\\INT_buildlg.wav";
}
