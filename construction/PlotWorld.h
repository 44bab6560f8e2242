#pragma once
// What the land plot reads of the world it stands in: the current location's
// land price and plot texture, and the terrain height for the road lead-in.
// The game installs an implementation over its terrain manager and scenario
// (cEntity_GamePlot::SetWorld); without one the land is free, the texture
// empty and the ground flat at the plot's origin height.
#include <string>

class PlotWorld {
 public:
  virtual ~PlotWorld() = default;
  // Dollars per purchase block.
  virtual float GetLandPrice() = 0;
  virtual std::string GetPlotTexture() = 0;
  virtual float GetHeightAt(float x, float z) = 0;
};
