// What follows the pointer over the plot: the highlight on the view cell
// under it, the selection over a land drag with its price and size tooltip,
// and the building grid around the cursor or the object in hand.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DMesh.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/MoneyText.h"
#include "simulation/SimulationWidgets.h"

namespace {

// Over the land overlays, so the cursor planes are never hidden by them.
constexpr float kCursorLift = 0.05f;
constexpr const char* kTooltip = "sttPLMToolTip";

void AddQuad(std::vector<RenderVertex>& v, std::vector<uint16_t>& i, float x0, float z0, float x1, float z1, float y,
             float uMax, float vMax) {
  if (v.size() + 4 > 0xFFFF) return;
  const auto b = static_cast<uint16_t>(v.size());
  v.push_back(cEntity_GamePlot::PlotVertex(x0, y, z0, 0, 0));
  v.push_back(cEntity_GamePlot::PlotVertex(x1, y, z0, uMax, 0));
  v.push_back(cEntity_GamePlot::PlotVertex(x1, y, z1, uMax, vMax));
  v.push_back(cEntity_GamePlot::PlotVertex(x0, y, z1, 0, vMax));
  for (uint16_t k : {0, 1, 2, 0, 2, 3}) i.push_back(static_cast<uint16_t>(b + k));
}

}  // namespace

void cEntity_GamePlot::SizeCursorPlanes() {
  const float s = viewCellSize_;
  std::vector<RenderVertex> v;
  std::vector<uint16_t> i;
  AddQuad(v, i, 0, 0, s, s, 0, 1, 1);
  SetMesh(kMesh_Highlight, "polymesh_plane_Highlight", v, i, kMaterial_Highlight);
  SetMesh(kMesh_Selection, "polymesh_plane_Purchasing", std::move(v), std::move(i), kMaterial_Purchasing);
  PositionSelectionMesh();
}

void cEntity_GamePlot::PositionHighlight(int32_t x, int32_t y) {
  float x0, z0, x1, z1;
  if (x < 0 || y < 0 || !GetCellWorldRect(static_cast<uint16_t>(x), static_cast<uint16_t>(y), &x0, &z0, &x1, &z1, true))
    return;
  highlightMatrix_ = JMatrix::Identity();
  highlightMatrix_.m[3][0] = x0;
  highlightMatrix_.m[3][1] = originY_ + kCursorLift;
  highlightMatrix_.m[3][2] = z0;
}

void cEntity_GamePlot::PositionSelectionMesh() {
  // The drag rectangle is in blocks; the quad is one view cell, stretched.
  int32_t bx0, by0, bx1, by1;
  SelectionRect(&bx0, &by0, &bx1, &by1);
  const float block = blocksX_ ? worldSizeX_ / blocksX_ : 0.0f;
  const float scale = viewCellSize_ > 0.0f ? block / viewCellSize_ : 1.0f;
  selectionMatrix_ = JMatrix::Identity();
  selectionMatrix_.m[0][0] = static_cast<float>(bx1 - bx0 + 1) * scale;
  selectionMatrix_.m[2][2] = static_cast<float>(by1 - by0 + 1) * scale;
  selectionMatrix_.m[3][0] = originX_ + bx0 * block;
  selectionMatrix_.m[3][1] = originY_ + kCursorLift;
  selectionMatrix_.m[3][2] = by0 * block - originZ_;
  C3DMesh* mesh = meshes_[kMesh_Selection];
  const uint32_t material = landMode_ == LandMode::Purchasing ? kMaterial_Purchasing
                            : landMode_ == LandMode::Selling  ? kMaterial_Selling
                                                              : kMaterial_GreyedPurchasing;
  if (mesh && materials_[material]) mesh->SetShader(dynamic_cast<C3DMaterialShader*>(materials_[material]));
}

void cEntity_GamePlot::BuildCursorGridMesh(int32_t x, int32_t y) {
  const int32_t n = selectionSize_;
  const int32_t cx0 = std::max(0, x - n), cz0 = std::max(0, y - n);
  const int32_t cx1 = std::min<int32_t>(viewWidth_ - 1, x + n), cz1 = std::min<int32_t>(viewHeight_ - 1, y + n);
  std::vector<RenderVertex> v;
  std::vector<uint16_t> i;
  float ax0, az0, ax1, az1, bx0, bz0, bx1, bz1;
  if (cx0 <= cx1 && cz0 <= cz1 &&
      GetCellWorldRect(static_cast<uint16_t>(cx0), static_cast<uint16_t>(cz0), &ax0, &az0, &ax1, &az1, true) &&
      GetCellWorldRect(static_cast<uint16_t>(cx1), static_cast<uint16_t>(cz1), &bx0, &bz0, &bx1, &bz1, true)) {
    AddQuad(v, i, ax0, az0, bx1, bz1, originY_ + kCursorLift, static_cast<float>(cx1 - cx0 + 1),
            static_cast<float>(cz1 - cz0 + 1));
  }
  SetMesh(kMesh_BuildingGrid, "polymesh_planeUL_BuildingGrid", std::move(v), std::move(i), kMaterial_GridUnit);
}

void cEntity_GamePlot::BuildFootprintGridMesh(BOInstance* object) {
  std::vector<RenderVertex> v;
  std::vector<uint16_t> i;
  FootprintRecord footprint;
  if (object) object->CallTypeFootprintCells(&footprint);
  const float cell = GetCellSize();
  const float grow = selectionSize_ * viewCellSize_;
  const float repeat = viewCellSize_ > 0.0f ? viewCellSize_ : 1.0f;
  for (uint8_t r = 0; footprint.rects && r < footprint.count; ++r) {
    const FootprintRect& rect = footprint.rects[r];
    const float x0 = originX_ + (object->x + rect.x) * cell - grow;
    const float z0 = (object->y + rect.y) * cell - originZ_ - grow;
    const float x1 = x0 + rect.w * cell + 2 * grow, z1 = z0 + rect.l * cell + 2 * grow;
    AddQuad(v, i, x0, z0, x1, z1, originY_ + kCursorLift, (x1 - x0) / repeat, (z1 - z0) / repeat);
  }
  SetMesh(kMesh_BuildingGrid, "polymesh_planeUL_BuildingGrid", std::move(v), std::move(i), kMaterial_GridUnit);
}

void cEntity_GamePlot::SuspendHighlight() {
  savedHighlight_ = showHighlight_;
  showHighlight_ = false;
}

void cEntity_GamePlot::RestoreHighlight() {
  cEntity_BuildingManager* buildings = table_ ? table_->buildingManager : nullptr;
  if (buildings && buildings->GetPlacementObject()) return;
  showHighlight_ = savedHighlight_;
}

void cEntity_GamePlot::UpdatePriceTooltip() {
  SimulationWidgets* widgets = GetSimulationWidgets();
  if (!widgets) return;
  const bool buying = purchaseActive_ && landMode_ == LandMode::Purchasing;
  const bool selling = saleActive_ && landMode_ == LandMode::Selling;
  std::string text;
  if (buying || selling) {
    const double amount = static_cast<double>(LandPrice()) * (buying ? purchaseList_.size() : saleList_.size());
    const std::string plain = FormatDollars(amount);
    text = (plain.size() > 6 ? FormatBudget(amount) : plain) + ".00";
  }
  // Nothing to price shows as a single blank.
  const bool blank = text.empty() || text == "$0.00";
  widgets->SetLabelText(kTooltip, blank ? std::string(1, ' ') : text, fonts_[selling ? kFont_Green : kFont_Red]);
}

void cEntity_GamePlot::UpdateSelectionTooltip() {
  SimulationWidgets* widgets = GetSimulationWidgets();
  if (!widgets) return;
  int32_t x0, y0, x1, y1;
  SelectionRect(&x0, &y0, &x1, &y1);
  char text[32];
  std::snprintf(text, sizeof text, "%d x %d", x1 - x0 + 1, y1 - y0 + 1);
  widgets->SetLabelText(kTooltip, text, nullptr);
}
