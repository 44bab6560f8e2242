#pragma once
// The land plot (spawned as "SPN::KV9:GAMEPLOT", entity and input socket
// "GamePlot"): a square world area of purchase blocks, each of cells. It
// owns the cell grid on which roads, taxiways and buildings mark what stands
// where, which blocks the player owns, the purchase and sale of land with
// undo and commit, the fence corner posts, the mini-map, and the clock pause
// while land is chosen.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/entity/EntityBase.h"
#include "engine/entity/InputSocket.h"
#include "engine/files/SerializedObject.h"
#include "engine/frame/RenderServiceItem.h"
#include "engine/math/JVector.h"
#include "scene/AlphaManager.h"

class BOInstance;
class cBuildPlacement;
class C3DBaseShader;
class C3DFont;
class C3DImage;
class C3DMesh;
class Core3D;
class cKV9_GlobalWrapper;
struct RenderVertex;
class PlotWorld;
struct FootprintRecord;

// A cell: what it holds (0 not owned, 0xFF owned and empty, 0xF1 road,
// 0xF4 taxiway, 0xF8 apron, class x 16 for a building) and the object on it.
struct PlotCell {
  uint32_t content = 0;
  void* object = nullptr;  // not owned
};

struct CornerBlock {
  uint16_t x = 0;
  uint16_t y = 0;
  uint8_t code = 0;
};

struct CornerUndo {
  uint16_t x = 0;
  uint16_t y = 0;
  uint8_t code = 0;
  uint8_t added = 0;
  uint16_t transaction = 0;
};

inline constexpr uint32_t kMiniMapCellsPerPixel = 5;
inline constexpr uint32_t kPaletteNotOwned = 13;
inline constexpr uint32_t kPaletteOwnedEmpty = 14;
inline constexpr uint16_t kSpeedStopped = 0xFFFF;

// One straight stretch of the fence between two turning points of the ring
// of blocks around the owned land; `gap` marks the run cut at the road
// entrance.
struct FenceRun {
  int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool gap = false;
};

class cEntity_GamePlot : public cEntity_Base,
                         public cRenderServiceItem,
                         public cCore_Base_InputSocket,
                         public cSerialized_Object,
                         public cAlphaUpdatee {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:GAMEPLOT";
  enum Material : uint32_t {
    kMaterial_Purchased,
    kMaterial_Unavailable,
    kMaterial_Purchasing,
    kMaterial_GreyedPurchasing,
    kMaterial_Selling,
    kMaterial_Highlight,
    kMaterial_GridUnit,
    kMaterial_Fence,
    kMaterial_RoadLeadIn,
    kMaterial_Ground,
    kMaterial_GridLines,
    kMaterialCount
  };
  enum MeshSlot : uint32_t {
    kMesh_Purchased,
    kMesh_Unavailable,
    kMesh_Tagged,
    kMesh_Markers,
    kMesh_Fence,
    kMesh_RoadLeadIn,
    kMesh_Ground,
    kMesh_Highlight,
    kMesh_Selection,
    kMesh_BuildingGrid,
    kMesh_GridLines,
    kMeshCount
  };
  // The status-line font and the tooltip's red (purchase) and green (sale)
  // fonts.
  enum FontSlot : uint32_t { kFont_Status, kFont_Red, kFont_Green, kFontCount };
  static const char* const kFontNames[kFontCount];

  explicit cEntity_GamePlot(cEntity_Manager* owner, uint32_t typeWord = kEntityType_Base);
  ~cEntity_GamePlot() override;

  // The plot's shortcuts are fixed scan codes answered in OnKey: it binds
  // none.
  CoreStatus RegisterKeyHandlers(cGM_ConfigManager*) override { return 0; }
  CoreStatus ReloadKeyHandlers(cGM_ConfigManager*) override { return 0; }
  CoreStatus UnregisterKeyHandlers(cGM_ConfigManager*) override { return 0; }

  // --- Geometry --------------------------------------------------------------
  virtual void SetOrigin(float x, float y, float z);
  virtual float GetOriginX() { return originX_; }
  virtual float GetOriginY() { return originY_; }
  virtual float GetOriginZ() { return originZ_; }
  virtual void SetOriginY(float y) { originY_ = y; }
  // The world height of the plot's ground.
  virtual float GetGroundHeight() { return originY_; }
  virtual void SetDimensions(uint16_t blocks, uint16_t cellsPerBlock);
  virtual void SetFineGrid(bool fine);
  virtual void SetSelectionSize(uint8_t n);
  virtual void AdjustSelectionSize(int16_t d);
  uint8_t GetSelectionSize() const { return selectionSize_; }
  virtual float GetWorldSizeX() { return worldSizeX_; }
  virtual float GetWorldSizeZ() { return worldSizeZ_; }
  virtual uint16_t GetViewGridWidth() { return viewWidth_; }
  virtual uint16_t GetViewGridHeight() { return viewHeight_; }
  virtual uint16_t GetBlockCountX() { return blocksX_; }
  virtual uint16_t GetBlockCountZ() { return blocksZ_; }
  virtual uint16_t GetWidth() { return width_; }
  virtual uint16_t GetHeight() { return height_; }
  virtual uint16_t GetCellsPerBlock() { return cellsPerBlock_; }
  virtual float GetPlotScale() { return plotScale_; }
  virtual float GetViewCellSize() { return viewCellSize_; }
  virtual float GetCellSize() { return width_ ? worldSizeX_ / width_ : 0.0f; }
  // World rectangle of a view cell; false (outputs untouched) outside.
  virtual bool GetCellWorldRect(uint16_t cx, uint16_t cz, float* x0, float* z0, float* x1, float* z1, bool inWorld);
  // World centre (x, z) of a grid cell; false outside the grid.
  bool GetCellCentre(uint32_t x, uint32_t y, float* wx, float* wz);
  bool WorldToCell(float x, float z, int32_t* cx, int32_t* cz);

  // --- Cells -----------------------------------------------------------------
  virtual bool AllocateCells();
  virtual void ClearCells();
  virtual void FreeCells();
  virtual uint32_t GetCellWord(uint32_t index);
  virtual PlotCell* GetCellRecord(uint32_t index);
  virtual void SetCell(uint32_t index, uint32_t value, uint32_t clearMask, bool reset, void* object, bool setObject);
  virtual void MarkCellRect(uint32_t start, uint16_t w, uint16_t h, uint32_t value, uint32_t clearMask, bool reset,
                            void* object, bool setObject);
  virtual void MarkFootprint(const FootprintRecord& rects, uint32_t base, uint32_t value, uint32_t clearMask,
                             bool reset, void* object, bool setObject);
  virtual bool IsBlockOwnedAtCell(uint16_t x, uint16_t y);

  // --- Blocks ----------------------------------------------------------------
  bool IsOwned(uint32_t block) const { return TestBit(owned_, block); }
  bool IsUnavailable(uint32_t block) const { return TestBit(unavailable_, block); }
  void SetUnavailable(uint32_t block, bool on) { SetBit(unavailable_, block, on); }
  virtual void TagBlock(uint16_t x, uint16_t y);
  virtual void UntagBlock(uint16_t x, uint16_t y);
  bool IsTagged(uint32_t block) const { return TestBit(tagged_, block); }
  virtual bool IsAdjacentToOwned(int32_t x, int32_t y, int32_t w, int32_t h);
  virtual void ResetPlot();

  // --- Purchase and sale -----------------------------------------------------
  virtual void BeginPurchaseSelection(int32_t x, int32_t y);
  virtual void ExtendPurchaseSelection(int32_t x, int32_t y);
  virtual void BeginSaleSelection(int32_t x, int32_t y);
  virtual void ExtendSaleSelection(int32_t x, int32_t y);
  virtual void PurchaseSelection();
  virtual void ClearPurchaseState();
  // Checks the selected cells and shows the sale dialog; false when the sale
  // was refused (entrance or occupied cell).
  bool ConfirmSale();
  virtual void SellSelection();
  virtual void CancelSale();
  // Reverts the newest transaction; an undone purchase over built-on cells
  // is refused with "scnOccupiedDialog".
  virtual void UndoTransaction();
  virtual bool CommitTransactions();
  void ComputeRunwayBlocks();
  bool HasEnoughLand() const { return enoughLand_; }
  uint16_t GetTransactionCount() const { return transactionCount_; }
  size_t GetUndoDepth() const { return undoList_.size(); }
  const std::vector<int16_t>& GetPurchaseList() const { return purchaseList_; }
  const std::vector<int16_t>& GetSaleList() const { return saleList_; }
  enum class LandMode : uint8_t { Greyed, Purchasing, Selling };
  LandMode GetLandMode() const { return landMode_; }

  // --- Road entrance ----------------------------------------------------------
  // The road manager keeps the entrance cell; the plot sets it on the first
  // purchase at the edge and reads it back. Without a road manager (tests of
  // the plot alone) the plot keeps it itself.
  void SetEntranceCell(uint16_t x, uint16_t y);
  uint16_t GetEntranceX() const;
  uint16_t GetEntranceY() const;
  bool HasEntrance() const { return GetEntranceX() != 0xFFFF && GetEntranceY() != 0xFFFF; }

  // --- Fence corners ---------------------------------------------------------
  bool TestBlockBit(int32_t x, int32_t y, const std::vector<uint16_t>& bitmap) const;
  bool TestBlockBitIndex(int32_t index, const std::vector<uint16_t>& bitmap) const;
  uint32_t ReadBlockNeighbours(int32_t x, int32_t y, bool out[8], const std::vector<uint16_t>& bitmap) const;
  bool GetCornerCodes(int32_t x, int32_t y, bool out[8], const std::vector<uint16_t>& bitmap) const;
  bool HasCornerCode(int32_t x, int32_t y, uint8_t code, const std::vector<uint16_t>& bitmap) const;
  bool IsCornerCandidate(int32_t x, int32_t y, const std::vector<uint16_t>& bitmap) const;
  bool ReAddCornerPosts(int32_t x, int32_t y);
  bool AddCorner(uint16_t x, uint16_t y, uint8_t code);
  bool RemoveCorner(uint16_t x, uint16_t y, uint8_t code);
  void UpdateCorners(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
  // Splits a block bitmap into rectangles, largest first (the quads of the
  // land overlays); with `testRunway` also decides whether some rectangle
  // holds the start runway.
  std::vector<CornerBlock> CoverRectangles(const std::vector<uint16_t>& bitmap, bool testRunway,
                                           std::vector<uint32_t>* sizes);
  // --- Meshes ------------------------------------------------------------------
  // The owned-land quads ("polymesh_GamePlot_PurchasedMesh") and the
  // enough-land flag; the unavailable and built-on quads.
  void BuildPurchasedMesh();
  void BuildUnavailableMesh();
  // Entering the overview: owned blocks with something built are tagged and
  // shown; leaving it drops them.
  void BuildTaggedMesh();
  void ClearTaggedMesh();
  // The pointed marker on the road entrance cell (none without entrance).
  void BuildMarkers();
  // 22 cross-sections 640 / 21 apart from the entrance out of the plot,
  // following the terrain height.
  void BuildRoadLeadInMesh();
  // Walks the ring around the owned land from post to post.
  virtual void BuildFenceMesh();
  const std::vector<FenceRun>& GetFenceRuns() const { return fenceRuns_; }
  // One run of the fence walk from ring block (x, y) and turning code 0-3:
  // the block and code of the next turning point; false at the road
  // entrance gap (the outputs hold the block reached).
  bool TraceFenceRun(int32_t x, int32_t y, int32_t* outX, int32_t* outY, uint8_t* code,
                     const std::vector<uint16_t>& bitmap) const;
  C3DMesh* GetMesh(uint32_t slot) const { return slot < kMeshCount ? meshes_[slot] : nullptr; }
  // Draws the ground, grid lines, highlight, selection, overlays and marker.
  CoreStatus Render(C3DPass* pass, Core3D* renderer) override;
  // The translucent pass: fence and road lead-in outside the overview, then
  // the building grid while it is shown.
  void DrawTranslucent(C3DPass* pass, Core3D* renderer) override;
  uint8_t showOwned = 1;
  uint8_t showUnavailable = 1;

  // --- Ground, cursor planes, grid lines, tooltip (PlotGround.cpp,
  // PlotHighlight.cpp) ------------------------------------------------------
  // A white vertex with both texture sets at (u, v): every plot mesh's.
  static RenderVertex PlotVertex(float x, float y, float z, float u, float v);
  // The plot-sized ground plane wearing the location's plot texture.
  void BuildGroundPlane();
  // Puts the ground material back on the plane.
  void ResetPlaneMaterial();
  // Lines between the view cells, drawn at the plot origin.
  void BuildGridLines();
  // The highlight and selection quads sized to one view cell.
  void SizeCursorPlanes();
  // The highlight onto view cell (x, y); the selection over the drag
  // rectangle.
  virtual void PositionHighlight(int32_t x, int32_t y);
  virtual void PositionSelectionMesh();
  // The building grid: one quad around view cell (x, y) grown by the
  // selection size, or over the footprint of the object in hand.
  virtual void BuildCursorGridMesh(int32_t x, int32_t y);
  virtual void BuildFootprintGridMesh(BOInstance* object);
  virtual void SetGridLinesVisible(bool on) { showGridLines_ = on; }
  virtual bool GetGridLinesVisible() { return showGridLines_; }
  virtual void SetHighlightVisible(bool on) { showHighlight_ = on; }
  virtual bool GetHighlightVisible() { return showHighlight_; }
  virtual void SetBuildingGridVisible(bool on) { showBuildingGrid_ = on; }
  virtual bool GetBuildingGridVisible() { return showBuildingGrid_; }
  void SetSelectionVisible(bool on) { showSelection_ = on; }
  virtual void SuspendHighlight();
  virtual void RestoreHighlight();
  // Whether the pointer's last pick hit the plot.
  void SetOverPlot(bool over) { overPlot_ = over; }
  bool IsOverPlot() const { return overPlot_; }
  // The price of the selection in "sttPLMToolTip" (red while buying, green
  // while selling, a blank otherwise), and its size "%d x %d".
  void UpdatePriceTooltip();
  virtual void UpdateSelectionTooltip();
  // Camera and overview: active is the normal game view.
  void SetGameViewActive(bool active);
  bool IsOverview() const { return overview_; }
  // The land screen's cost view: ignored in the overview; turning it off
  // pauses the clock again.
  void ToggleCostView();
  bool IsCostView() const { return costView_; }
  C3DFont* GetFont(uint32_t slot) const { return slot < kFontCount ? fonts_[slot] : nullptr; }
  C3DImage* GetMiniMapImage() const { return miniMapImage_; }
  const std::vector<CornerBlock>& GetCorners() const { return corners_; }
  const std::vector<uint16_t>& OwnedBitmap() const { return owned_; }

  // --- Clock pause -----------------------------------------------------------
  void PauseClock();
  void ResumeClock();
  uint16_t GetSavedSpeedCode() const { return savedSpeedCode_; }

  // --- Mini-map --------------------------------------------------------------
  virtual void BuildMiniMap();
  virtual void UpdateMiniMap();
  void FillMiniMapRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour, uint8_t mode);
  virtual void PaintInstanceOnMiniMap(BOInstance* instance, bool placed);
  virtual uint32_t GetPaletteColour(uint8_t i) { return i < 15 ? kPalette[i] : 0; }
  virtual uint32_t* GetMiniMapPixels() { return miniMap_.empty() ? nullptr : miniMap_.data(); }
  uint32_t GetMiniMapWidth() const { return width_ / kMiniMapCellsPerPixel; }
  uint32_t GetMiniMapHeight() const { return height_ / kMiniMapCellsPerPixel; }

  // --- World -----------------------------------------------------------------
  // New game or after a load: runway blocks, mini-map, cells, land phase
  // with the clock paused, plot centred on the origin. 0.
  CoreStatus BuildWorld();
  void ClearWorld();
  // Starts the land phase: owned cells marked after a load, clock paused.
  bool BuildPlot();
  void SetWorld(PlotWorld* world) { world_ = world; }
  cKV9_GlobalWrapper* Table() const { return table_; }
  void SetTable(cKV9_GlobalWrapper* table) { table_ = table; }

  // --- Save ------------------------------------------------------------------
  bool Save(SerialBlock* bytes, uint32_t* n) override;
  // Checks the whole blob first; a refused blob changes nothing.
  bool LoadFromBlob(const uint8_t* bytes, uint32_t n) override;

  static const uint32_t kPalette[15];

  // --- Input: pointer, hot keys, placement preview -------------------------
  // Stores the pointer, picks the view cell, moves the highlight, routes the
  // packet to the land purchase (fixed land view) or to the building hand;
  // a right release over a building opens its screen. 0.
  CoreStatus OnMouse(MousePacket* packet) override;
  // Key-down packets only: the in-game shortcuts. 0 when used, else
  // 0x80004005 so the camera's socket can have the key.
  CoreStatus OnKey(KeyboardPacket* packet) override;
  // The view cell under the stored pointer; false when the pick missed the
  // plot (the cell is then the clamped one).
  bool PickCell(int32_t* cx, int32_t* cz);
  // The same pick under another screen point; the stored pointer and the
  // highlight's over-plot flag stay as they are.
  bool PickCellAt(int32_t x, int32_t y, int32_t* cx, int32_t* cz);
  // The view cell of a world point on the ground: strictly inside the plot
  // or not at all (the cell is clamped into the view grid either way).
  bool WorldPointToViewCell(float wx, float wz, int32_t* cx, int32_t* cz);
  // Unless a purchase or sale drag is active, the placement highlight covers
  // w x h view cells from (x, y).
  void MovePlacementPreview(int32_t x, int32_t y, int32_t w, int32_t h);
  // Purchase and sale dragging over the blocks while the land view is on.
  void HandlePlotMouse(MousePacket* packet, int32_t blockX, int32_t blockY);
  // The building hand that the plot's mouse events drive (made on first use).
  cBuildPlacement& Placement();
  // The preview of the object in hand: drawn at its place, valid or not.
  void ShowPlacementPreview(BOInstance* object, bool valid);
  // The cell rectangle a road-class strip would cover.
  void SetAreaPreview(int32_t x, int32_t y, int32_t w, int32_t l);
  bool IsPurchaseDragActive() const { return purchaseActive_; }
  bool IsSaleDragActive() const { return saleActive_; }
  bool GetHover() const { return hover_; }
  int32_t GetPointerX() const { return pointerX_; }
  int32_t GetPointerY() const { return pointerY_; }
  struct PreviewRect {
    int32_t x = 0, y = 0, w = 0, h = 0;
  };
  const PreviewRect& GetHighlightRect() const { return highlight_; }
  const PreviewRect& GetAreaPreview() const { return areaPreview_; }
  // The previewed object while it is still the one in hand, else null.
  BOInstance* GetPreviewObject();
  bool IsPreviewValid() const { return previewValid_; }
  // The building last right-clicked, read by the properties screens.
  BOInstance* selectedBuilding = nullptr;

 private:
  bool OnCtrlKey(uint8_t scanCode);
  CoreStatus OnPlainKey(uint8_t scanCode);
  bool ToggleScene(const char* scene);
  bool IsLandView();
  void SaveScreenShot();
  uint16_t pointerX_ = 0;
  uint16_t pointerY_ = 0;
  JVector pickStart_;
  JVector pickEnd_;
  bool hover_ = false;
  PreviewRect highlight_{0, 0, 1, 1};
  PreviewRect areaPreview_;
  BOInstance* previewObject_ = nullptr;  // not owned
  bool previewValid_ = false;
  std::shared_ptr<cBuildPlacement> hand_;

 private:
  static bool TestBit(const std::vector<uint16_t>& bitmap, uint32_t index) {
    return index / 16 < bitmap.size() && (bitmap[index / 16] >> (index % 16)) & 1;
  }
  static void SetBit(std::vector<uint16_t>& bitmap, uint32_t index, bool on) {
    if (index / 16 >= bitmap.size()) return;
    if (on) {
      bitmap[index / 16] = static_cast<uint16_t>(bitmap[index / 16] | (1u << (index % 16)));
    } else {
      bitmap[index / 16] = static_cast<uint16_t>(bitmap[index / 16] & ~(1u << (index % 16)));
    }
  }
  uint32_t BitmapWords() const { return (static_cast<uint32_t>(blocksX_) * blocksZ_ + 15) / 16; }
  void EnsureBitmaps();
  void SelectionRect(int32_t* x0, int32_t* y0, int32_t* x1, int32_t* y1) const;
  void MarkBlockCells(uint32_t block, uint32_t value, bool reset);
  void FillBlockPixels(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour, uint8_t mode);
  bool BlockHasBuiltCells(uint32_t block);
  Core3D* Renderer() const;
  void LoadMaterials();
  void ReleaseMeshes();
  void SetMesh(uint32_t slot, const std::string& name, std::vector<RenderVertex> vertices,
               std::vector<uint16_t> indices, uint32_t material);
  void BuildPlotMeshes(const std::vector<uint16_t>& bitmap, uint32_t slot, const char* name, bool testRunway,
                       uint32_t material);
  float LandPrice();
  void ShowScene(const char* scene, bool visible);

  cKV9_GlobalWrapper* table_ = nullptr;
  PlotWorld* world_ = nullptr;  // not owned
  float worldSizeX_ = 256.0f;
  float worldSizeZ_ = 256.0f;
  uint16_t blocksX_ = 40;
  uint16_t blocksZ_ = 40;
  uint16_t cellsPerBlock_ = 16;
  uint16_t width_ = 640;
  uint16_t height_ = 640;
  float plotScale_ = 0.8f;
  uint16_t viewWidth_ = 40;
  uint16_t viewHeight_ = 40;
  float viewCellSize_ = 6.4f;
  float originX_ = 0.0f;
  float originY_ = 0.0f;
  float originZ_ = 0.0f;
  std::vector<uint16_t> owned_;
  std::vector<uint16_t> unavailable_;
  std::vector<uint16_t> tagged_;
  std::unique_ptr<PlotCell[]> cells_;
  uint8_t selectionSize_ = 1;
  int32_t anchorX_ = 0, anchorY_ = 0, cornerX_ = 0, cornerY_ = 0;
  bool purchaseActive_ = false;
  bool saleActive_ = false;
  std::vector<int16_t> purchaseList_;
  std::vector<int16_t> saleList_;
  LandMode landMode_ = LandMode::Purchasing;
  std::vector<std::vector<int16_t>> undoList_;  // newest first
  std::vector<CornerUndo> cornerUndo_;          // newest first
  uint16_t transactionCount_ = 0;
  std::vector<CornerBlock> corners_;
  bool enoughLand_ = false;
  uint8_t runwayBlocksA_ = 0;
  uint8_t runwayBlocksB_ = 0;
  bool runwayWarned_ = false;
  uint16_t savedSpeedCode_ = 1;
  bool speedSaved_ = false;
  std::vector<uint32_t> miniMap_;
  uint16_t entranceX_ = 0xFFFF;
  uint16_t entranceY_ = 0xFFFF;
  C3DMesh* meshes_[kMeshCount] = {};
  C3DBaseShader* materials_[kMaterialCount] = {};
  std::vector<FenceRun> fenceRuns_;
  // Display switches, the overview and the mini-map picture.
  bool showGridLines_ = true;
  bool showHighlight_ = true;
  bool savedHighlight_ = true;
  bool showSelection_ = true;
  bool showBuildingGrid_ = false;
  bool overPlot_ = false;
  bool overview_ = false;
  bool costView_ = false;
  bool resumeOnView_ = false;
  JMatrix highlightMatrix_ = JMatrix::Identity();
  JMatrix selectionMatrix_ = JMatrix::Identity();
  C3DFont* fonts_[kFontCount] = {};
  C3DImage* miniMapImage_ = nullptr;
  bool alphaRegistered_ = false;
  bool inputRegistered_ = false;
  void LoadFonts();
  void ReleaseFonts();
  void RegisterWithGame();
  void UnregisterFromGame();
  void ReleaseMiniMapImage();
};
