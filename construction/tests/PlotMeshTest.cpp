// What the land plot shows: the resources it asks the renderer for, the
// order it draws them in, the cursor planes, the building grid, the land
// tooltip, the mini-map picture and its hooks into the game.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "construction/tests/PlotFixture.h"
#include "scene/AlphaManager.h"
#include "scene/KV9InputManager.h"

namespace {

using plottest::FakeImage;
using plottest::PlotTest;

fake3d::FakeMesh* MeshOf(cEntity_GamePlot& plot, uint32_t slot) {
  return dynamic_cast<fake3d::FakeMesh*>(plot.GetMesh(slot));
}

std::string ShaderName(fake3d::FakeMesh* mesh) {
  auto* shader = mesh ? dynamic_cast<C3DBaseShader*>(mesh->shader) : nullptr;
  return shader ? shader->GetName() : std::string();
}

// The names of the drawn resources, in order.
std::vector<std::string> Drawn(const fake3d::FakeCore3D& renderer) {
  std::vector<std::string> names;
  for (const fake3d::DrawCall& call : renderer.draws) names.push_back(call.resource->GetName());
  return names;
}

bool Requested(const fake3d::FakeCore3D& renderer, const fake3d::Request& wanted) {
  for (const fake3d::Request& r : renderer.requests)
    if (r == wanted) return true;
  return false;
}

TEST_F(PlotTest, TheWorldAsksForEveryPlotMaterialFontAndPicture) {
  const fake3d::Request wanted[] = {
      {"shader", 8, "Models\\Plot\\purchased.jsm"},
      {"shader", 8, "Models\\Plot\\unavailable.jsm"},
      {"shader", 8, "Models\\Plot\\purchasing.jsm"},
      {"shader", 8, "Models\\Plot\\greyedpurchasing.jsm"},
      {"shader", 8, "Models\\Plot\\selling.jsm"},
      {"shader", 8, "Models\\Plot\\highlight.jsm"},
      {"shader", 8, "Models\\Plot\\gridunit.jsm"},
      {"shader", 0x108, "Models\\Plot\\fence.jsm"},
      {"shader", 8, "Shaders\\roadleadin.jsm"},
      {"shader", 0x108, "Shaders\\gridshader.jsm"},
      {"shader", 0x108, "Textures\\Ground.tga"},
      {"font", 8, "Interface\\Common\\Fonts\\Tarmac_12.jfn"},
      {"font", 8, "Interface\\Common\\Fonts\\RedTarmac_12.jfn"},
      {"font", 8, "Interface\\Common\\Fonts\\GreenTarmac_12.jfn"},
      {"image", 100, "128 128"},
  };
  for (const fake3d::Request& r : wanted) EXPECT_TRUE(Requested(renderer, r)) << r;
  struct Case {
    const char* name;
    uint32_t slot;
    const char* material;
    uint32_t vertices;
  };
  const Case cases[] = {
      {"polymesh_plane_GamePlot", cEntity_GamePlot::kMesh_Ground, "Textures\\Ground.tga", 4},
      {"polymesh_plane_Highlight", cEntity_GamePlot::kMesh_Highlight, "Models\\Plot\\highlight.jsm", 4},
      {"polymesh_plane_Purchasing", cEntity_GamePlot::kMesh_Selection, "Models\\Plot\\purchasing.jsm", 4},
      {"polymesh_planeUL_BuildingGrid", cEntity_GamePlot::kMesh_BuildingGrid, "Models\\Plot\\gridunit.jsm", 4},
      // 41 lines across and 41 down over the 40 x 40 block grid.
      {"dynamicmesh_grid", cEntity_GamePlot::kMesh_GridLines, "Shaders\\gridshader.jsm", 164},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake3d::FakeMesh* mesh = MeshOf(plot, c.slot);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->GetName(), c.name);
    EXPECT_EQ(mesh->GetFlags(), 0x28u);
    EXPECT_EQ(ShaderName(mesh), c.material);
    EXPECT_EQ(mesh->vertexCount, c.vertices);
  }
  fake3d::FakeMesh* ground = MeshOf(plot, cEntity_GamePlot::kMesh_Ground);
  EXPECT_FLOAT_EQ(ground->vertices[2].x, 256.0f);
  EXPECT_FLOAT_EQ(ground->vertices[2].z, 256.0f);
  EXPECT_EQ(MeshOf(plot, cEntity_GamePlot::kMesh_GridLines)->lineMode, 1);

  // The fine grid: cursor planes of one cell, a line per cell border.
  plot.SetFineGrid(true);
  fake3d::FakeMesh* highlight = MeshOf(plot, cEntity_GamePlot::kMesh_Highlight);
  ASSERT_NE(highlight, nullptr);
  EXPECT_FLOAT_EQ(highlight->vertices[2].x - highlight->vertices[0].x, 0.4f);
  EXPECT_EQ(MeshOf(plot, cEntity_GamePlot::kMesh_GridLines)->vertexCount, 641u * 4);

  plot.ClearWorld();
  for (const auto& mesh : renderer.meshes) EXPECT_EQ(mesh->GetRefCount(), 0) << mesh->GetName();
  for (const auto& shader : renderer.shaders) EXPECT_EQ(shader->GetRefCount(), 0) << shader->GetName();
  for (const auto& font : renderer.fonts) EXPECT_EQ(font->GetRefCount(), 0) << font->GetName();
  for (const auto& image : renderer.images) EXPECT_EQ(image->GetRefCount(), 0) << image->GetName();
}

TEST_F(PlotTest, TheFrameDrawsInItsOrderWithItsSwitches) {
  Buy(0, 5, 0, 5);
  plot.BuildMarkers();
  plot.BuildFenceMesh();
  plot.BuildRoadLeadInMesh();
  struct Case {
    const char* name;
    bool overPlot, drag, gridLines, highlight, buildingGrid, overview;
    std::vector<std::string> solid;
    std::vector<std::string> translucent;
  };
  const std::string ground = "polymesh_plane_GamePlot", grid = "dynamicmesh_grid",
                    light = "polymesh_plane_Highlight", selection = "polymesh_plane_Purchasing",
                    owned = "polymesh_GamePlot_PurchasedMesh", marker = "polymesh_Markers",
                    fence = "polymesh_Fence", leadIn = "polymesh_RoadLeadIn",
                    buildingGrid = "polymesh_planeUL_BuildingGrid";
  const Case cases[] = {
      {"pointer over the plot", true, false, true, true, false, false, {ground, grid, light, owned, marker},
       {fence, leadIn}},
      {"pointer off the plot", false, false, true, true, false, false, {ground, grid, owned, marker}, {fence, leadIn}},
      {"a drag shows the selection, not the highlight", true, true, true, true, false, false,
       {ground, grid, selection, owned, marker}, {fence, leadIn}},
      {"grid lines and highlight switched off", true, false, false, false, false, false, {ground, owned, marker},
       {fence, leadIn}},
      {"building grid on", false, false, true, true, true, false, {ground, grid, owned, marker},
       {fence, leadIn, buildingGrid}},
      {"the overview hides fence and lead-in", false, false, true, true, true, true, {ground, grid, owned, marker},
       {buildingGrid}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    plot.SetGameViewActive(!c.overview);
    plot.SetOverPlot(c.overPlot);
    plot.SetGridLinesVisible(c.gridLines);
    plot.SetHighlightVisible(c.highlight);
    plot.SetBuildingGridVisible(c.buildingGrid);
    if (c.drag) {
      plot.BeginPurchaseSelection(1, 5);
    } else {
      plot.ClearPurchaseState();
    }
    renderer.draws.clear();
    plot.Render(nullptr, &renderer);
    EXPECT_EQ(Drawn(renderer), c.solid);
    renderer.draws.clear();
    plot.DrawTranslucent(nullptr, &renderer);
    EXPECT_EQ(Drawn(renderer), c.translucent);
  }
}

TEST_F(PlotTest, HighlightAndSelectionFollowThePointerAndTheDrag) {
  plot.SetOverPlot(true);
  plot.PositionHighlight(3, 4);
  renderer.draws.clear();
  plot.Render(nullptr, &renderer);
  ASSERT_EQ(renderer.draws.size(), 3u);
  const JMatrix& at = renderer.draws[2].world;
  EXPECT_FLOAT_EQ(at.m[3][0], -128.0f + 3 * 6.4f);
  EXPECT_FLOAT_EQ(at.m[3][2], 4 * 6.4f - 128.0f);

  struct Case {
    const char* name;
    bool sale;
    int32_t x0, y0, x1, y1;
    const char* material;
    float width, depth;
  };
  Buy(10, 10, 10, 10);
  const Case cases[] = {
      {"buying next to owned land", false, 11, 10, 14, 11, "Models\\Plot\\purchasing.jsm", 4 * 6.4f, 2 * 6.4f},
      {"buying apart from it is greyed", false, 20, 20, 20, 20, "Models\\Plot\\greyedpurchasing.jsm", 6.4f, 6.4f},
      {"selling owned land", true, 10, 10, 10, 10, "Models\\Plot\\selling.jsm", 6.4f, 6.4f},
      {"dragged up and to the left", false, 12, 12, 11, 10, "Models\\Plot\\purchasing.jsm", 2 * 6.4f, 3 * 6.4f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Drag(c.sale, c.x0, c.y0, c.x1, c.y1);
    renderer.draws.clear();
    plot.Render(nullptr, &renderer);
    fake3d::FakeMesh* selection = MeshOf(plot, cEntity_GamePlot::kMesh_Selection);
    ASSERT_EQ(renderer.draws.size(), 4u);
    ASSERT_EQ(renderer.draws[2].resource, selection);
    EXPECT_EQ(ShaderName(selection), c.material);
    const JMatrix& m = renderer.draws[2].world;
    const float x = selection->vertices[2].x * m.m[0][0], z = selection->vertices[2].z * m.m[2][2];
    EXPECT_FLOAT_EQ(x, c.width);
    EXPECT_FLOAT_EQ(z, c.depth);
    EXPECT_FLOAT_EQ(m.m[3][0], -128.0f + std::min(c.x0, c.x1) * 6.4f);
    EXPECT_FLOAT_EQ(m.m[3][2], std::min(c.y0, c.y1) * 6.4f - 128.0f);
    plot.ClearPurchaseState();
    plot.CancelSale();
  }
}

TEST_F(PlotTest, TheBuildingGridCoversTheCursorOrTheObjectInHand) {
  struct Case {
    const char* name;
    uint8_t size;
    int32_t x, y;
    float x0, z0, x1, z1;
  };
  // View cells of 6.4 on the block grid; the plot starts at -128.
  const Case cases[] = {
      {"one cell around", 1, 5, 5, -128 + 4 * 6.4f, -128 + 4 * 6.4f, -128 + 7 * 6.4f, -128 + 7 * 6.4f},
      {"two cells around", 2, 5, 5, -128 + 3 * 6.4f, -128 + 3 * 6.4f, -128 + 8 * 6.4f, -128 + 8 * 6.4f},
      {"clipped at the corner", 2, 0, 0, -128, -128, -128 + 3 * 6.4f, -128 + 3 * 6.4f},
      {"clipped at the far edge", 1, 39, 39, -128 + 38 * 6.4f, -128 + 38 * 6.4f, 128, 128},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    plot.SetSelectionSize(c.size);
    plot.BuildCursorGridMesh(c.x, c.y);
    fake3d::FakeMesh* grid = MeshOf(plot, cEntity_GamePlot::kMesh_BuildingGrid);
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->vertexCount, 4u);
    ASSERT_EQ(grid->indexCount, 6u);
    EXPECT_NEAR(grid->vertices[0].x, c.x0, 1e-3);
    EXPECT_NEAR(grid->vertices[0].z, c.z0, 1e-3);
    EXPECT_NEAR(grid->vertices[2].x, c.x1, 1e-3);
    EXPECT_NEAR(grid->vertices[2].z, c.z1, 1e-3);
  }

  // The start runway (4 x 30 cells) turned a quarter lies 30 x 4, grown by
  // one view cell all round.
  BOInstance* held = buildings.Place(runway, 100, 200);
  ASSERT_NE(held, nullptr);
  held->rotation = 1;
  plot.SetSelectionSize(1);
  plot.BuildFootprintGridMesh(held);
  fake3d::FakeMesh* grid = MeshOf(plot, cEntity_GamePlot::kMesh_BuildingGrid);
  ASSERT_NE(grid, nullptr);
  ASSERT_EQ(grid->vertexCount, 4u);
  EXPECT_NEAR(grid->vertices[2].x - grid->vertices[0].x, 30 * 0.4f + 2 * 6.4f, 1e-3);
  EXPECT_NEAR(grid->vertices[2].z - grid->vertices[0].z, 4 * 0.4f + 2 * 6.4f, 1e-3);
  plot.BuildFootprintGridMesh(nullptr);
  EXPECT_EQ(plot.GetMesh(cEntity_GamePlot::kMesh_BuildingGrid), nullptr);
}

TEST_F(PlotTest, TheTooltipPricesTheDragInItsColour) {
  C3DFont* red = plot.GetFont(cEntity_GamePlot::kFont_Red);
  C3DFont* green = plot.GetFont(cEntity_GamePlot::kFont_Green);
  ASSERT_NE(red, nullptr);
  ASSERT_NE(green, nullptr);
  Buy(0, 0, 3, 0);
  struct Case {
    const char* name;
    bool sale;
    int32_t x0, y0, x1, y1;
    const char* text;
    C3DFont* font;
  };
  const Case cases[] = {
      {"one block", false, 0, 1, 0, 1, "$25000.00", red},
      {"four blocks, grouped past six characters", false, 0, 1, 3, 1, "$100,000.00", red},
      {"owned blocks are not priced again", false, 0, 0, 1, 1, "$50000.00", red},
      {"greyed away from owned land", false, 20, 20, 20, 20, " ", red},
      {"selling", true, 0, 0, 1, 0, "$50000.00", green},
      {"selling unowned land", true, 20, 20, 21, 20, " ", red},
  };
  const std::string tip = "sttPLMToolTip";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Drag(c.sale, c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(sim.widgets.labels[tip], c.text);
    EXPECT_EQ(sim.widgets.labelFonts[tip], c.font);
    plot.UpdateSelectionTooltip();
    EXPECT_EQ(sim.widgets.labels[tip], std::to_string(std::abs(c.x1 - c.x0) + 1) + " x " +
                                           std::to_string(std::abs(c.y1 - c.y0) + 1));
    plot.ClearPurchaseState();
    plot.CancelSale();
    EXPECT_EQ(sim.widgets.labels[tip], " ");
  }
  world.price = 0.0f;
  plot.BeginPurchaseSelection(4, 0);
  EXPECT_EQ(sim.widgets.labels[tip], " ");  // "$0.00" shows as a blank
}

TEST_F(PlotTest, TheMiniMapPictureFollowsTheLand) {
  ASSERT_EQ(renderer.images.size(), 1u);
  FakeImage* image = renderer.images[0].get();
  EXPECT_EQ(sim.widgets.images["stcMAPBackground"], image);
  ASSERT_EQ(image->width, 128);
  ASSERT_EQ(image->height, 128);
  for (uint32_t pixel : image->pixels) ASSERT_EQ(pixel, 0x11000000u);
  auto at = [&](uint32_t x, uint32_t y) { return image->pixels[y * 128 + x]; };

  Buy(1, 1, 1, 1);  // cells 16-31: pixels 3 up to 6
  for (uint32_t x = 2; x <= 6; ++x) {
    SCOPED_TRACE(x);
    EXPECT_EQ(at(x, 3), x >= 3 && x < 6 ? 0x33000000u : 0x11000000u);
  }
  cBuildableObject* road = buildings.Define<cBuildableObject>(kClass_Road, "Road", 1, 5, 5);
  BOInstance* r = buildings.Place(road, 20, 20);
  plot.PaintInstanceOnMiniMap(r, true);
  EXPECT_EQ(at(4, 4), cEntity_GamePlot::kPalette[kClass_Road]);
  plot.UndoTransaction();
  EXPECT_EQ(at(3, 3), 0x11000000u);
  EXPECT_EQ(at(4, 4), 0x11000000u);

  plot.ClearWorld();
  EXPECT_EQ(sim.widgets.images["stcMAPBackground"], nullptr);
  EXPECT_EQ(image->GetRefCount(), 0);
}

TEST_F(PlotTest, TheWorldJoinsTheTranslucentPassAndTheInputLists) {
  plot.ClearWorld();
  cEntity_AlphaManager alpha(nullptr);
  cKV9_InputManager input;
  sim.table.alphaManager = &alpha;
  sim.table.inputManager = &input;
  ASSERT_EQ(plot.BuildWorld(), 0);
  EXPECT_EQ(alpha.GetUpdateeCount(), 1u);
  EXPECT_EQ(alpha.GetUpdatee(0), static_cast<cAlphaUpdatee*>(&plot));
  cCore_Base_InputSocket* found = nullptr;
  EXPECT_EQ(input.FindKeySocket("GamePlot", &found), 0);
  EXPECT_EQ(found, static_cast<cCore_Base_InputSocket*>(&plot));
  found = nullptr;
  EXPECT_EQ(input.FindMouseSocket("GamePlot", &found), 0);
  EXPECT_EQ(found, static_cast<cCore_Base_InputSocket*>(&plot));
  ASSERT_EQ(plot.BuildWorld(), 0);  // a second build registers nothing twice
  EXPECT_EQ(alpha.GetUpdateeCount(), 1u);

  plot.ClearWorld();
  EXPECT_EQ(alpha.GetUpdatee(0), nullptr);
  EXPECT_NE(input.FindKeySocket("GamePlot", &found), 0);
  EXPECT_NE(input.FindMouseSocket("GamePlot", &found), 0);
  sim.table.alphaManager = nullptr;
  sim.table.inputManager = nullptr;
  ASSERT_EQ(plot.BuildWorld(), 0);
}

TEST_F(PlotTest, TheOverviewTagsBuiltLandAndPausesTheClock) {
  Buy(0, 5, 1, 5);
  plot.SetCell(5 * 16 * 640 + 20, 0xF1, 0xFF, false, nullptr, false);  // road in block (1, 5)
  plot.ResumeClock();
  plot.SetGameViewActive(false);
  EXPECT_TRUE(plot.IsOverview());
  EXPECT_TRUE(plot.IsTagged(5 * 40 + 1));
  EXPECT_FALSE(plot.IsTagged(5 * 40));
  fake3d::FakeMesh* tagged = MeshOf(plot, cEntity_GamePlot::kMesh_Tagged);
  ASSERT_NE(tagged, nullptr);
  EXPECT_EQ(tagged->vertexCount, 4u);
  EXPECT_EQ(sim.Clock().speed, 0.0f);
  plot.SetGameViewActive(true);
  EXPECT_FALSE(plot.IsOverview());
  EXPECT_EQ(plot.GetMesh(cEntity_GamePlot::kMesh_Tagged), nullptr);
  EXPECT_FALSE(plot.IsTagged(5 * 40 + 1));
  EXPECT_GT(sim.Clock().speed, 0.0f);
}

TEST_F(PlotTest, TheCostViewFlipsOutsideTheOverviewAndPausesWhenTurnedOff) {
  plot.ResumeClock();
  plot.ToggleCostView();
  EXPECT_TRUE(plot.IsCostView());
  EXPECT_GT(sim.Clock().speed, 0.0f) << "turning it on leaves the clock running";
  plot.ToggleCostView();
  EXPECT_FALSE(plot.IsCostView());
  EXPECT_EQ(sim.Clock().speed, 0.0f);

  plot.SetGameViewActive(false);
  plot.ToggleCostView();
  EXPECT_FALSE(plot.IsCostView()) << "ignored in the overview";
}

TEST_F(PlotTest, TheHighlightStaysHiddenWhileAnObjectIsHeld) {
  plot.SuspendHighlight();
  EXPECT_FALSE(plot.GetHighlightVisible());
  BOInstance* held = buildings.Place(runway, 0, 0);
  buildings.SetPlacementObject(held, false);
  plot.RestoreHighlight();
  EXPECT_FALSE(plot.GetHighlightVisible());
  buildings.SetPlacementObject(nullptr, false);
  plot.RestoreHighlight();
  EXPECT_TRUE(plot.GetHighlightVisible());
}

}  // namespace
