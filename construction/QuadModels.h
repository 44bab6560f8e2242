#pragma once
// What the road and the pavement managers share in drawing: quads handed to
// polymesh models, as many models as 16-bit vertex counts need, and cell
// rectangles painted onto the plot's mini-map.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/services/C3DMesh.h"

class C3DBaseShader;
class C3DModel;
class Core3D;
class cEntity_GamePlot;
class cKV9_GlobalWrapper;

// One quad: its four vertices and the model part it is drawn with.
struct QuadEntry {
  const RenderVertex* corners;
  uint16_t part;
};

// A model's vertex count is 16 bits: 16,383 quads of four vertices a model.
inline constexpr size_t kQuadsPerModel = 16383;

// Fills `models` with the quads in order, 16,383 a model, creating further
// models ("<baseName><n>", `createFlags`) when there are more quads than
// models; models past the quads are emptied. Each filled model gets
// `partCount` parts and shaders[i] on part i.
void UploadQuadModels(Core3D* graphics, uint32_t createFlags, const std::string& baseName,
                      std::vector<C3DModel*>& models, const std::vector<QuadEntry>& quads, uint16_t partCount,
                      C3DBaseShader* const* shaders);

// Every mini-map pixel (one per 5 x 5 cells) under the cell rectangle takes
// the plot's palette colour.
void PaintMiniMapRect(cEntity_GamePlot* plot, uint32_t x, uint32_t y, uint32_t width, uint32_t length,
                      uint8_t paletteIndex);

// True while the game camera shows its fixed land view: the land overview
// draws no pavement.
bool PavementHidden(cKV9_GlobalWrapper* table);
