// The path finder against a general-purpose graph library's A* search
// (Boost.Graph's astar_search: 4-neighbour links, unit edge weights,
// Manhattan distance to the target) on the same 640 x 640 airside plot and
// the same requests. The finder runs with its turn penalty, without
// clearance or reservations. Built only where the library's headers are
// installed; the game itself never uses it.
#if __has_include(<boost/graph/astar_search.hpp>)

#include <benchmark/benchmark.h>

// The library's edge iterators trip GCC's may-be-uninitialised analysis once
// inlined here; the warning is about the library's code, not this file's.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <boost/graph/adjacency_list.hpp>
#include <boost/graph/astar_search.hpp>
#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

#include "construction/PathFinder.h"
#include "construction/tests/RandomGrid.h"

namespace {

constexpr uint32_t kSeed = 640;
constexpr size_t kQueries = 8;


using Graph = boost::adjacency_list<boost::vecS, boost::vecS, boost::directedS, boost::no_property,
                                    boost::property<boost::edge_weight_t, uint32_t>>;
using Vertex = boost::graph_traits<Graph>::vertex_descriptor;

// The plot once, as the finder's graph and as the library's graph, whose
// vertex i is the finder's node i of the grid order.
struct Plots {
  cPathFinder finder;
  std::vector<cPathNode*> nodes;
  Graph graph;
  std::vector<std::pair<size_t, size_t>> pairs;

  Plots() {
    pathtest::BuildRandomGrid(finder, kSeed, pathtest::AirsidePlot640());
    nodes = pathtest::GridNodes(finder);
    std::vector<int32_t> index(size_t{finder.width} * finder.height, -1);
    for (size_t i = 0; i < nodes.size(); ++i) index[Cell(nodes[i])] = static_cast<int32_t>(i);
    graph = Graph(nodes.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
      for (const cPathNode* next : nodes[i]->neighbours) {
        if (next) boost::add_edge(i, static_cast<size_t>(index[Cell(next)]), 1u, graph);
      }
    }
    // Tiles linked on all four sides, paired at random over the plot.
    std::vector<size_t> open;
    for (size_t i = 0; i < nodes.size(); ++i) {
      const cPathNode* n = nodes[i];
      if (n->neighbours[0] && n->neighbours[1] && n->neighbours[2] && n->neighbours[3]) open.push_back(i);
    }
    std::mt19937 rng(kSeed + 2);
    for (size_t i = 0; i < kQueries; ++i) pairs.push_back({open[rng() % open.size()], open[rng() % open.size()]});
  }

  size_t Cell(const cPathNode* node) const { return size_t{node->y} * finder.width + node->x; }
};

Plots& SharedPlots() {
  static Plots plots;
  return plots;
}

class Manhattan : public boost::astar_heuristic<Graph, uint32_t> {
 public:
  Manhattan(const std::vector<cPathNode*>& nodes, const cPathNode* target) : nodes_(&nodes), target_(target) {}
  uint32_t operator()(Vertex v) const {
    const cPathNode* n = (*nodes_)[v];
    return static_cast<uint32_t>(std::abs(int{n->x} - int{target_->x}) + std::abs(int{n->y} - int{target_->y}));
  }

 private:
  const std::vector<cPathNode*>* nodes_;
  const cPathNode* target_;
};

struct FoundTarget {};

// Ends the search when the target is taken from the open list, as the
// finder does.
class StopAtTarget : public boost::default_astar_visitor {
 public:
  explicit StopAtTarget(Vertex target) : target_(target) {}
  void examine_vertex(Vertex v, const Graph&) {
    if (v == target_) throw FoundTarget{};
  }

 private:
  Vertex target_;
};

void BM_PathFinder_Turns640(benchmark::State& state) {
  Plots& plots = SharedPlots();
  size_t found = 0, steps = 0;
  for (auto _ : state) {
    for (auto [from, to] : plots.pairs) {
      Route* route = plots.finder.RequestPath(plots.nodes[from], plots.nodes[to], 1, 0, 0);
      found += route->secondStatus;
      steps += route->route.size();
      plots.finder.CancelRequest(route);
    }
  }
  const double queries = static_cast<double>(state.iterations()) * static_cast<double>(plots.pairs.size());
  state.SetItemsProcessed(static_cast<int64_t>(queries));
  state.counters["found_share"] = static_cast<double>(found) / queries;
  state.counters["route_tiles"] = static_cast<double>(steps) / queries;
}
BENCHMARK(BM_PathFinder_Turns640)->Unit(benchmark::kMillisecond);

void BM_GraphLibraryAStar640(benchmark::State& state) {
  Plots& plots = SharedPlots();
  std::vector<Vertex> predecessor(boost::num_vertices(plots.graph));
  std::vector<uint32_t> distance(boost::num_vertices(plots.graph));
  size_t found = 0, steps = 0;
  for (auto _ : state) {
    for (auto [from, to] : plots.pairs) {
      try {
        boost::astar_search(plots.graph, from, Manhattan(plots.nodes, plots.nodes[to]),
                            boost::predecessor_map(predecessor.data())
                                .distance_map(distance.data())
                                .visitor(StopAtTarget(to)));
      } catch (const FoundTarget&) {
        ++found;
        for (Vertex v = to; v != from; v = predecessor[v]) ++steps;
        ++steps;
      }
    }
  }
  const double queries = static_cast<double>(state.iterations()) * static_cast<double>(plots.pairs.size());
  state.SetItemsProcessed(static_cast<int64_t>(queries));
  state.counters["found_share"] = static_cast<double>(found) / queries;
  state.counters["route_tiles"] = static_cast<double>(steps) / queries;
}
BENCHMARK(BM_GraphLibraryAStar640)->Unit(benchmark::kMillisecond);

}  // namespace

#endif
