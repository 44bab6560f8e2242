#include "construction/GamePlot.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/ByteReader.h"
#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/PathFinder.h"
#include "construction/PlotWorld.h"
#include "construction/RoadManager.h"
#include "engine/files/SerializeRecord.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"
#include "simulation/SimulationWidgets.h"

const uint32_t cEntity_GamePlot::kPalette[15] = {
    0x83FF0080, 0x8480F088, 0x85FF00FF, 0x86F0FFF0, 0x8F000000, 0x8E0000FF, 0x8700FFFF, 0x88FFFF00,
    0x8DFFFFFF, 0x8900FF80, 0x8AFF0000, 0x8B8800FF, 0x8CFFF0F0, 0x11000000, 0x33000000,
};

cEntity_GamePlot::cEntity_GamePlot(cEntity_Manager* owner, uint32_t typeWord)
    : cEntity_Base(owner, typeWord), cCore_Base_InputSocket("GamePlot") {
  SetName("GamePlot");
  table_ = GameTableOf(this);
}

cEntity_GamePlot::~cEntity_GamePlot() {
  ReleaseMiniMapImage();
  ReleaseFonts();
  ReleaseMeshes();
}

void cEntity_GamePlot::ShowScene(const char* scene, bool visible) {
  if (SimulationWidgets* widgets = GetSimulationWidgets()) widgets->ShowScene(scene, visible);
}

// --- Geometry -------------------------------------------------------------------

void cEntity_GamePlot::SetOrigin(float x, float, float z) {
  originX_ = x;
  originZ_ = z;
}

void cEntity_GamePlot::SetDimensions(uint16_t blocks, uint16_t cellsPerBlock) {
  blocksX_ = blocksZ_ = viewWidth_ = viewHeight_ = blocks;
  plotScale_ = static_cast<float>(blocks) * 0.02f;
  cellsPerBlock_ = cellsPerBlock;
  width_ = height_ = static_cast<uint16_t>(blocks * cellsPerBlock);
  worldSizeX_ = worldSizeZ_ = plotScale_ * 10.0f * 32.0f;
  viewCellSize_ = blocks ? worldSizeX_ / blocks : 0.0f;
}

void cEntity_GamePlot::SetFineGrid(bool fine) {
  viewWidth_ = static_cast<uint16_t>(fine ? blocksX_ * cellsPerBlock_ : blocksX_);
  viewHeight_ = static_cast<uint16_t>(fine ? blocksZ_ * cellsPerBlock_ : blocksZ_);
  viewCellSize_ = viewWidth_ ? worldSizeX_ / viewWidth_ : 0.0f;
  // The cursor planes and the grid lines follow the view cell.
  if (meshes_[kMesh_Highlight]) {
    SizeCursorPlanes();
    BuildGridLines();
  }
}

void cEntity_GamePlot::SetSelectionSize(uint8_t n) { selectionSize_ = n == 0 ? 1 : std::min<uint8_t>(n, 12); }

void cEntity_GamePlot::AdjustSelectionSize(int16_t d) {
  const int32_t size = std::clamp<int32_t>(selectionSize_ + d, 1, 12);
  if (d != 0) selectionSize_ = static_cast<uint8_t>(size);
}

bool cEntity_GamePlot::GetCellWorldRect(uint16_t cx, uint16_t cz, float* x0, float* z0, float* x1, float* z1,
                                        bool inWorld) {
  if (cx >= viewWidth_ || cz >= viewHeight_) return false;
  const float sx = worldSizeX_ / viewWidth_;
  const float sz = worldSizeZ_ / viewHeight_;
  if (inWorld) {
    *x0 = originX_ + cx * sx;
    *x1 = *x0 + sx;
    *z0 = cz * sz - originZ_;
    *z1 = *z0 + sz;
  } else {
    *x0 = cx * sx;
    *x1 = *x0 + sx;
    *z0 = worldSizeZ_ - cz * sz;
    *z1 = *z0 - sz;
  }
  return true;
}

bool cEntity_GamePlot::GetCellCentre(uint32_t x, uint32_t y, float* wx, float* wz) {
  if (x >= width_ || y >= height_) return false;
  const float s = GetCellSize();
  *wx = originX_ + (x + 0.5f) * s;
  *wz = (y + 0.5f) * s - originZ_;
  return true;
}

bool cEntity_GamePlot::WorldToCell(float x, float z, int32_t* cx, int32_t* cz) {
  const int32_t rx = static_cast<int32_t>(std::trunc((x - originX_) / (worldSizeX_ / viewWidth_)));
  const int32_t rz = static_cast<int32_t>(std::trunc((z + originZ_) / (worldSizeZ_ / viewHeight_)));
  *cx = std::clamp<int32_t>(rx, 0, viewWidth_ - 1);
  *cz = std::clamp<int32_t>(rz, 0, viewHeight_ - 1);
  return *cx == rx && *cz == rz;
}

// --- Cells ----------------------------------------------------------------------

bool cEntity_GamePlot::AllocateCells() {
  const size_t count = static_cast<size_t>(width_) * height_;
  cells_.reset(new (std::nothrow) PlotCell[count]());
  return cells_ != nullptr;
}

void cEntity_GamePlot::ClearCells() {
  if (!cells_) return;
  std::fill(cells_.get(), cells_.get() + static_cast<size_t>(width_) * height_, PlotCell{});
}

void cEntity_GamePlot::FreeCells() { cells_.reset(); }

uint32_t cEntity_GamePlot::GetCellWord(uint32_t index) {
  if (!cells_ || index >= static_cast<uint32_t>(width_) * height_) return 0;
  return cells_[index].content;
}

PlotCell* cEntity_GamePlot::GetCellRecord(uint32_t index) {
  if (!cells_ || index >= static_cast<uint32_t>(width_) * height_) return nullptr;
  return &cells_[index];
}

void cEntity_GamePlot::SetCell(uint32_t index, uint32_t value, uint32_t clearMask, bool reset, void* object,
                               bool setObject) {
  PlotCell* cell = GetCellRecord(index);
  if (!cell) return;
  cell->content = reset ? 0 : (cell->content & ~clearMask);
  // Building cells (class x 16, below 208 in their upper bits) are never
  // OR'd onto.
  if (cell->content == 0 || (cell->content & ~0xFu) >= 208) cell->content |= value;
  if (setObject) cell->object = object;
}

void cEntity_GamePlot::MarkCellRect(uint32_t start, uint16_t w, uint16_t h, uint32_t value, uint32_t clearMask,
                                    bool reset, void* object, bool setObject) {
  for (uint32_t row = 0; row < h; ++row)
    for (uint32_t col = 0; col < w; ++col)
      SetCell(start + row * width_ + col, value, clearMask, reset, object, setObject);
}

void cEntity_GamePlot::MarkFootprint(const FootprintRecord& rects, uint32_t base, uint32_t value, uint32_t clearMask,
                                     bool reset, void* object, bool setObject) {
  // Through the size getters, so that a plot of another shape marks alike.
  const int32_t width = GetWidth(), height = GetHeight();
  if (!rects.rects || width == 0) return;
  const int32_t bx = static_cast<int32_t>(base % width), by = static_cast<int32_t>(base / width);
  for (uint8_t i = 0; i < rects.count; ++i) {
    const FootprintRect& r = rects.rects[i];
    // Rows and columns off the grid are left out rather than wrapped.
    for (int32_t row = 0; row < r.l; ++row)
      for (int32_t col = 0; col < r.w; ++col) {
        const int32_t cx = bx + r.x + col, cy = by + r.y + row;
        if (cx < 0 || cy < 0 || cx >= width || cy >= height) continue;
        SetCell(static_cast<uint32_t>(cy) * width + static_cast<uint32_t>(cx), value, clearMask, reset, object,
                setObject);
      }
  }
}

bool cEntity_GamePlot::IsBlockOwnedAtCell(uint16_t x, uint16_t y) {
  if (!cellsPerBlock_ || x >= width_ || y >= height_) return false;
  return IsOwned(static_cast<uint32_t>(y / cellsPerBlock_) * blocksX_ + x / cellsPerBlock_);
}

void cEntity_GamePlot::TagBlock(uint16_t x, uint16_t y) {
  if (x < blocksX_ && y < blocksZ_) SetBit(tagged_, static_cast<uint32_t>(viewWidth_) * y + x, true);
}

void cEntity_GamePlot::UntagBlock(uint16_t x, uint16_t y) {
  if (x < blocksX_ && y < blocksZ_) SetBit(tagged_, static_cast<uint32_t>(viewWidth_) * y + x, false);
}

void cEntity_GamePlot::EnsureBitmaps() {
  if (owned_.size() != BitmapWords()) owned_.assign(BitmapWords(), 0);
  if (unavailable_.size() != BitmapWords()) unavailable_.assign(BitmapWords(), 0);
  if (tagged_.size() != BitmapWords()) tagged_.assign(BitmapWords(), 0);
}

void cEntity_GamePlot::ResetPlot() {
  std::fill(owned_.begin(), owned_.end(), 0);
  std::fill(unavailable_.begin(), unavailable_.end(), 0);
  std::fill(tagged_.begin(), tagged_.end(), 0);
}

// --- Road entrance -----------------------------------------------------------------

void cEntity_GamePlot::SetEntranceCell(uint16_t x, uint16_t y) {
  entranceX_ = x;
  entranceY_ = y;
  if (table_ && table_->roadManager) table_->roadManager->SetEntranceCell(x, y);
}

uint16_t cEntity_GamePlot::GetEntranceX() const {
  uint16_t x = entranceX_, y = entranceY_;
  if (table_ && table_->roadManager) table_->roadManager->GetEntranceCell(&x, &y);
  return x;
}

uint16_t cEntity_GamePlot::GetEntranceY() const {
  uint16_t x = entranceX_, y = entranceY_;
  if (table_ && table_->roadManager) table_->roadManager->GetEntranceCell(&x, &y);
  return y;
}

// --- Clock pause -------------------------------------------------------------------

void cEntity_GamePlot::PauseClock() {
  ResetPlaneMaterial();
  cSimulation_Clock* clock = GameClockOf(table_);
  if (!clock) return;
  if (!speedSaved_) {
    // The code of whatever speed runs now, so resuming restores it exactly.
    savedSpeedCode_ = static_cast<uint16_t>(clock->speed);
    speedSaved_ = true;
  }
  clock->SetSpeed(kSpeedStopped);
}

void cEntity_GamePlot::ResumeClock() {
  ResetPlaneMaterial();
  cSimulation_Clock* clock = GameClockOf(table_);
  if (clock) clock->SetSpeed(savedSpeedCode_);
  speedSaved_ = false;
}

// --- Mini-map -------------------------------------------------------------------

void cEntity_GamePlot::FillMiniMapRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour, uint8_t mode) {
  if (miniMap_.empty() || mode > 4) return;
  const int32_t w = static_cast<int32_t>(GetMiniMapWidth()), h = static_cast<int32_t>(GetMiniMapHeight());
  x0 = std::clamp(x0, 0, w);
  y0 = std::clamp(y0, 0, h);
  x1 = std::clamp(x1, 0, w);
  y1 = std::clamp(y1, 0, h);
  for (int32_t y = y0; y < y1; ++y) {
    for (int32_t x = x0; x < x1; ++x) {
      uint32_t& pixel = miniMap_[static_cast<size_t>(y) * w + x];
      if (mode == 1 && pixel != kPalette[kPaletteNotOwned]) continue;
      if (mode == 3 && pixel >= colour) continue;
      pixel = colour;
    }
  }
}

void cEntity_GamePlot::FillBlockPixels(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour,
                                       uint8_t mode) {
  const int32_t c = cellsPerBlock_;
  const int32_t p = kMiniMapCellsPerPixel;
  FillMiniMapRect(x0 * c / p, y0 * c / p, (x1 + 1) * c / p, (y1 + 1) * c / p, colour, mode);
}

void cEntity_GamePlot::PaintInstanceOnMiniMap(BOInstance* instance, bool placedNow) {
  if (!instance || !instance->GetType()) return;
  const uint8_t classCode = instance->GetType()->GetClass();
  const uint32_t colour = placedNow ? kPalette[std::min<uint8_t>(classCode, 12)] : kPalette[kPaletteOwnedEmpty];
  FootprintRecord footprint;
  instance->CallTypeFootprintCells(&footprint);
  for (uint8_t i = 0; footprint.rects && i < footprint.count; ++i) {
    const FootprintRect& r = footprint.rects[i];
    const int32_t px = (instance->x + r.x) / static_cast<int32_t>(kMiniMapCellsPerPixel);
    const int32_t py = (instance->y + r.y) / static_cast<int32_t>(kMiniMapCellsPerPixel);
    const int32_t pw = (r.w - 1) / static_cast<int32_t>(kMiniMapCellsPerPixel) + 1;
    const int32_t ph = (r.l - 1) / static_cast<int32_t>(kMiniMapCellsPerPixel) + 1;
    FillMiniMapRect(px, py, px + pw, py + ph, colour, placedNow ? 3 : 2);
  }
  UpdateMiniMap();
}

// --- World ----------------------------------------------------------------------

bool cEntity_GamePlot::BuildPlot() {
  LoadMaterials();
  BuildGroundPlane();
  // A new game starts stopped on the land screen.
  costView_ = false;
  resumeOnView_ = true;
  overview_ = false;
  PauseClock();
  landMode_ = LandMode::Purchasing;
  SizeCursorPlanes();
  BuildCursorGridMesh(0, 0);
  EnsureBitmaps();
  // After a load the owned blocks' cells are owned and empty again; the
  // roads and buildings mark theirs as they are rebuilt.
  for (uint32_t i = 0; i < static_cast<uint32_t>(blocksX_) * blocksZ_; ++i)
    if (IsOwned(i)) MarkBlockCells(i, 0xFF, false);
  BuildPurchasedMesh();
  BuildUnavailableMesh();
  BuildGridLines();
  return true;
}

CoreStatus cEntity_GamePlot::BuildWorld() {
  if (!table_) table_ = GameTableOf(this);
  RegisterWithGame();
  ComputeRunwayBlocks();
  BuildMiniMap();
  AllocateCells();
  if (!BuildPlot()) return static_cast<CoreStatus>(0x80004005);
  SetOrigin(-worldSizeX_ / 2.0f, 0.0f, worldSizeZ_ / 2.0f);
  LoadFonts();
  if (table_ && table_->pathFinder) {
    table_->pathFinder->width = width_;
    table_->pathFinder->height = height_;
  }
  return 0;
}

void cEntity_GamePlot::ClearWorld() {
  UnregisterFromGame();
  ReleaseMiniMapImage();
  ReleaseFonts();
  ReleaseMeshes();
  fenceRuns_.clear();
  owned_.clear();
  unavailable_.clear();
  tagged_.clear();
  FreeCells();
  miniMap_.clear();
  undoList_.clear();
  cornerUndo_.clear();
  corners_.clear();
  transactionCount_ = 0;
  purchaseList_.clear();
  saleList_.clear();
}

// --- Save -------------------------------------------------------------------------

bool cEntity_GamePlot::Save(SerialBlock* bytes, uint32_t* n) {
  EnsureBitmaps();
  BuildMiniMap();
  SaveRecordWriter out;
  out.PutU16(blocksX_);
  out.PutU16(cellsPerBlock_);
  for (uint16_t word : owned_) out.PutU16(word);
  for (uint16_t word : unavailable_) out.PutU16(word);
  out.PutU32(static_cast<uint32_t>(corners_.size()));
  for (const CornerBlock& corner : corners_) {
    out.PutU16(corner.x);
    out.PutU16(corner.y);
    out.PutU8(corner.code);
    out.PutU8(0);
  }
  for (uint32_t pixel : miniMap_) out.PutU32(pixel);
  return out.Release(bytes, n);
}

bool cEntity_GamePlot::LoadFromBlob(const uint8_t* bytes, uint32_t n) {
  ByteReader in(bytes, n);
  const uint16_t blocks = in.U16();
  const uint16_t perBlock = in.U16();
  auto refuse = [&](const char* why) {
    platform::DebugPrintf("[cEntity_GamePlot] saved plot refused: %s\n", why);
    return false;
  };
  if (!in.Ok()) return refuse("too short");
  const uint32_t cellsPerSide = static_cast<uint32_t>(blocks) * perBlock;
  if (blocks == 0 || perBlock == 0 || cellsPerSide < 5 || cellsPerSide > 1023)
    return refuse("plot side outside 5-1023 cells");
  const uint32_t words = (static_cast<uint32_t>(blocks) * blocks + 15) / 16;
  std::vector<uint16_t> owned(words), unavailable(words);
  for (uint16_t& word : owned) word = in.U16();
  for (uint16_t& word : unavailable) word = in.U16();
  const uint32_t count = in.U32();
  if (!in.Ok() || count > in.Remaining() / 6) return refuse("corner posts beyond the end");
  std::vector<CornerBlock> corners(count);
  for (CornerBlock& corner : corners) {
    corner.x = in.U16();
    corner.y = in.U16();
    corner.code = in.U8();
    in.U8();
    if (corner.x >= blocks || corner.y >= blocks || corner.code > 7) return refuse("corner post out of range");
  }
  const size_t pixels = static_cast<size_t>(cellsPerSide / kMiniMapCellsPerPixel) * (cellsPerSide / kMiniMapCellsPerPixel);
  if (!in.Ok() || pixels > in.Remaining() / 4) return refuse("mini-map beyond the end");
  std::vector<uint32_t> miniMap(pixels);
  for (uint32_t& pixel : miniMap) pixel = in.U32();
  if (!in.Ok()) return refuse("mini-map beyond the end");
  // Everything checked out: take it whole.
  SetDimensions(blocks, perBlock);
  owned_ = std::move(owned);
  unavailable_ = std::move(unavailable);
  tagged_.assign(words, 0);
  corners_ = std::move(corners);
  miniMap_ = std::move(miniMap);
  // Bytes past the mini-map are kept as the trailing block.
  SetBlob(nullptr, 0);
  if (in.Remaining()) {
    SerialBlock rest(new uint8_t[in.Remaining()]);
    std::memcpy(rest.get(), in.Current(), in.Remaining());
    SetBlob(std::move(rest), static_cast<uint32_t>(in.Remaining()));
  }
  return true;
}
