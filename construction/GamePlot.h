#pragma once
// The land plot (spawned as "SPN::KV9:GAMEPLOT"). The construction issue of
// the plot grid completes it.
#include <cstdint>

#include "engine/entity/EntityBase.h"

// One plot cell: what it holds (0 not owned, 0xFF owned and empty, else
// occupied) and the object standing on it.
struct PlotCell {
  uint32_t content = 0;
  void* object = nullptr;
};

class cEntity_GamePlot : public cEntity_Base {
 public:
  using cEntity_Base::cEntity_Base;

  // The world height of the plot's ground.
  virtual float GetGroundHeight() = 0;

  // Ground height that vehicles, roads and effects stand on.
  virtual float GetOriginY() = 0;
  // The cell grid, u16 each.
  virtual uint16_t GetWidth() = 0;
  virtual uint16_t GetHeight() = 0;
  // World size of one cell.
  virtual float GetCellSize() = 0;
  // World rectangle of a view cell; false (outputs untouched) outside.
  virtual bool GetCellWorldRect(uint16_t cx, uint16_t cz, float* x0, float* z0, float* x1, float* z1,
                                bool inWorld) = 0;
  // Content word of cell y * width + x; 0 beyond the grid.
  virtual uint32_t GetCellWord(uint32_t index) = 0;
  // The cell record; null when index >= width x height.
  virtual PlotCell* GetCellRecord(uint32_t index) = 0;
  // content = 0 when reset, else content &= ~clearMask; then, on an empty or
  // non-building cell, content |= value; the object is stored on request.
  virtual void SetCell(uint32_t index, uint32_t value, uint32_t clearMask, bool reset, void* object,
                       bool setObject) = 0;
  // SetCell on every cell of the w x h rectangle whose top-left is `start`.
  virtual void MarkCellRect(uint32_t start, uint16_t w, uint16_t h, uint32_t value, uint32_t clearMask, bool reset,
                            void* object, bool setObject) = 0;
  virtual uint32_t GetPaletteColour(uint8_t index) = 0;
  // One pixel per 5 x 5 cells, rows width / 5 apart; null before it exists.
  virtual uint32_t* GetMiniMapPixels() = 0;
  virtual void BuildFenceMesh() = 0;
};
