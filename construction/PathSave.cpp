// The graph's save blob: a u32 record count, then one 36-byte record per node
// in grid order (x outer, y inner): x, y (u16), kind (u8), 3 padding bytes,
// the cell index of the node linked in each direction (i32, -1 for none), the
// four run lengths (u16), the visited mark, the `connected` byte and 2
// padding bytes. Padding is written as 0.
#include <string>

#include "base/ByteReader.h"
#include "construction/PathFinder.h"
#include "engine/files/SerializeRecord.h"
#include "platform/DebugOutput.h"

namespace {

struct NodeRecord {
  uint16_t x = 0;
  uint16_t y = 0;
  uint8_t kind = 0;
  int32_t links[4] = {};
  uint16_t runLengths[4] = {};
  uint8_t visited = 0;
  uint8_t connected = 0;
};

// The cell next to (x, y) in direction d, or -1 off the grid.
// Whether `cell` lies straight from (x, y) in direction d. Links need not
// join grid neighbours: the road graph links the nodes at the ends of a
// straight run over the node-less cells between them.
bool LiesToward(uint32_t x, uint32_t y, uint8_t d, int64_t cell, uint32_t width) {
  const auto cx = static_cast<uint32_t>(cell % width);
  const auto cy = static_cast<uint32_t>(cell / width);
  switch (d) {
    case 0: return cx == x && cy < y;
    case 1: return cy == y && cx > x;
    case 2: return cx == x && cy > y;
    default: return cy == y && cx < x;
  }
}

}  // namespace

bool cPathFinder::Save(SerialBlock* bytes, uint32_t* n) {
  *bytes = nullptr;
  *n = 0;
  if (!head_) return false;
  uint32_t count = 0;
  for (cPathNode* node = head_; node; node = node->next) ++count;
  SaveRecordWriter out;
  out.PutU32(count);
  const uint8_t padding[3] = {0, 0, 0};
  for (uint32_t x = 0; x < width; ++x) {
    for (uint32_t y = 0; y < height; ++y) {
      const cPathNode* node = grid_[static_cast<size_t>(y) * width + x];
      if (!node) continue;
      out.PutU16(node->x);
      out.PutU16(node->y);
      out.PutU8(node->kind);
      out.PutBytes(padding, 3);
      for (const cPathNode* link : node->neighbours) {
        out.PutI32(link ? static_cast<int32_t>(static_cast<uint32_t>(link->y) * width + link->x) : -1);
      }
      for (uint16_t run : node->runLengths) out.PutU16(run);
      out.PutU8(node->visited);
      out.PutU8(node->connected);
      out.PutBytes(padding, 2);
    }
  }
  return out.Release(bytes, n);
}

void cPathFinder::RestoreNodes() {
  const uint8_t* blob = GetBlob();
  const uint32_t size = GetBlobSize();
  const size_t cells = grid_.size();
  auto refuse = [&](const std::string& why) {
    platform::OutputDebugString("[cPathFinder::RestoreNodes] saved graph refused: " + why + "\n");
    FreeBlob();
  };
  ByteReader in(blob, size);
  const uint32_t count = in.U32();
  if (!in.Ok()) return refuse("shorter than its record count");
  if (uint64_t{size} != 4 + uint64_t{count} * kRecordSize) return refuse("size does not match its record count");
  if (count > cells) return refuse("more records than grid cells");

  // Every record and link is checked before anything is built.
  std::vector<NodeRecord> records(count);
  std::vector<int32_t> recordAt(cells, -1);
  for (uint32_t i = 0; i < count; ++i) {
    NodeRecord& r = records[i];
    r.x = in.U16();
    r.y = in.U16();
    r.kind = in.U8();
    in.Skip(3);
    for (int32_t& link : r.links) link = in.I32();
    for (uint16_t& run : r.runLengths) run = in.U16();
    r.visited = in.U8();
    r.connected = in.U8();
    in.Skip(2);
    if (r.x >= width || r.y >= height) return refuse("record " + std::to_string(i) + " lies off the grid");
    if (r.kind < kPathNode_Road || r.kind > kPathNode_Apron) {
      return refuse("record " + std::to_string(i) + " has unknown kind " + std::to_string(r.kind));
    }
    int32_t& slot = recordAt[static_cast<size_t>(r.y) * width + r.x];
    if (slot >= 0) return refuse("record " + std::to_string(i) + " repeats a cell");
    slot = static_cast<int32_t>(i);
  }
  for (uint32_t i = 0; i < count; ++i) {
    const NodeRecord& r = records[i];
    for (uint8_t d = 0; d < 4; ++d) {
      const int32_t link = r.links[d];
      if (link == -1) continue;
      if (link < 0 || static_cast<size_t>(link) >= cells) {
        return refuse("record " + std::to_string(i) + " links off the grid");
      }
      if (!LiesToward(r.x, r.y, d, link, width)) {
        return refuse("record " + std::to_string(i) + " links a cell that does not lie in that direction");
      }
      if (recordAt[static_cast<size_t>(link)] < 0) {
        return refuse("record " + std::to_string(i) + " links an empty cell");
      }
    }
  }

  for (const NodeRecord& r : records) {
    cPathNode* node = AddNode(r.x, r.y, r.kind);
    for (int d = 0; d < 4; ++d) node->runLengths[d] = r.runLengths[d];
    node->visited = r.visited;
    node->connected = r.connected;
  }
  // Links are set as saved: no kind rule, no back link, no run lengths.
  for (const NodeRecord& r : records) {
    cPathNode* node = grid_[static_cast<size_t>(r.y) * width + r.x];
    for (int d = 0; d < 4; ++d) {
      if (r.links[d] != -1) node->neighbours[d] = grid_[static_cast<size_t>(r.links[d])];
    }
  }
  FreeBlob();
}
