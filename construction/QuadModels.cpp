#include "construction/QuadModels.h"

#include <algorithm>

#include "construction/GameNeighbours.h"
#include "construction/GamePlot.h"
#include "engine/services/C3DModel.h"
#include "engine/services/Core3D.h"
#include "scene/SceneCamera.h"

void UploadQuadModels(Core3D* graphics, uint32_t createFlags, const std::string& baseName,
                      std::vector<C3DModel*>& models, const std::vector<QuadEntry>& quads, uint16_t partCount,
                      C3DBaseShader* const* shaders) {
  if (models.empty()) return;
  const size_t n = quads.size();
  const size_t chunks = std::max<size_t>(1, (n + kQuadsPerModel - 1) / kQuadsPerModel);
  while (models.size() < chunks && graphics) {
    C3DModel* more = graphics->CreateModel(createFlags, baseName + std::to_string(models.size()));
    if (!more) break;
    models.push_back(more);
  }
  // Models beyond the quads are emptied, not released: the network grows
  // back as often as it shrinks.
  for (size_t m = 0; m < models.size(); ++m) {
    const size_t first = std::min(n, m * kQuadsPerModel);
    const size_t count = std::min(n - first, kQuadsPerModel);
    std::vector<RenderVertex> vertices(count * 4);
    std::vector<uint16_t> indices(count * 6);
    std::vector<uint16_t> parts(count * 6);
    for (size_t i = 0; i < count; ++i) {
      const QuadEntry& quad = quads[first + i];
      std::copy(quad.corners, quad.corners + 4, vertices.begin() + static_cast<std::ptrdiff_t>(i * 4));
      const auto b = static_cast<uint16_t>(i * 4);
      const uint16_t order[6] = {b, static_cast<uint16_t>(b + 3), static_cast<uint16_t>(b + 2),
                                 static_cast<uint16_t>(b + 2), static_cast<uint16_t>(b + 1), b};
      std::copy(order, order + 6, indices.begin() + static_cast<std::ptrdiff_t>(i * 6));
      std::fill_n(parts.begin() + static_cast<std::ptrdiff_t>(i * 6), 6, quad.part);
    }
    C3DModel* model = models[m];
    model->BeginEdit();
    model->SetPartCount(count > 0 ? partCount : 0);
    model->SetVertices(vertices.data(), static_cast<uint16_t>(vertices.size()));
    model->SetIndices(indices.data(), parts.data(), static_cast<uint32_t>(indices.size()));
    model->EndEdit();
    if (count == 0) continue;
    for (uint16_t p = 0; p < partCount; ++p) model->SetShader(p, shaders[p]);
  }
}

void PaintMiniMapRect(cEntity_GamePlot* plot, uint32_t x, uint32_t y, uint32_t width, uint32_t length,
                      uint8_t paletteIndex) {
  uint32_t* pixels = plot ? plot->GetMiniMapPixels() : nullptr;
  if (!pixels || width == 0 || length == 0) return;
  const uint32_t across = plot->GetWidth() / 5u;
  const uint32_t down = plot->GetHeight() / 5u;
  const uint32_t colour = plot->GetPaletteColour(paletteIndex);
  for (uint32_t py = y / 5u; py <= (y + length - 1u) / 5u && py < down; ++py) {
    for (uint32_t px = x / 5u; px <= (x + width - 1u) / 5u && px < across; ++px) pixels[py * across + px] = colour;
  }
}

bool PavementHidden(cKV9_GlobalWrapper* table) {
  SceneCamera* camera = SceneCameraOf(table);
  return camera && camera->fixedView;
}
