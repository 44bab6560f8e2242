// The road network's frame costs: a 100-cell drag across ten roads (sections,
// mesh, flood from the entrance, requeue) against the 16 ms frame, and a
// 20,000-section mesh rebuild beside a plain loop writing the same vertices
// and indices.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "construction/tests/RoadWorld.h"
#include "engine/files/SerializeRecord.h"
#include "platform/DebugOutput.h"

namespace {

constexpr uint16_t kDragPlot = 128;
constexpr uint16_t kMeshPlot = 284;  // lone cells on every other cell: 142 x 142 sections

void BM_RoadDrag100(benchmark::State& state) {
  platform::SetDebugStderr(false);
  for (auto _ : state) {
    state.PauseTiming();
    auto w = std::make_unique<roadtest::RoadWorld>(true, kDragPlot);
    w->SetCash(1e9);
    w->roads->SetEntranceCell(0, 10);
    w->Place(0, 10, 100, 1);
    for (uint16_t i = 0; i < 10; ++i) w->Place(static_cast<uint16_t>(5 + 10 * i), 0, 1, 8);
    state.ResumeTiming();
    // A parallel road crossing the ten stubs' line below them, then linked.
    w->Place(0, 4, 100, 1);
    state.PauseTiming();
    w.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RoadDrag100)->Unit(benchmark::kMillisecond);

std::vector<uint8_t> LoneCells() {
  SaveRecordWriter out;
  out.PutU16(0xFFFF);
  out.PutU16(0xFFFF);
  const uint32_t side = kMeshPlot / 2;
  out.PutU32(side * side);
  for (uint32_t y = 0; y < side; ++y) {
    for (uint32_t x = 0; x < side; ++x) {
      roadtest::PutSectionRecord(out, y * side + x + 1, static_cast<uint16_t>(2 * x), static_cast<uint16_t>(2 * y), 1, 1,
                                 RoadLoneCell);
    }
  }
  return roadtest::Bytes(out);
}

void BM_RoadMeshRebuild20k(benchmark::State& state) {
  platform::SetDebugStderr(false);
  roadtest::RoadWorld w(true, kMeshPlot);
  const std::vector<uint8_t> blob = LoneCells();
  w.roads->LoadFromBlob(blob.data(), static_cast<uint32_t>(blob.size()));
  w.roads->BuildWorld();
  for (auto _ : state) w.roads->RebuildRoadMesh();
  state.counters["sections"] = static_cast<double>(w.roads->GetSections().size());
}
BENCHMARK(BM_RoadMeshRebuild20k)->Unit(benchmark::kMillisecond);

// The same vertices and indices written by a plain loop into one array each.
void BM_PlainQuadLoop20k(benchmark::State& state) {
  const size_t n = (kMeshPlot / 2) * (kMeshPlot / 2);
  std::vector<RenderVertex> quads(n * 4);
  for (size_t i = 0; i < quads.size(); ++i) quads[i].x = static_cast<float>(i);
  for (auto _ : state) {
    std::vector<RenderVertex> vertices(n * 4);
    std::vector<uint16_t> indices(n * 6);
    std::vector<uint16_t> selectors(n * 6);
    std::memcpy(vertices.data(), quads.data(), quads.size() * sizeof(RenderVertex));
    for (size_t i = 0; i < n; ++i) {
      const auto base = static_cast<uint16_t>(i * 4);
      uint16_t* q = &indices[i * 6];
      q[0] = base;
      q[1] = static_cast<uint16_t>(base + 3);
      q[2] = static_cast<uint16_t>(base + 2);
      q[3] = static_cast<uint16_t>(base + 2);
      q[4] = static_cast<uint16_t>(base + 1);
      q[5] = base;
      for (int k = 0; k < 6; ++k) selectors[i * 6 + k] = 0;
    }
    benchmark::DoNotOptimize(vertices.data());
    benchmark::DoNotOptimize(indices.data());
    benchmark::DoNotOptimize(selectors.data());
  }
}
BENCHMARK(BM_PlainQuadLoop20k)->Unit(benchmark::kMillisecond);

}  // namespace
