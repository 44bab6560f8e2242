// The path finder on a 640 x 640 airside plot: queries per second with
// clearance and reservations, the same requests through the plain
// sorted-array search beside it, and a requeue of 200 retained requests
// served one per tick.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "construction/PathFinder.h"
#include "construction/tests/RandomGrid.h"
#include "construction/tests/ReferenceSearch.h"

namespace {

constexpr uint32_t kSeed = 640;
constexpr size_t kRetained = 20;  // reserved routes standing on the plot during the queries
constexpr size_t kRetainedReach = 40;
// Every iteration runs the same queries on both sides, so their times compare.
constexpr size_t kQueries = 8;


// Pairs of tile indices (in cell order) whose tiles have all four links;
// with a reach, the second tile lies at most that many cells along the grid
// order from the first (a short taxi), else anywhere.
std::vector<std::pair<size_t, size_t>> Pairs(const std::vector<cPathNode*>& nodes, size_t count, uint32_t seed,
                                             size_t reach = 0) {
  std::vector<size_t> open;
  for (size_t i = 0; i < nodes.size(); ++i) {
    const cPathNode* n = nodes[i];
    if (n->neighbours[0] && n->neighbours[1] && n->neighbours[2] && n->neighbours[3]) open.push_back(i);
  }
  std::mt19937 rng(seed);
  std::vector<std::pair<size_t, size_t>> pairs;
  for (size_t i = 0; i < count; ++i) {
    const size_t a = rng() % open.size();
    const size_t b = reach ? std::min(open.size() - 1, a + rng() % reach) : rng() % open.size();
    pairs.push_back({open[a], open[b]});
  }
  return pairs;
}

struct FinderPlot {
  cPathFinder finder;
  std::vector<cPathNode*> nodes;
  FinderPlot() {
    pathtest::BuildRandomGrid(finder, kSeed, pathtest::AirsidePlot640());
    nodes = pathtest::GridNodes(finder);
    for (auto [from, to] : Pairs(nodes, kRetained, kSeed + 1, kRetainedReach)) finder.RequestPath(nodes[from], nodes[to], 1, 2, 1);
  }
};

struct ReferencePlot {
  cPathFinder graph;
  std::vector<cPathNode*> nodes;
  ReferencePlot() {
    pathtest::BuildRandomGrid(graph, kSeed, pathtest::AirsidePlot640());
    nodes = pathtest::GridNodes(graph);
    pathtest::ReferenceSearch search(graph);
    for (auto [from, to] : Pairs(nodes, kRetained, kSeed + 1, kRetainedReach)) search.Run(nodes[from], nodes[to], true, 2, true);
  }
};

FinderPlot& SharedFinderPlot() {
  static FinderPlot plot;
  return plot;
}
ReferencePlot& SharedReferencePlot() {
  static ReferencePlot plot;
  return plot;
}

// arg 0: clearance (0 or 2); arg 1: reserve flag.
void BM_Finder_Query640(benchmark::State& state) {
  FinderPlot& plot = SharedFinderPlot();
  const auto pairs = Pairs(plot.nodes, kQueries, kSeed + 2);
  const uint8_t clearance = static_cast<uint8_t>(state.range(0));
  const uint8_t reserve = static_cast<uint8_t>(state.range(1));
  size_t found = 0, steps = 0;
  for (auto _ : state) {
    for (auto [from, to] : pairs) {
      Route* route = plot.finder.RequestPath(plot.nodes[from], plot.nodes[to], 1, clearance, reserve);
      found += route->secondStatus;
      steps += route->route.size();
      plot.finder.CancelRequest(route);
    }
  }
  const double queries = static_cast<double>(state.iterations()) * static_cast<double>(pairs.size());
  state.SetItemsProcessed(static_cast<int64_t>(queries));
  state.counters["found_share"] = static_cast<double>(found) / queries;
  state.counters["route_tiles"] = static_cast<double>(steps) / queries;
}
BENCHMARK(BM_Finder_Query640)->Args({0, 0})->Args({2, 1})->Unit(benchmark::kMillisecond);

void BM_Reference_Query640(benchmark::State& state) {
  ReferencePlot& plot = SharedReferencePlot();
  const auto pairs = Pairs(plot.nodes, kQueries, kSeed + 2);
  const int clearance = static_cast<int>(state.range(0));
  const bool reserve = state.range(1) != 0;
  pathtest::ReferenceSearch search(plot.graph);
  size_t found = 0, steps = 0;
  for (auto _ : state) {
    for (auto [from, to] : pairs) {
      pathtest::ReferenceResult result = search.Run(plot.nodes[from], plot.nodes[to], true, clearance, reserve);
      found += result.found;
      steps += result.route.size();
      if (reserve) {
        for (cPathNode* node : result.route) node->reservation = 0;
      }
    }
  }
  const double queries = static_cast<double>(state.iterations()) * static_cast<double>(pairs.size());
  state.SetItemsProcessed(static_cast<int64_t>(queries));
  state.counters["found_share"] = static_cast<double>(found) / queries;
  state.counters["route_tiles"] = static_cast<double>(steps) / queries;
}
BENCHMARK(BM_Reference_Query640)->Args({0, 0})->Args({2, 1})->Unit(benchmark::kMillisecond);

// 200 retained requests (turn penalty, clearance 1, reserve) queued again
// and served one per tick.
void BM_Finder_Requeue200(benchmark::State& state) {
  cPathFinder finder;
  pathtest::BuildRandomGrid(finder, kSeed, pathtest::AirsidePlot640());
  const std::vector<cPathNode*> nodes = pathtest::GridNodes(finder);
  std::vector<Route*> routes;
  for (auto [from, to] : Pairs(nodes, 200, kSeed + 3)) {
    routes.push_back(finder.RequestPath(nodes[from], nodes[to], 1, 1, 1));
  }
  for (auto _ : state) {
    finder.RequeueFinishedRequests();
    while (finder.QueueSize() > 0) finder.OnTime(0, 0, kTimeEvent_Tick, 0.0f);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(routes.size()));
}
BENCHMARK(BM_Finder_Requeue200)->Unit(benchmark::kMillisecond);

}  // namespace
