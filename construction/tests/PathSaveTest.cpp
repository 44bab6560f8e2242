// The graph's save blob: its layout, a byte-identical round trip, and blobs
// that do not check out restoring nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "construction/PathFinder.h"
#include "construction/tests/MapGrid.h"
#include "construction/tests/RandomGrid.h"
#include "platform/DebugOutput.h"

namespace {

std::vector<uint8_t> SaveOf(cPathFinder& finder) {
  SerialBlock bytes;
  uint32_t n = 0;
  if (!finder.Save(&bytes, &n)) return {};
  return std::vector<uint8_t>(bytes.get(), bytes.get() + n);
}

// A finder of the given size started from a blob.
void RestoreInto(cPathFinder& finder, uint16_t width, uint16_t height, const std::vector<uint8_t>& blob) {
  finder.width = width;
  finder.height = height;
  finder.LoadFromBlob(blob.data(), static_cast<uint32_t>(blob.size()));
  finder.Start();
}

void PutI32(std::vector<uint8_t>& blob, size_t at, int32_t v) { std::memcpy(&blob[at], &v, 4); }
void PutU16(std::vector<uint8_t>& blob, size_t at, uint16_t v) { std::memcpy(&blob[at], &v, 2); }

TEST(PathSaveTest, NoNodesSaveNothing) {
  cPathFinder finder;
  finder.width = 4;
  finder.height = 4;
  finder.Start();
  SerialBlock bytes;
  uint32_t n = 99;
  EXPECT_FALSE(finder.Save(&bytes, &n));
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(bytes, nullptr);
  finder.Start();
  EXPECT_EQ(finder.GetNodeListHead(), nullptr);
}

TEST(PathSaveTest, RecordLayout) {
  cPathFinder finder;
  pathtest::BuildMap(finder, {".T", ".P"});
  finder.GetNodeAt(1, 0)->visited = 1;
  finder.GetNodeAt(1, 1)->connected = 7;
  const std::vector<uint8_t> blob = SaveOf(finder);
  const std::vector<uint8_t> expected = {
      2, 0, 0, 0,                                      // records
      1, 0, 0, 0, 2, 0, 0, 0,                          // (1,0) taxiway, padding
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // links up, right: none
      3, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,              // down: cell 3; left: none
      0, 0, 0, 0, 1, 0, 0, 0,                          // runs: down 1
      1, 0, 0, 0,                                      // visited, connected, padding
      1, 0, 1, 0, 4, 0, 0, 0,                          // (1,1) apron
      1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,              // up: cell 1
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  //
      1, 0, 0, 0, 0, 0, 0, 0,                          // runs: up 1
      0, 7, 0, 0,
  };
  EXPECT_EQ(blob, expected);
}

// A saved random plot restores to a graph that saves the same bytes, with
// the same links, kinds and marks.
TEST(PathSaveTest, RestoredGraphSavesTheSameBytes) {
  for (uint32_t seed = 1; seed <= 4; ++seed) {
    SCOPED_TRACE(seed);
    cPathFinder finder;
    pathtest::BuildRandomGrid(finder, seed, {37, 23, 5, 0.85, 0.0});
    finder.GetNodeListHead()->FloodConnect();
    finder.GetNodeListHead()->connected = 1;
    // A one-sided link survives as saved.
    pathtest::GridNodes(finder)[3]->UnlinkNeighbour(1, false);
    const std::vector<uint8_t> blob = SaveOf(finder);
    ASSERT_FALSE(blob.empty());

    cPathFinder restored;
    RestoreInto(restored, 37, 23, blob);
    EXPECT_EQ(restored.GetBlob(), nullptr) << "the kept blob is dropped";
    EXPECT_EQ(SaveOf(restored), blob);
    for (cPathNode* node : pathtest::GridNodes(finder)) {
      const cPathNode* twin = restored.GetNodeAt(node->x, node->y);
      ASSERT_NE(twin, nullptr);
      EXPECT_EQ(twin->kind, node->kind);
      EXPECT_EQ(twin->owner, &restored);
      for (int d = 0; d < 4; ++d) {
        EXPECT_EQ(twin->neighbours[d] ? twin->neighbours[d]->x : -1, node->neighbours[d] ? node->neighbours[d]->x : -1);
        EXPECT_EQ(twin->neighbours[d] ? twin->neighbours[d]->y : -1, node->neighbours[d] ? node->neighbours[d]->y : -1);
      }
    }
    size_t listed = 0;
    for (cPathNode* node = restored.GetNodeListHead(); node; node = node->next) ++listed;
    EXPECT_EQ(listed, pathtest::GridNodes(finder).size());
  }
}

TEST(PathSaveTest, CorruptBlobsRestoreNothing) {
  cPathFinder source;
  pathtest::BuildMap(source, {"TTT", "TPT", "TTT"});
  const std::vector<uint8_t> good = SaveOf(source);
  ASSERT_EQ(good.size(), 4u + 9u * cPathFinder::kRecordSize);
  // Record 4 is the centre tile (1,1): links 1, 5, 7, 3.
  const size_t centre = 4 + 4 * cPathFinder::kRecordSize;
  struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> spoil;
    const char* why;
  };
  const Case cases[] = {
      {"shorter_than_a_count", [](auto& b) { b.resize(3); }, "shorter than its record count"},
      {"count_above_records", [](auto& b) { b[0] = 10; }, "size does not match"},
      {"count_below_records", [](auto& b) { b[0] = 8; }, "size does not match"},
      {"trailing_byte", [](auto& b) { b.push_back(0); }, "size does not match"},
      {"huge_count", [](auto& b) { PutI32(b, 0, 0x7FFFFFFF); }, "size does not match"},
      {"more_records_than_cells",
       [&](auto& b) {
         b.insert(b.end(), good.begin() + 4, good.begin() + 4 + cPathFinder::kRecordSize);
         b[0] = 10;
       },
       "more records than grid cells"},
      {"x_off_grid", [&](auto& b) { PutU16(b, centre, 3); }, "off the grid"},
      {"y_off_grid", [&](auto& b) { PutU16(b, centre + 2, 200); }, "off the grid"},
      {"kind_zero", [&](auto& b) { b[centre + 4] = 0; }, "unknown kind"},
      {"kind_five", [&](auto& b) { b[centre + 4] = 5; }, "unknown kind"},
      {"repeated_cell", [&](auto& b) { PutU16(b, centre, 0); }, "repeats a cell"},
      {"link_past_the_grid", [&](auto& b) { PutI32(b, centre + 8, 9); }, "links off the grid"},
      {"link_negative", [&](auto& b) { PutI32(b, centre + 12, -2); }, "links off the grid"},
      {"link_not_a_neighbour", [&](auto& b) { PutI32(b, centre + 8, 8); }, "does not lie in that direction"},
      {"link_to_itself", [&](auto& b) { PutI32(b, centre + 20, 4); }, "does not lie in that direction"},
      {"link_round_the_edge", [&](auto& b) { PutI32(b, 4 + 6 * cPathFinder::kRecordSize + 12, 3); },
       "does not lie in that direction"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> blob = good;
    c.spoil(blob);
    platform::ScopedDebugCapture log;
    cPathFinder finder;
    RestoreInto(finder, 3, 3, blob);
    EXPECT_EQ(finder.GetNodeListHead(), nullptr);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 3; ++x) EXPECT_EQ(finder.GetNodeAt(x, y), nullptr);
    }
    EXPECT_EQ(finder.GetBlob(), nullptr);
    EXPECT_TRUE(log.Contains("saved graph refused")) << log.Text();
    EXPECT_TRUE(log.Contains(c.why)) << log.Text();
  }
  // A link to an empty cell: the tile below the centre is gone.
  cPathFinder holed;
  pathtest::BuildMap(holed, {"TTT", "TPT", "T.T"});
  std::vector<uint8_t> blob = SaveOf(holed);
  // Record 4 is (1,1) again (column 1 holds two tiles); point its down link at cell 7.
  PutI32(blob, 4 + 4 * cPathFinder::kRecordSize + 16, 7);
  platform::ScopedDebugCapture log;
  cPathFinder finder;
  RestoreInto(finder, 3, 3, blob);
  EXPECT_EQ(finder.GetNodeListHead(), nullptr);
  EXPECT_TRUE(log.Contains("links an empty cell")) << log.Text();
}

}  // namespace
