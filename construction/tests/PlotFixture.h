#pragma once
// The land plot on the real clock and statistics, with the kit's GUI
// recorder, a renderer stand-in with images and material shaders, and a building
// manager holding the start runway.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "construction/GamePlot.h"
#include "construction/PlotWorld.h"
#include "construction/tests/TestBuildingManager.h"
#include "engine/services/tests/FakeCore3D.h"
#include "simulation/SimulationClock.h"
#include "simulation/StatManager.h"
#include "simulation/tests/kit/SimWorld.h"

namespace plottest {

using buildtest::TestBuildingManager;

using FakeImage = fake3d::PixelImage;

// FakeCore3D with images (requests recorded as "image") and with shaders
// that are materials, as the renderer's are, so meshes can wear them.
class ImageRenderer : public fake3d::FakeCore3D {
 public:
  C3DBaseShader* CreateShader(uint32_t flags, std::string name) override {
    requests.push_back(fake3d::Request{"shader", flags, name});
    if (refused.count(name)) return nullptr;
    shaders.push_back(std::make_unique<fake3d::FakePageShader>(this, flags, name));
    return shaders.back().get();
  }
  C3DImage* CreateImage(uint32_t flags, std::string name) override {
    requests.push_back(fake3d::Request{"image", flags, name});
    images.push_back(std::make_unique<FakeImage>(this, flags, name));
    return images.back().get();
  }
  void AddRefResource(C3DImage* image) override { image->AddRef(); }
  void ReleaseResource(C3DImage* image) override { image->Release(); }
  using fake3d::FakeCore3D::AddRefResource;
  using fake3d::FakeCore3D::ReleaseResource;

  std::vector<std::unique_ptr<FakeImage>> images;
};

class FakePlotWorld : public PlotWorld {
 public:
  float GetLandPrice() override { return price; }
  std::string GetPlotTexture() override { return "Textures\\Ground.tga"; }
  float GetHeightAt(float, float) override { return 0.0f; }
  float price = 25000.0f;
};

// The plot on the real clock and statistics, with the kit's GUI recorder and
// a building manager holding the start runway (4 x 30 cells: 1 x 2 blocks).
class PlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sim.ready);
    sim.BuildWorld();
    sim.table.graphics = &renderer;
    runway = buildings.Define<cRunway>(kClass_Runway, "2000 Meter Runway", 1, 4, 30);
    sim.table.buildingManager = &buildings;
    sim.table.gamePlot = &plot;
    buildings.SetTable(&sim.table);
    plot.SetTable(&sim.table);
    plot.SetWorld(&world);
    sim.scenario.landPrice = world.price;
    ASSERT_EQ(plot.BuildWorld(), 0);
  }
  void TearDown() override {
    plot.ClearWorld();
    sim.table.graphics = nullptr;
    sim.table.buildingManager = &sim.buildings;
    sim.table.gamePlot = &sim.plot;
  }

  double Cash() { return sim.stats->block.cash; }
  void Buy(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    plot.BeginPurchaseSelection(x0, y0);
    plot.ExtendPurchaseSelection(x1, y1);
    plot.PurchaseSelection();
  }
  bool Sell(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    plot.BeginSaleSelection(x0, y0);
    plot.ExtendSaleSelection(x1, y1);
    if (!plot.ConfirmSale()) return false;
    plot.SellSelection();
    return true;
  }
  uint32_t Pixel(uint32_t x, uint32_t y) { return plot.GetMiniMapPixels()[y * plot.GetMiniMapWidth() + x]; }
  uint32_t BlockCell(uint32_t bx, uint32_t by) { return plot.GetCellWord((by * 16 + 3) * 640 + bx * 16 + 3); }

  simkit::SimWorld sim;
  ImageRenderer renderer;
  FakePlotWorld world;
  TestBuildingManager buildings{nullptr};
  cEntity_GamePlot plot{nullptr};
  cRunway* runway = nullptr;
};

}  // namespace plottest
