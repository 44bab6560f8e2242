// The mini-map picture: one pixel per 5 x 5 cells, held by the plot and
// copied into a renderer image that the widget "stcMAPBackground" shows.
#include <cstdio>

#include "construction/GamePlot.h"
#include "engine/services/C3DImage.h"
#include "engine/services/Core3D.h"
#include "simulation/SimulationWidgets.h"

namespace {

constexpr uint32_t kImageFlags = 100;
constexpr const char* kMapWidget = "stcMAPBackground";

}  // namespace

void cEntity_GamePlot::BuildMiniMap() {
  const size_t count = static_cast<size_t>(GetMiniMapWidth()) * GetMiniMapHeight();
  if (miniMap_.size() != count) miniMap_.assign(count, kPalette[kPaletteNotOwned]);
  Core3D* renderer = Renderer();
  if (!renderer || miniMapImage_ || miniMap_.empty()) return;
  char size[32];
  std::snprintf(size, sizeof size, "%u %u", GetMiniMapWidth(), GetMiniMapHeight());
  miniMapImage_ = renderer->CreateImage(kImageFlags, size);
  if (!miniMapImage_) return;
  miniMapImage_->BuildFromPixels(renderer, static_cast<uint16_t>(GetMiniMapWidth()),
                                 static_cast<uint16_t>(GetMiniMapHeight()), false, miniMap_.data());
  if (SimulationWidgets* widgets = GetSimulationWidgets()) widgets->SetWidgetImage(kMapWidget, miniMapImage_);
}

void cEntity_GamePlot::UpdateMiniMap() {
  if (miniMapImage_ && !miniMap_.empty()) miniMapImage_->UpdatePixels(miniMap_.data());
}

void cEntity_GamePlot::ReleaseMiniMapImage() {
  if (!miniMapImage_) return;
  if (SimulationWidgets* widgets = GetSimulationWidgets()) widgets->SetWidgetImage(kMapWidget, nullptr);
  if (Core3D* renderer = Renderer()) renderer->ReleaseResource(miniMapImage_);
  miniMapImage_ = nullptr;
}
