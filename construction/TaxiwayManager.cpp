#include "construction/TaxiwayManager.h"

#include <algorithm>
#include <string>

#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "construction/PathFinder.h"
#include "construction/QuadModels.h"
#include "engine/entity/EntityManager.h"
#include "engine/files/SerializeRecord.h"
#include "engine/services/C3DModel.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "simulation/SimulationServices.h"
#include "simulation/StatManager.h"

namespace {

constexpr uint8_t kPavementClass = 4;
constexpr uint8_t kPavementLevel = 1;
constexpr uint8_t kMiniMapPaved = 4;
constexpr int32_t kStep[4][2] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};

}  // namespace

cEntity_TaxiwayManager::cEntity_TaxiwayManager(cEntity_Manager* manager, uint32_t typeWord)
    : cEntity_Base(manager, typeWord) {
  kinds_[kTaxiway].typeName = "Taxiway";
  kinds_[kTaxiway].modelName = "polymesh_Taxiways";
  kinds_[kTaxiway].shaderFile = "taxiway.jsm";
  kinds_[kTaxiway].cellBit = 0x4;
  kinds_[kTaxiway].content = 0xF4;
  kinds_[kTaxiway].nodeKind = kPathNode_Taxiway;
  kinds_[kApron].typeName = "Apron";
  kinds_[kApron].modelName = "polymesh_Aprons";
  kinds_[kApron].shaderFile = "Apron.jsm";
  kinds_[kApron].cellBit = 0x8;
  kinds_[kApron].content = 0xF8;
  kinds_[kApron].nodeKind = kPathNode_Apron;
  for (Pavement& kind : kinds_) kind.world = JMatrix::Identity();
}

cEntity_TaxiwayManager::~cEntity_TaxiwayManager() { ReleaseResources(); }

cKV9_GlobalWrapper* cEntity_TaxiwayManager::Table() { return GameTableOf(this); }

cEntity_GamePlot* cEntity_TaxiwayManager::Plot() {
  cKV9_GlobalWrapper* table = Table();
  return table ? table->gamePlot : nullptr;
}

cPathFinder* cEntity_TaxiwayManager::Finder() {
  cKV9_GlobalWrapper* table = Table();
  return table ? table->pathFinder : nullptr;
}

uint16_t cEntity_TaxiwayManager::PlotWidth() {
  cEntity_GamePlot* plot = Plot();
  return plot ? plot->GetWidth() : 0;
}

// ---------------------------------------------------------------------------
// World

void cEntity_TaxiwayManager::ReleaseResources() {
  Core3D* graphics = Table() ? Table()->graphics : nullptr;
  for (Pavement& kind : kinds_) {
    for (C3DModel* model : kind.models) {
      if (graphics) graphics->ReleaseResource(model);
    }
    kind.models.clear();
    if (kind.shader && graphics) graphics->ReleaseResource(kind.shader);
    kind.shader = nullptr;
    kind.drawn = false;
  }
}

void cEntity_TaxiwayManager::Clear() {
  for (Pavement& kind : kinds_) kind.sections.clear();
  ReleaseResources();
}

void cEntity_TaxiwayManager::BuildWorld() {
  ReleaseResources();
  if (Core3D* graphics = Table() ? Table()->graphics : nullptr) {
    const std::string folder = GetManager() ? GetManager()->GetResourcePath() + "Shaders\\" : std::string("Shaders\\");
    for (Pavement& kind : kinds_) {
      if (C3DModel* model = graphics->CreateModel(40, kind.modelName)) kind.models.push_back(model);
      kind.shader = graphics->CreateShader(8, folder + kind.shaderFile);
      kind.drawn = true;
    }
  }
  cEntity_GamePlot* plot = Plot();
  if (!GetBlob() || !plot) {
    FreeBlob();
    return;
  }
  SaveRecordReader in(GetBlob(), GetBlobSize());
  std::vector<CellRect> rects[2];
  for (auto& list : rects) {
    uint32_t count = 0;
    in.GetU32(&count);
    list.resize(count);
    for (CellRect& r : list) {
      in.GetU16(&r.x);
      in.GetU16(&r.y);
      in.GetU16(&r.width);
      in.GetU16(&r.length);
    }
  }
  // A rectangle off the plot refuses the whole record: nothing half-laid.
  const uint32_t w = plot->GetWidth();
  const uint32_t h = plot->GetHeight();
  for (const auto& list : rects) {
    for (const CellRect& r : list) {
      if (r.width == 0 || r.length == 0 || uint32_t{r.x} + r.width > w || uint32_t{r.y} + r.length > h) {
        platform::DebugPrintf("[cEntity_TaxiwayManager] saved pavement leaves the plot: none restored\n");
        FreeBlob();
        return;
      }
    }
  }
  for (int k = 0; k < 2; ++k) {
    if (rects[k].empty()) continue;
    uint32_t x0 = w, y0 = h, x1 = 0, y1 = 0;
    for (const CellRect& r : rects[k]) {
      x0 = std::min<uint32_t>(x0, r.x);
      y0 = std::min<uint32_t>(y0, r.y);
      x1 = std::max<uint32_t>(x1, r.x + r.width - 1u);
      y1 = std::max<uint32_t>(y1, r.y + r.length - 1u);
    }
    const uint32_t bw = x1 - x0 + 1;
    const uint32_t bl = y1 - y0 + 1;
    std::vector<uint8_t> map(size_t{bw} * bl, 0);
    uint32_t count = 0;
    for (const CellRect& r : rects[k]) {
      for (uint32_t cy = r.y; cy < uint32_t{r.y} + r.length; ++cy) {
        for (uint32_t cx = r.x; cx < uint32_t{r.x} + r.width; ++cx) {
          uint8_t& cell = map[(cy - y0) * bw + (cx - x0)];
          count += cell ? 0 : 1;
          cell = 1;
        }
      }
    }
    BuildSections(static_cast<Kind>(k), static_cast<uint16_t>(x0), static_cast<uint16_t>(y0),
                  static_cast<uint16_t>(bw), static_cast<uint16_t>(bl), count, map);
  }
  FreeBlob();
}

// ---------------------------------------------------------------------------
// Laying

bool cEntity_TaxiwayManager::AddTaxiway(uint16_t x, uint16_t y, uint16_t width, uint16_t length) {
  return Lay(kTaxiway, x, y, width, length, true);
}

bool cEntity_TaxiwayManager::AddApron(uint16_t x, uint16_t y, uint16_t width, uint16_t length) {
  return Lay(kApron, x, y, width, length, true);
}

bool cEntity_TaxiwayManager::CellPrice(Kind kind, float* price) {
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  cBuildableObject* type = nullptr;
  if (buildings) {
    const uint16_t id = buildings->FindTypeIndexByName(kPavementClass, kinds_[kind].typeName);
    type = buildings->GetBuildingType(kPavementClass, id, kPavementLevel);
  }
  if (!type) {
    static bool logged[2] = {false, false};
    if (!logged[kind]) {
      platform::DebugPrintf("[cEntity_TaxiwayManager] there is no \"%s\" building type: nothing is laid\n",
                            kinds_[kind].typeName);
    }
    logged[kind] = true;
    return false;
  }
  *price = type->GetBuildCost();
  return true;
}

bool cEntity_TaxiwayManager::Lay(Kind kind, uint16_t x, uint16_t y, uint16_t width, uint16_t length, bool charged) {
  cEntity_GamePlot* plot = Plot();
  if (!plot || width == 0 || length == 0) return false;
  const uint32_t w = plot->GetWidth();
  std::vector<uint8_t> map(size_t{width} * length, 0);
  uint32_t count = 0;
  for (uint32_t cx = x; cx < uint32_t{x} + width; ++cx) {
    for (uint32_t cy = y; cy < uint32_t{y} + length; ++cy) {
      // A column past the plot's right edge would wrap onto the next row.
      PlotCell* cell = cx < w ? plot->GetCellRecord(cy * w + cx) : nullptr;
      if (!cell || cell->content == 0) return false;
      if ((cell->content & kinds_[kind].cellBit) && !cell->object) {
        map[(cy - y) * width + (cx - x)] = 1;
        ++count;
      }
    }
  }
  if (count == 0) return false;
  if (charged) {
    float unit = 0.0f;
    if (!CellPrice(kind, &unit)) return false;
    const float price = unit * static_cast<float>(count);
    cKV9_GlobalWrapper* table = Table();
    cEntity_StatManager* stats = table ? table->statManager : nullptr;
    if (!stats || static_cast<double>(price) > stats->block.cash) return false;
    stats->ChargeCost(price, 0.0f);
  }
  BuildSections(kind, x, y, width, length, count, map);
  TouchBuildingsAround(x, y, width, length, true);
  PaintMiniMapRect(plot, x, y, width, length, kMiniMapPaved);
  AfterNetworkChange();
  return true;
}

void cEntity_TaxiwayManager::BuildSections(Kind kind, uint16_t x, uint16_t y, uint16_t width, uint16_t length,
                                           uint32_t count, std::vector<uint8_t>& map) {
  const size_t before = kinds_[kind].sections.size();
  if (count == uint32_t{width} * length) {
    AddSection(kind, x, y, width, length);
  } else {
    // Rows along x when the region is at least as wide as long, else
    // columns along y; a, b are the scan and the cross axis.
    const bool alongX = width >= length;
    const uint32_t na = alongX ? width : length;
    const uint32_t nb = alongX ? length : width;
    auto at = [&](uint32_t a, uint32_t b) -> uint8_t& { return alongX ? map[b * width + a] : map[a * width + b]; };
    while (count > 0) {
      bool found = false;
      uint32_t a0 = 0, b0 = 0;
      for (uint32_t b = 0; b < nb && !found; ++b) {
        for (uint32_t a = 0; a < na; ++a) {
          if (at(a, b)) {
            a0 = a;
            b0 = b;
            found = true;
            break;
          }
        }
      }
      // Marked cells the count promised are not there: stop rather than
      // scan for ever.
      if (!found) break;
      uint32_t run = 0;
      while (a0 + run < na && at(a0 + run, b0)) ++run;
      uint32_t rows = 1;
      for (uint32_t b = b0 + 1; b < nb; ++b) {
        bool same = true;
        for (uint32_t a = a0; a < a0 + run && same; ++a) same = at(a, b) != 0;
        if (same && a0 + run < na && at(a0 + run, b)) same = false;
        if (!same) break;
        ++rows;
      }
      for (uint32_t b = b0; b < b0 + rows; ++b) {
        for (uint32_t a = a0; a < a0 + run; ++a) at(a, b) = 0;
      }
      count -= std::min(count, run * rows);
      if (alongX) {
        AddSection(kind, static_cast<uint16_t>(x + a0), static_cast<uint16_t>(y + b0), static_cast<uint16_t>(run),
                   static_cast<uint16_t>(rows));
      } else {
        AddSection(kind, static_cast<uint16_t>(x + b0), static_cast<uint16_t>(y + a0), static_cast<uint16_t>(rows),
                   static_cast<uint16_t>(run));
      }
    }
  }
  RebuildMesh(kind);

  cEntity_GamePlot* plot = Plot();
  cPathFinder* finder = Finder();
  const uint32_t w = PlotWidth();
  std::vector<cPathNode*> added;
  for (size_t i = before; i < kinds_[kind].sections.size(); ++i) {
    PavementSection* s = kinds_[kind].sections[i].get();
    if (plot) plot->MarkCellRect(uint32_t{s->y} * w + s->x, s->width, s->length, kinds_[kind].content, 0, true, s, true);
    if (!finder) continue;
    for (uint16_t cy = s->y; cy < s->y + s->length; ++cy) {
      for (uint16_t cx = s->x; cx < s->x + s->width; ++cx) {
        if (cPathNode* node = finder->AddNode(cx, cy, kinds_[kind].nodeKind)) added.push_back(node);
      }
    }
  }
  for (cPathNode* node : added) {
    for (const auto& step : kStep) finder->LinkNodes(node, finder->GetNodeAt(node->x + step[0], node->y + step[1]));
  }
}

void cEntity_TaxiwayManager::AddSection(Kind kind, uint16_t x, uint16_t y, uint16_t width, uint16_t length) {
  auto section = std::make_unique<PavementSection>();
  section->x = x;
  section->y = y;
  section->width = width;
  section->length = length;
  float x0 = 0, z0 = 0, x1 = 0, z1 = 0, unused = 0;
  float ground = 0;
  if (cEntity_GamePlot* plot = Plot()) {
    plot->GetCellWorldRect(x, y, &x0, &z0, &unused, &unused, true);
    plot->GetCellWorldRect(static_cast<uint16_t>(x + width - 1), static_cast<uint16_t>(y + length - 1), &unused,
                           &unused, &x1, &z1, true);
    ground = plot->GetOriginY();
  }
  const float w = width;
  const float l = length;
  const float corners[4][4] = {{x0, z0, 0, l}, {x1, z0, w, l}, {x1, z1, w, 0}, {x0, z1, 0, 0}};
  for (int i = 0; i < 4; ++i) {
    RenderVertex& v = section->quad[i];
    v.x = corners[i][0];
    v.y = ground;
    v.z = corners[i][1];
    v.diffuse = 0xFFFFFFFFu;
    v.u = corners[i][2];
    v.v = corners[i][3];
    v.u2 = v.v2 = 0.0f;
  }
  kinds_[kind].sections.push_back(std::move(section));
}

void cEntity_TaxiwayManager::RebuildMesh(Kind kind) {
  Pavement& p = kinds_[kind];
  if (p.models.empty()) return;
  std::vector<QuadEntry> quads;
  quads.reserve(p.sections.size());
  for (const auto& section : p.sections) quads.push_back(QuadEntry{section->quad, 0});
  UploadQuadModels(Table() ? Table()->graphics : nullptr, 40, p.modelName, p.models, quads, 1, &p.shader);
  p.drawn = !p.sections.empty();
}

// ---------------------------------------------------------------------------
// Taking pavement up

void cEntity_TaxiwayManager::RemoveTaxiwaySection(TaxiwaySection* section) { RemoveSection(kTaxiway, section); }
void cEntity_TaxiwayManager::RemoveApronSection(ApronSection* section) { RemoveSection(kApron, section); }

void cEntity_TaxiwayManager::RemoveSection(Kind kind, PavementSection* section) {
  auto& list = kinds_[kind].sections;
  auto it = std::find_if(list.begin(), list.end(), [&](const auto& s) { return s.get() == section; });
  if (it == list.end()) return;
  std::unique_ptr<PavementSection> gone = std::move(*it);
  list.erase(it);
  RebuildMesh(kind);

  cEntity_GamePlot* plot = Plot();
  cPathFinder* finder = Finder();
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  const uint32_t w = PlotWidth();
  for (uint16_t cy = gone->y; cy < gone->y + gone->length; ++cy) {
    for (uint16_t cx = gone->x; cx < gone->x + gone->width; ++cx) {
      const uint32_t index = uint32_t{cy} * w + cx;
      const uint32_t content = plot ? plot->GetCellWord(index) : 0;
      // Cells still carrying the section become owned and empty: they must
      // not point at a section that is gone, and may be paved again.
      if (PlotCell* cell = plot ? plot->GetCellRecord(index) : nullptr; cell && cell->object == gone.get()) {
        plot->SetCell(index, 0xFF, 0, true, nullptr, true);
      }
      if (!(content & kinds_[kind].cellBit) && buildings) {
        if (BOInstance* building = buildings->GetInstanceAt(cx, cy)) building->RemoveTaxiwayConnection();
      }
      // The pavement's node goes with it, also under a building now standing
      // there: no route may lead through the building.
      cPathNode* node = finder ? finder->GetNodeAt(cx, cy) : nullptr;
      if (node && node->kind == kinds_[kind].nodeKind) finder->RemoveNode(node);
    }
  }
  TouchBuildingsAround(gone->x, gone->y, gone->width, gone->length, false);
}

void cEntity_TaxiwayManager::ClearTaxiwayCell(TaxiwaySection* section, uint16_t x, uint16_t y) {
  ClearCell(kTaxiway, section, x, y);
}
void cEntity_TaxiwayManager::ClearApronCell(ApronSection* section, uint16_t x, uint16_t y) {
  ClearCell(kApron, section, x, y);
}

void cEntity_TaxiwayManager::ClearCell(Kind kind, PavementSection* section, uint16_t x, uint16_t y) {
  cEntity_GamePlot* plot = Plot();
  if (!section || !plot) return;
  const CellRect rest{section->x, section->y, section->width, section->length};
  const uint32_t index = uint32_t{y} * plot->GetWidth() + x;
  RemoveSection(kind, section);
  // The cell is blocked while the rest is laid again (free: it was paid for).
  plot->SetCell(index, 1, 0, true, nullptr, true);
  Lay(kind, rest.x, rest.y, rest.width, rest.length, false);
  plot->SetCell(index, 0xFF, 0, true, nullptr, true);
}

void cEntity_TaxiwayManager::CutTaxiwayUnderFootprint(const std::vector<CellRect>& footprint) {
  CutUnderFootprint(kTaxiway, footprint);
}
void cEntity_TaxiwayManager::CutApronUnderFootprint(const std::vector<CellRect>& footprint) {
  CutUnderFootprint(kApron, footprint);
}

void cEntity_TaxiwayManager::CutUnderFootprint(Kind kind, const std::vector<CellRect>& footprint) {
  cEntity_GamePlot* plot = Plot();
  if (!plot) return;
  // The sections the footprint overlaps, found by their rectangles: the
  // building's own marks may already have replaced the cells' objects.
  std::vector<PavementSection*> cut;
  for (const auto& s : kinds_[kind].sections) {
    for (const CellRect& r : footprint) {
      if (r.x < s->x + s->width && s->x < r.x + r.width && r.y < s->y + s->length && s->y < r.y + r.length) {
        cut.push_back(s.get());
        break;
      }
    }
  }
  if (cut.empty()) return;
  uint32_t x0 = 0xFFFF, y0 = 0xFFFF, x1 = 0, y1 = 0;
  for (const PavementSection* s : cut) {
    x0 = std::min<uint32_t>(x0, s->x);
    y0 = std::min<uint32_t>(y0, s->y);
    x1 = std::max<uint32_t>(x1, s->x + s->width - 1u);
    y1 = std::max<uint32_t>(y1, s->y + s->length - 1u);
  }
  const uint32_t bw = x1 - x0 + 1;
  const uint32_t bl = y1 - y0 + 1;
  std::vector<uint8_t> map(size_t{bw} * bl, 0);
  for (const PavementSection* s : cut) {
    for (uint32_t cy = s->y; cy < uint32_t{s->y} + s->length; ++cy) {
      for (uint32_t cx = s->x; cx < uint32_t{s->x} + s->width; ++cx) map[(cy - y0) * bw + (cx - x0)] = 1;
    }
  }
  for (const CellRect& r : footprint) {
    for (uint32_t cy = r.y; cy < uint32_t{r.y} + r.length; ++cy) {
      for (uint32_t cx = r.x; cx < uint32_t{r.x} + r.width; ++cx) {
        if (cx >= x0 && cx <= x1 && cy >= y0 && cy <= y1) map[(cy - y0) * bw + (cx - x0)] = 0;
      }
    }
  }
  const auto count = static_cast<uint32_t>(std::count(map.begin(), map.end(), uint8_t{1}));
  for (PavementSection* s : cut) RemoveSection(kind, s);
  if (count > 0) {
    BuildSections(kind, static_cast<uint16_t>(x0), static_cast<uint16_t>(y0), static_cast<uint16_t>(bw),
                  static_cast<uint16_t>(bl), count, map);
  }
  TouchBuildingsAround(static_cast<uint16_t>(x0), static_cast<uint16_t>(y0), static_cast<uint16_t>(bw),
                       static_cast<uint16_t>(bl), true);
  PaintMiniMapRect(plot, x0, y0, bw, bl, kMiniMapPaved);
  AfterNetworkChange();
}

// ---------------------------------------------------------------------------
// Neighbours

void cEntity_TaxiwayManager::TouchBuildingsAround(uint16_t x, uint16_t y, uint16_t width, uint16_t length,
                                                  bool add) {
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  if (!buildings) return;
  auto touch = [&](int32_t cx, int32_t cy) {
    if (cx < 0 || cy < 0) return;
    BOInstance* building = buildings->GetInstanceAt(cx, cy);
    if (!building) return;
    if (add) building->AddTaxiwayConnection();
    else building->RemoveTaxiwayConnection();
  };
  for (int32_t cx = x; cx < x + width; ++cx) {
    touch(cx, y - 1);
    touch(cx, y + length);
  }
  for (int32_t cy = y; cy < y + length; ++cy) {
    touch(x - 1, cy);
    touch(x + width, cy);
  }
}

void cEntity_TaxiwayManager::AfterNetworkChange() {
  cKV9_GlobalWrapper* table = Table();
  if (table && table->buildingManager) table->buildingManager->RecountConnections();
  if (cPathFinder* finder = Finder()) finder->RequeueFinishedRequests();
}

void cEntity_TaxiwayManager::Draw(C3DPass* pass) {
  Core3D* graphics = Table() ? Table()->graphics : nullptr;
  if (!graphics || PavementHidden(Table())) return;
  for (Pavement& kind : kinds_) {
    if (!kind.drawn) continue;
    for (C3DModel* model : kind.models) graphics->DrawModel(pass, model, &kind.world);
  }
}

// ---------------------------------------------------------------------------
// Save

bool cEntity_TaxiwayManager::Save(SerialBlock* bytes, uint32_t* n) {
  *n = 0;
  if (kinds_[kTaxiway].sections.empty() && kinds_[kApron].sections.empty()) return false;
  SaveRecordWriter out;
  for (const Pavement& kind : kinds_) {
    out.PutU32(static_cast<uint32_t>(kind.sections.size()));
    for (const auto& s : kind.sections) {
      out.PutU16(s->x);
      out.PutU16(s->y);
      out.PutU16(s->width);
      out.PutU16(s->length);
    }
  }
  return out.Release(bytes, n);
}

bool cEntity_TaxiwayManager::LoadFromBlob(const uint8_t* bytes, uint32_t n) {
  if (n == 0) return true;
  SaveRecordReader in(bytes, n);
  uint32_t taxiways = 0, aprons = 0;
  in.GetU32(&taxiways);
  const bool fits = in.Ok() && uint64_t{taxiways} * 8 + 4 <= in.Remaining() && in.Skip(size_t{taxiways} * 8) &&
                    in.GetU32(&aprons) && uint64_t{aprons} * 8 == in.Remaining();
  if (!fits) {
    platform::DebugPrintf("[cEntity_TaxiwayManager] pavement record of %u bytes refused: its counts do not match\n", n);
    return false;
  }
  return cSerialized_Object::LoadFromBlob(bytes, n);
}
