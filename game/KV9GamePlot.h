#pragma once
// The game's land plot: the construction plot with the steps the world
// build and reset, the root entity, the game camera and the game cursor
// take, standing in the world of the game's scenario and terrain manager.
#include <cstdint>

#include "construction/GamePlot.h"
#include "construction/PlotWorld.h"
#include "game/GameNeighbours.h"
#include "game/WorldPartOps.h"

class cKV9_GamePlot : public cEntity_GamePlot, public GamePlotOps, public PlotWorld {
 public:
  explicit cKV9_GamePlot(cEntity_Manager* manager);

  CoreStatus BuildWorld() override;
  CoreStatus ClearWorld() override;
  // Set while the world build lays the saved roads, buildings and
  // taxiways.
  void SetPlacement(uint8_t on) override { placement = on; }
  void SetGridSize(int32_t cells, int32_t second) override;
  void OnCursorMessageA() override;
  void OnCursorMessageB() override;
  // The grid's extent: blocks x 0.02 (0.8 for 40 blocks).
  float GetExtent() override { return GetPlotScale(); }
  void SetZoomLevel(int32_t level) override { zoomLevel = level; }
  // The plot's own input socket.
  cCore_Base_InputSocket* GetPlacementHandler() override { return this; }
  // Leaving the game view for the overview tags the built blocks and
  // pauses the clock; coming back clears the tags, resumes it and redraws
  // the mini-map.
  void SetGameViewActive(bool active) override;
  void BuildFenceMesh() override { cEntity_GamePlot::BuildFenceMesh(); }
  void BuildRoadLeadInMesh() override { cEntity_GamePlot::BuildRoadLeadInMesh(); }
  bool WorldToCell(float x, float z, int32_t* cellX, int32_t* cellY) override {
    return cEntity_GamePlot::WorldToCell(x, z, cellX, cellY);
  }

  // The world it stands in: the current location's land price and plot
  // texture, the terrain's height at a world point.
  float GetLandPrice() override;
  std::string GetPlotTexture() override;
  float GetHeightAt(float x, float z) override;

  uint8_t placement = 0;
  int32_t zoomLevel = 1;  // 1 nearest .. 3

 private:
  GameNeighbours game_;
};
