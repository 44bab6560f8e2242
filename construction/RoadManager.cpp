#include "construction/RoadManager.h"

#include <algorithm>

#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "construction/PathFinder.h"
#include "construction/QuadModels.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "simulation/SimulationServices.h"
#include "simulation/StatManager.h"

namespace {

// The road type whose build cost prices a run: class 4, level 1.
constexpr uint8_t kRoadClass = 4;
constexpr uint8_t kRoadLevel = 1;

// Plot content bits 1-3 cleared turns owned-empty land (0xFF) into road
// (0xF1); OR-ing 0xFF turns it back.
constexpr uint32_t kRoadClearMask = 14;
constexpr uint32_t kOwnedEmpty = 0xFF;
constexpr uint8_t kMiniMapRoad = 4;
constexpr uint8_t kMiniMapOwned = 14;

void EraseAll(std::vector<RoadSection*>& list, RoadSection* section) {
  list.erase(std::remove(list.begin(), list.end(), section), list.end());
}

void PushOnce(std::vector<RoadSection*>& list, RoadSection* section) {
  if (std::find(list.begin(), list.end(), section) == list.end()) list.push_back(section);
}

}  // namespace

cEntity_RoadManager::cEntity_RoadManager(cEntity_Manager* manager, uint32_t typeWord)
    : cEntity_Base(manager, typeWord), worldMatrix_(JMatrix::Identity()) {}

cEntity_RoadManager::~cEntity_RoadManager() {
  for (RoadSection* section : pending_) {
    // Installed sections stay listed until the pending list is emptied; the
    // cell field owns those.
    if (std::find(sections_.begin(), sections_.end(), section) == sections_.end()) delete section;
  }
  pending_.clear();
  ReleaseModels();
  Exit();
}

CoreStatus cEntity_RoadManager::Exit() {
  Core3D* graphics = Table() ? Table()->graphics : nullptr;
  for (C3DBaseShader*& material : materials_) {
    if (material && graphics) graphics->ReleaseResource(material);
    material = nullptr;
  }
  return status::Ok;
}

// ---------------------------------------------------------------------------
// Neighbours

cKV9_GlobalWrapper* cEntity_RoadManager::Table() { return GameTableOf(this); }

cEntity_GamePlot* cEntity_RoadManager::Plot() {
  cKV9_GlobalWrapper* table = Table();
  return table ? table->gamePlot : nullptr;
}

cPathFinder* cEntity_RoadManager::Finder() {
  cKV9_GlobalWrapper* table = Table();
  return table ? table->pathFinder : nullptr;
}

uint16_t cEntity_RoadManager::PlotWidth() {
  cEntity_GamePlot* plot = Plot();
  return plot ? plot->GetWidth() : 0;
}

uint16_t cEntity_RoadManager::PlotHeight() {
  cEntity_GamePlot* plot = Plot();
  return plot ? plot->GetHeight() : 0;
}

bool cEntity_RoadManager::InPlot(int32_t x, int32_t y) {
  return x >= 0 && y >= 0 && x < PlotWidth() && y < PlotHeight() &&
         CellIndex(x, y) < cells_.CellCount();
}

bool cEntity_RoadManager::CellHasRoad(int32_t x, int32_t y) { return InPlot(x, y) && cells_.Has(CellIndex(x, y)); }

uint8_t cEntity_RoadManager::AccessFacing(int32_t x, int32_t y) {
  cKV9_GlobalWrapper* table = Table();
  if (!table || !table->buildingManager || !InPlot(x, y)) return 4;
  return table->buildingManager->CheckPlacementAt(x, y);
}

// ---------------------------------------------------------------------------
// Queries

RoadSection* cEntity_RoadManager::GetSectionAt(int32_t x, int32_t y) {
  return InPlot(x, y) ? cells_.Get(CellIndex(x, y)) : nullptr;
}

bool cEntity_RoadManager::HasRoadAt(int32_t x, int32_t y) {
  if (CellHasRoad(x, y)) return true;
  if (entranceX_ == kNoCell || entranceY_ == kNoCell) return false;
  const int32_t w = PlotWidth();
  // The lead-in road just outside the plot edge beside the entrance.
  if (y == entranceY_ && ((entranceX_ == 0 && x == -1) || (entranceX_ == w - 1 && x == w))) return true;
  if (x == entranceX_ && ((entranceY_ == 0 && y == -1) || (entranceY_ == PlotHeight() - 1 && y == PlotHeight())))
    return true;
  return false;
}

bool cEntity_RoadManager::GetEntranceCell(uint16_t* x, uint16_t* y) const {
  *x = entranceX_;
  *y = entranceY_;
  return entranceX_ != kNoCell && entranceY_ != kNoCell;
}

void cEntity_RoadManager::SetEntranceCell(uint16_t x, uint16_t y) {
  entranceX_ = x;
  entranceY_ = y;
  if (x == kNoCell || y == kNoCell) entranceNode_ = nullptr;
}

bool cEntity_RoadManager::IsConnectedRoadCell(int32_t x, int32_t y) {
  RoadSection* section = GetSectionAt(x, y);
  if (!section) return false;
  auto reached = [](const cPathNode* node) { return node && node->visited; };
  if (reached(section->startNode) || reached(section->endNode)) return true;
  if (section->kind != RoadAlongX && section->kind != RoadAlongY) return false;
  // A run between two junctions has no node of its own: it is reached when
  // a junction at one of its ends is.
  const int32_t dx = section->kind == RoadAlongX ? 1 : 0;
  const int32_t dy = 1 - dx;
  for (RoadSection* end : {GetSectionAt(section->x - dx, section->y - dy),
                           GetSectionAt(section->LastX() + dx, section->LastY() + dy)}) {
    if (end && end->kind == RoadJunction && reached(end->startNode)) return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Placement

// The quadrants of a cell are the three cells up-left, up-right, down-left
// and down-right of it. Side 0 tests the two left quadrants, 1 the upper, 2
// the right, 3 the lower: true when a tested quadrant is all road.
bool cEntity_RoadManager::WouldCloseSquare(int32_t x, int32_t y, int side) {
  static constexpr int kQuadrants[4][2][2] = {
      {{-1, -1}, {-1, 1}}, {{-1, -1}, {1, -1}}, {{1, -1}, {1, 1}}, {{-1, 1}, {1, 1}}};
  for (const auto& q : kQuadrants[side]) {
    const int qx = q[0];
    const int qy = q[1];
    if (CellHasRoad(x + qx, y) && CellHasRoad(x, y + qy) && CellHasRoad(x + qx, y + qy)) return true;
  }
  return false;
}

bool cEntity_RoadManager::CanPlaceRoadRun(int32_t x, int32_t y, int32_t width, int32_t length) {
  if (width == 1 && length == 1) {
    for (int side = 0; side < 4; ++side) {
      if (WouldCloseSquare(x, y, side)) return false;
    }
    return true;
  }
  const bool alongX = width > length;
  const int32_t n = alongX ? width : length;
  const int32_t lastX = alongX ? x + n - 1 : x;
  const int32_t lastY = alongX ? y : y + n - 1;
  if (WouldCloseSquare(x, y, alongX ? 0 : 1) || WouldCloseSquare(lastX, lastY, alongX ? 2 : 3)) return false;
  // Two consecutive cells with road on the same side would lay the run
  // alongside a parallel road.
  bool before[2] = {false, false};
  for (int32_t i = 0; i < n; ++i) {
    const int32_t cx = alongX ? x + i : x;
    const int32_t cy = alongX ? y : y + i;
    const bool side[2] = {alongX ? CellHasRoad(cx, cy - 1) : CellHasRoad(cx - 1, cy),
                          alongX ? CellHasRoad(cx, cy + 1) : CellHasRoad(cx + 1, cy)};
    for (int s = 0; s < 2; ++s) {
      if (side[s] && before[s]) return false;
      before[s] = side[s];
    }
  }
  return true;
}

uint32_t cEntity_RoadManager::NewSectionId() {
  static uint32_t next = 1;
  return next++;
}

RoadSection* cEntity_RoadManager::NewSection(uint16_t x, uint16_t y, uint16_t width, uint16_t length, uint8_t kind) {
  auto* section = new RoadSection;
  section->id = NewSectionId();
  section->x = x;
  section->y = y;
  section->width = width;
  section->length = length;
  section->kind = kind;
  SetQuad(section);
  return section;
}

void cEntity_RoadManager::DeleteSection(RoadSection* section) {
  EraseAll(retexture_, section);
  EraseAll(installedNow_, section);
  delete section;
}

bool cEntity_RoadManager::PlaceRoad(uint16_t x, uint16_t y, uint16_t width, uint16_t length, bool charged) {
  cEntity_GamePlot* plot = Plot();
  if (!plot || width == 0 || length == 0) return false;
  if (cells_.CellCount() != uint32_t{PlotWidth()} * PlotHeight()) cells_.Resize(uint32_t{PlotWidth()} * PlotHeight());
  bool placed;
  if (width > length) {
    placed = PlaceRun(x, y, width, true);
  } else if (length > width) {
    placed = PlaceRun(x, y, length, false);
  } else {
    placed = PlaceSingleCell(x, y);
  }
  if (placed && charged) placed = ChargePending();
  if (!placed) DiscardPendingRoads();
  return placed;
}

bool cEntity_RoadManager::PlaceSingleCell(uint16_t x, uint16_t y) {
  if (!InPlot(x, y) || !(Plot()->GetCellWord(CellIndex(x, y)) & 1)) return false;
  if (HasRoadAt(x, y) || !CanPlaceRoadRun(x, y, 1, 1)) return false;
  pending_.push_back(NewSection(x, y, 1, 1, RoadLoneCell));
  return true;
}

// Lays the strip cell by cell; cells that already have road split it into
// stretches, and a crossed perpendicular road is remembered to become a
// junction when the placement is finished.
bool cEntity_RoadManager::PlaceRun(uint16_t x0, uint16_t y0, uint16_t count, bool alongX) {
  cEntity_GamePlot* plot = Plot();
  auto flush = [&](int32_t from, int32_t to) {  // cells [from, to) along the run
    if (to <= from) return true;
    const int32_t n = to - from;
    const uint16_t sx = alongX ? static_cast<uint16_t>(from) : x0;
    const uint16_t sy = alongX ? y0 : static_cast<uint16_t>(from);
    const uint16_t w = alongX ? static_cast<uint16_t>(n) : 1;
    const uint16_t l = alongX ? 1 : static_cast<uint16_t>(n);
    if (!CanPlaceRoadRun(sx, sy, w, l)) return false;
    pending_.push_back(NewSection(sx, sy, w, l, alongX ? RoadAlongX : RoadAlongY));
    return true;
  };
  const int32_t first = alongX ? x0 : y0;
  int32_t start = first;
  for (int32_t i = first; i < first + count; ++i) {
    const int32_t cx = alongX ? i : x0;
    const int32_t cy = alongX ? y0 : i;
    if (!InPlot(cx, cy) || !(plot->GetCellWord(CellIndex(cx, cy)) & 1)) return false;
    RoadSection* existing = GetSectionAt(cx, cy);
    if (!existing) continue;
    if (existing->kind == (alongX ? RoadAlongY : RoadAlongX)) {
      crossings_.push_back(static_cast<uint16_t>(cx));
      crossings_.push_back(static_cast<uint16_t>(cy));
    }
    if (!flush(start, i)) return false;
    start = i + 1;
  }
  return flush(start, first + count);
}

bool cEntity_RoadManager::RoadCellPrice(float* price) {
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  cBuildableObject* type = nullptr;
  if (buildings) type = buildings->GetBuildingType(kRoadClass, buildings->FindTypeIndexByName(kRoadClass, "Road"), kRoadLevel);
  if (!type) {
    static bool logged = false;
    if (!logged) platform::DebugPrintf("[cEntity_RoadManager] there is no \"Road\" building type: no road is laid\n");
    logged = true;
    return false;
  }
  *price = type->GetBuildCost();
  return true;
}

bool cEntity_RoadManager::ChargePending() {
  if (pending_.empty()) return false;
  float unit = 0.0f;
  if (!RoadCellPrice(&unit)) return false;
  float price = 0.0f;
  for (const RoadSection* section : pending_) price += unit * float(section->width) * float(section->length);
  cKV9_GlobalWrapper* table = Table();
  cEntity_StatManager* stats = table ? table->statManager : nullptr;
  if (!stats || static_cast<double>(price) > stats->block.cash) return false;
  stats->ChargeCost(price, 0.0f);
  return true;
}

void cEntity_RoadManager::DiscardPendingRoads() {
  for (RoadSection* section : pending_) {
    if (std::find(sections_.begin(), sections_.end(), section) == sections_.end()) DeleteSection(section);
  }
  pending_.clear();
  crossings_.clear();
}

// ---------------------------------------------------------------------------
// Settling

void cEntity_RoadManager::FinishRoadPlacement() {
  for (size_t i = 0; i + 1 < crossings_.size(); i += 2) {
    const uint16_t x = crossings_[i];
    const uint16_t y = crossings_[i + 1];
    RoadSection* crossed = GetSectionAt(x, y);
    if (crossed && crossed->kind != RoadJunction) SplitSectionAt(crossed, x, y);
  }
  crossings_.clear();
  installedNow_.clear();

  // Joins and splits append to the list while it is worked through.
  for (size_t i = 0; i < pending_.size(); ++i) {
    RoadSection* section = pending_[i];
    bool replaced = false;
    if (section->kind == RoadJunction) {
      // installed as it is
    } else if (section->IsSingleCell()) {
      section->kind = RoadAlongX;
      replaced = JoinAlong(section, true);
      if (!replaced) {
        section->kind = RoadAlongY;
        replaced = JoinAlong(section, false);
      }
      if (!replaced) {
        section->kind = RoadLoneCell;
        ClassifySingleCell(section);
        if (section->kind != RoadJunction) replaced = ConnectSectionEnds(section);
      }
    } else {
      replaced = ConnectSectionEnds(section) || SplitAtSideJunction(section) ||
                 JoinAlong(section, section->kind == RoadAlongX);
    }
    if (replaced) {
      pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(i));
      --i;
      DeleteSection(section);
    } else {
      InstallSection(section);
      PushOnce(retexture_, section);
    }
  }

  RefreshTextureCoords();
  const std::vector<RoadSection*> installed = installedNow_;
  BuildSectionNodes(installed);
  pending_.clear();
  installedNow_.clear();
  RebuildRoadMesh();
  FloodFromEntrance();
  if (cPathFinder* finder = Finder()) {
    if (nodesRemoved_) {
      finder->RequeueAllFinishedRequests();
      nodesRemoved_ = false;
    } else {
      finder->RequeueFinishedRequests();
    }
  }
}

// The section beside S's first (or last) cell along its own axis absorbs S
// when it is of S's kind or a lone cell.
bool cEntity_RoadManager::JoinAlong(RoadSection* section, bool alongX) {
  const int32_t dx = alongX ? 1 : 0;
  const int32_t dy = alongX ? 0 : 1;
  for (int end = 0; end < 2; ++end) {
    RoadSection* other = end == 0 ? GetSectionAt(section->x - dx, section->y - dy)
                                  : GetSectionAt(section->LastX() + dx, section->LastY() + dy);
    if (!other || other == section) continue;
    if (other->kind != section->kind && other->kind != RoadLoneCell) continue;
    // Only a piece on S's own line can take it in.
    if (alongX ? (other->y != section->y || other->length != 1) : (other->x != section->x || other->width != 1))
      continue;
    UninstallSection(other);
    other->kind = alongX ? RoadAlongX : RoadAlongY;
    if (end == 1) {
      if (alongX) other->x = section->x;
      else other->y = section->y;
    }
    if (alongX) other->width = static_cast<uint16_t>(other->width + section->width);
    else other->length = static_cast<uint16_t>(other->length + section->length);
    SetQuad(other);
    pending_.push_back(other);
    PushOnce(retexture_, other);
    return true;
  }
  return false;
}

void cEntity_RoadManager::SplitSection(RoadSection* section, uint16_t x, uint16_t y, std::vector<RoadSection*>* parts) {
  const bool alongX = section->kind == RoadAlongX || (section->kind != RoadAlongY && section->width > 1);
  if (alongX) {
    if (x > section->x) parts->push_back(NewSection(section->x, y, static_cast<uint16_t>(x - section->x), 1, section->kind));
  } else if (y > section->y) {
    parts->push_back(NewSection(x, section->y, 1, static_cast<uint16_t>(y - section->y), section->kind));
  }
  parts->push_back(NewSection(x, y, 1, 1, RoadJunction));
  if (alongX) {
    if (x < section->LastX())
      parts->push_back(NewSection(static_cast<uint16_t>(x + 1), y, static_cast<uint16_t>(section->LastX() - x), 1,
                                  section->kind));
  } else if (y < section->LastY()) {
    parts->push_back(NewSection(x, static_cast<uint16_t>(y + 1), 1, static_cast<uint16_t>(section->LastY() - y),
                                section->kind));
  }
}

void cEntity_RoadManager::SplitSectionAt(RoadSection* section, uint16_t x, uint16_t y) {
  std::vector<RoadSection*> parts;
  SplitSection(section, x, y, &parts);
  UninstallSection(section);
  DeleteSection(section);
  for (RoadSection* part : parts) {
    pending_.push_back(part);
    PushOnce(retexture_, part);
  }
}

bool cEntity_RoadManager::ConnectSectionEnds(RoadSection* section) {
  if (section->kind == RoadJunction) return false;
  const int32_t dx = section->kind == RoadAlongX ? 1 : 0;
  const int32_t dy = section->kind == RoadAlongY ? 1 : 0;
  if (dx == 0 && dy == 0) return false;  // a lone cell has no axis to look along
  const uint8_t across = section->kind == RoadAlongX ? RoadAlongY : RoadAlongX;

  // 1. A road running across S just beyond an end meets it in a T.
  const int32_t ends[2][2] = {{section->x - dx, section->y - dy}, {section->LastX() + dx, section->LastY() + dy}};
  for (const auto& end : ends) {
    RoadSection* other = GetSectionAt(end[0], end[1]);
    if (!other) continue;
    if (other->kind == RoadJunction) {
      PushOnce(retexture_, other);
    } else if (other->kind == across) {
      SplitSectionAt(other, static_cast<uint16_t>(end[0]), static_cast<uint16_t>(end[1]));
    }
  }

  // 2. A parallel road touching an end cell from the side: both touching
  // cells become junctions.
  const int32_t px = dy;
  const int32_t py = dx;
  const int32_t cellsAt[2][2] = {{section->x, section->y}, {section->LastX(), section->LastY()}};
  for (const auto& cell : cellsAt) {
    for (int s = -1; s <= 1; s += 2) {
      const int32_t sx = cell[0] + s * px;
      const int32_t sy = cell[1] + s * py;
      RoadSection* other = GetSectionAt(sx, sy);
      if (!other) continue;
      if (other->kind == RoadJunction) {
        PushOnce(retexture_, other);
      } else if (other->kind == section->kind) {
        SplitSectionAt(other, static_cast<uint16_t>(sx), static_cast<uint16_t>(sy));
        std::vector<RoadSection*> parts;
        SplitSection(section, static_cast<uint16_t>(cell[0]), static_cast<uint16_t>(cell[1]), &parts);
        for (RoadSection* part : parts) pending_.push_back(part);
        return true;
      }
    }
  }
  return false;
}

bool cEntity_RoadManager::SplitAtSideJunction(RoadSection* section) {
  const bool alongX = section->kind == RoadAlongX;
  const int32_t n = alongX ? section->width : section->length;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t cx = alongX ? section->x + i : section->x;
    const int32_t cy = alongX ? section->y : section->y + i;
    bool meets;
    if (alongX) {
      meets = CellHasRoad(cx, cy - 1) || CellHasRoad(cx, cy + 1) || AccessFacing(cx, cy - 1) == 2 ||
              AccessFacing(cx, cy + 1) == 0;
    } else {
      meets = CellHasRoad(cx - 1, cy) || CellHasRoad(cx + 1, cy) || AccessFacing(cx - 1, cy) == 1 ||
              AccessFacing(cx + 1, cy) == 3;
    }
    if (meets || IsEntranceCell(cx, cy)) {
      std::vector<RoadSection*> parts;
      SplitSection(section, static_cast<uint16_t>(cx), static_cast<uint16_t>(cy), &parts);
      for (RoadSection* part : parts) pending_.push_back(part);
      return true;
    }
  }
  return false;
}

void cEntity_RoadManager::ClassifySingleCell(RoadSection* section) {
  const int32_t x = section->x;
  const int32_t y = section->y;
  if (IsEntranceCell(x, y)) {
    section->kind = RoadJunction;
    // 0 left, 1 right, 2 top, 3 bottom edge.
    const int edge = x == 0 ? 0 : x == PlotWidth() - 1 ? 1 : y == 0 ? 2 : 3;
    struct Neighbour {
      int edge;
      int32_t x, y;
      uint8_t kind;
    };
    const Neighbour neighbours[4] = {
        {0, x - 1, y, RoadAlongY}, {1, x + 1, y, RoadAlongY}, {2, x, y - 1, RoadAlongX}, {3, x, y + 1, RoadAlongX}};
    for (const Neighbour& n : neighbours) {
      if (n.edge == edge) continue;
      RoadSection* other = GetSectionAt(n.x, n.y);
      if (other && other->kind == n.kind) SplitSectionAt(other, static_cast<uint16_t>(n.x), static_cast<uint16_t>(n.y));
    }
    return;
  }
  const bool sideways = HasRoadAt(x - 1, y) || HasRoadAt(x + 1, y);
  const bool upDown = HasRoadAt(x, y - 1) || HasRoadAt(x, y + 1);
  const bool faced = AccessFacing(x, y - 1) == 2 || AccessFacing(x, y + 1) == 0 || AccessFacing(x - 1, y) == 1 ||
                     AccessFacing(x + 1, y) == 3;
  if ((sideways && upDown) || faced) section->kind = RoadJunction;
  else if (sideways) section->kind = RoadAlongX;
  else if (upDown) section->kind = RoadAlongY;
  else section->kind = RoadLoneCell;
}

void cEntity_RoadManager::MarkSectionCells(RoadSection* section, bool road) {
  cEntity_GamePlot* plot = Plot();
  if (!plot) return;
  const uint32_t start = CellIndex(section->x, section->y);
  if (road) plot->MarkCellRect(start, section->width, section->length, 0, kRoadClearMask, false, section, true);
  else plot->MarkCellRect(start, section->width, section->length, kOwnedEmpty, 0, false, nullptr, true);
  for (uint16_t cy = section->y; cy <= section->LastY(); ++cy) {
    for (uint16_t cx = section->x; cx <= section->LastX(); ++cx) {
      if (road) cells_.Set(CellIndex(cx, cy), section);
      else cells_.Remove(CellIndex(cx, cy));
    }
  }
}

void cEntity_RoadManager::InstallSection(RoadSection* section) {
  MarkSectionCells(section, true);
  PaintMiniMapRect(Plot(), section->x, section->y, section->width, section->length, kMiniMapRoad);
  sections_.push_back(section);
  installedNow_.push_back(section);
  if (section->kind == RoadJunction) {
    if (cPathFinder* finder = Finder()) section->startNode = finder->AddNode(section->x, section->y, kPathNode_Road);
    if (section->startNode) {
      LinkJunctionBuildings(section->startNode);
      if (IsEntranceCell(section->x, section->y)) entranceNode_ = section->startNode;
    }
  }
}

void cEntity_RoadManager::UninstallSection(RoadSection* section) {
  MarkSectionCells(section, false);
  for (cPathNode* node : {section->startNode, section->endNode}) {
    if (node) DropNode(section, node);
  }
  PaintMiniMapRect(Plot(), section->x, section->y, section->width, section->length, kMiniMapOwned);
  EraseAll(retexture_, section);
  EraseAll(sections_, section);
  EraseAll(installedNow_, section);
}

void cEntity_RoadManager::LinkJunctionBuildings(cPathNode* node) {
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  if (!node || !buildings) return;
  // Above facing +y, right facing -x, below facing -y, left facing +x.
  static constexpr int32_t kStep[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
  static constexpr uint8_t kFacing[4] = {2, 3, 0, 1};
  for (int d = 0; d < 4; ++d) {
    const int32_t cx = node->x + kStep[d][0];
    const int32_t cy = node->y + kStep[d][1];
    node->buildings[d] = AccessFacing(cx, cy) == kFacing[d] ? buildings->FindInstanceByRoadCell(cx, cy) : nullptr;
  }
}

// ---------------------------------------------------------------------------
// Demolition

void cEntity_RoadManager::RemoveRoadAt(uint16_t x, uint16_t y) {
  RoadSection* section = GetSectionAt(x, y);
  if (!section) return;
  std::vector<RoadSection*> parts;
  SplitSection(section, x, y, &parts);
  UninstallSection(section);
  DeleteSection(section);
  for (RoadSection* part : parts) {
    if (part->Covers(x, y)) delete part;
    else pending_.push_back(part);
  }
  // Junctions and single cells around the hole are classified afresh.
  static constexpr int32_t kStep[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
  for (const auto& step : kStep) {
    const int32_t nx = x + step[0];
    const int32_t ny = y + step[1];
    RoadSection* neighbour = GetSectionAt(nx, ny);
    if (!neighbour || !neighbour->IsSingleCell()) continue;
    UninstallSection(neighbour);
    DeleteSection(neighbour);
    PlaceSingleCell(static_cast<uint16_t>(nx), static_cast<uint16_t>(ny));
  }
  FinishRoadPlacement();
}

void cEntity_RoadManager::MakeJunctionAt(uint16_t x, uint16_t y) {
  RoadSection* section = GetSectionAt(x, y);
  if (!section) return;
  SplitSectionAt(section, x, y);
  FinishRoadPlacement();
}
