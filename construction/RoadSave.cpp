// Saving the road network and building it again after a new game or load.
#include <cstring>

#include "construction/GamePlot.h"
#include "construction/PathFinder.h"
#include "construction/RoadManager.h"
#include "engine/files/SerializeRecord.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"

namespace {

constexpr uint32_t kNoNode = 0xFFFFFFFFu;
constexpr uint32_t kHeaderSize = 8;

struct SectionRecord {
  uint32_t id;
  uint16_t x, y, width, length;
  uint8_t kind;
  uint32_t startNode, endNode;
};

bool ReadRecord(SaveRecordReader& in, SectionRecord* r) {
  uint8_t reserved[3];
  in.GetU32(&r->id);
  in.GetU16(&r->x);
  in.GetU16(&r->y);
  in.GetU16(&r->width);
  in.GetU16(&r->length);
  in.GetU8(&r->kind);
  in.GetBytes(reserved, sizeof reserved);
  in.GetU32(&r->startNode);
  in.GetU32(&r->endNode);
  return in.Ok();
}

// The shape a section of that kind must have.
bool ShapeFits(const SectionRecord& r) {
  if (r.width == 0 || r.length == 0) return false;
  switch (r.kind) {
    case RoadAlongX:
      return r.length == 1;
    case RoadAlongY:
      return r.width == 1;
    case RoadLoneCell:
    case RoadJunction:
      return r.width == 1 && r.length == 1;
    default:
      return false;
  }
}

}  // namespace

bool cEntity_RoadManager::Save(SerialBlock* bytes, uint32_t* n) {
  cPathFinder* finder = Finder();
  const uint32_t gridWidth = finder ? finder->width : 0;
  auto nodeIndex = [&](const cPathNode* node) {
    return node ? static_cast<uint32_t>(node->y) * gridWidth + node->x : kNoNode;
  };
  SaveRecordWriter out;
  out.PutU16(entranceX_);
  out.PutU16(entranceY_);
  out.PutU32(static_cast<uint32_t>(sections_.size()));
  const uint8_t reserved[3] = {0, 0, 0};
  for (const RoadSection* section : sections_) {
    out.PutU32(section->id);
    out.PutU16(section->x);
    out.PutU16(section->y);
    out.PutU16(section->width);
    out.PutU16(section->length);
    out.PutU8(section->kind);
    out.PutBytes(reserved, sizeof reserved);
    out.PutU32(nodeIndex(section->startNode));
    out.PutU32(nodeIndex(section->endNode));
  }
  return out.Release(bytes, n);
}

bool cEntity_RoadManager::LoadFromBlob(const uint8_t* bytes, uint32_t n) {
  if (n == 0) return true;
  SaveRecordReader in(bytes, n);
  uint16_t ex = 0, ey = 0;
  uint32_t count = 0;
  in.GetU16(&ex);
  in.GetU16(&ey);
  in.GetU32(&count);
  if (!in.Ok() || in.Remaining() / kRecordSize != count || in.Remaining() % kRecordSize != 0) {
    platform::DebugPrintf("[cEntity_RoadManager] road record of %u bytes refused: it does not hold its %u sections\n",
                          n, count);
    return false;
  }
  for (uint32_t i = 0; i < count; ++i) {
    SectionRecord record{};
    if (!ReadRecord(in, &record) || !ShapeFits(record)) {
      platform::DebugPrintf("[cEntity_RoadManager] road record refused: section %u is malformed\n", i);
      return false;
    }
  }
  return cSerialized_Object::LoadFromBlob(bytes, n);
}

void cEntity_RoadManager::Clear() {
  DiscardPendingRoads();
  sections_.clear();
  retexture_.clear();
  installedNow_.clear();
  cells_.Resize(uint32_t{PlotWidth()} * PlotHeight());
  entranceNode_ = nullptr;
}

void cEntity_RoadManager::BuildWorld() {
  Clear();
  ReleaseModels();
  if (Core3D* graphics = Table() ? Table()->graphics : nullptr) {
    if (C3DModel* model = graphics->CreateModel(0x28, "polymesh_Roads")) models_.push_back(model);
  }
  entranceX_ = entranceY_ = kNoCell;

  if (GetBlob() && GetBlobSize() >= kHeaderSize) {
    SaveRecordReader in(GetBlob(), GetBlobSize());
    uint32_t count = 0;
    in.GetU16(&entranceX_);
    in.GetU16(&entranceY_);
    in.GetU32(&count);
    std::vector<SectionRecord> records(count);
    for (SectionRecord& record : records) ReadRecord(in, &record);

    // Every record must lie on the plot without overlapping another before
    // any of them is built: a network that does not fit is not half-built.
    std::vector<uint8_t> taken(cells_.CellCount(), 0);
    bool fits = in.Ok();
    for (const SectionRecord& r : records) {
      if (!fits) break;
      if (uint32_t{r.x} + r.width > PlotWidth() || uint32_t{r.y} + r.length > PlotHeight()) fits = false;
      for (uint32_t cy = r.y; fits && cy < uint32_t{r.y} + r.length; ++cy) {
        for (uint32_t cx = r.x; fits && cx < uint32_t{r.x} + r.width; ++cx) {
          uint8_t& cell = taken[CellIndex(static_cast<int32_t>(cx), static_cast<int32_t>(cy))];
          fits = !cell;
          cell = 1;
        }
      }
    }
    if (!fits) {
      platform::DebugPrintf("[cEntity_RoadManager] saved roads leave the plot or overlap: none restored\n");
      entranceX_ = entranceY_ = kNoCell;
      records.clear();
    }

    cPathFinder* finder = Finder();
    const uint32_t gridCells = finder ? uint32_t{finder->width} * finder->height : 0;
    auto node = [&](uint32_t index) -> cPathNode* {
      if (index >= gridCells) return nullptr;
      return finder->GetNodeAt(static_cast<int32_t>(index % finder->width), static_cast<int32_t>(index / finder->width));
    };
    for (const SectionRecord& r : records) {
      auto* section = new RoadSection;
      section->id = r.id;
      if (section->id == 0) section->id = NewSectionId();
      section->x = r.x;
      section->y = r.y;
      section->width = r.width;
      section->length = r.length;
      section->kind = r.kind;
      section->startNode = node(r.startNode);
      section->endNode = node(r.endNode);
      SetQuad(section);
      sections_.push_back(section);
      MarkSectionCells(section, true);
      if (section->kind == RoadJunction && IsEntranceCell(section->x, section->y)) entranceNode_ = section->startNode;
      retexture_.push_back(section);
    }
    if (cEntity_GamePlot* plot = Plot()) plot->BuildFenceMesh();
  }
  RefreshTextureCoords();
  RebuildRoadMesh();
  FloodFromEntrance();
  if (cPathFinder* finder = Finder()) finder->RequeueFinishedRequests();
  FreeBlob();
}
