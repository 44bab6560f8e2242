#pragma once
// The player's hand on the building manager: turns mouse events on the plot
// into selection, placement, rotation, cancelling and demolition; drags
// roads, taxiways and aprons out as straight strips; holds back the
// demolition of large buildings until the demolish dialog answers; commits a
// placement with the build sound that fits its size; builds the build
// menu's per-category scenes and keeps their buttons in step with the
// technology levels; and makes the placement previews.
//
// It keeps no building state of its own: the placement object and the
// demolish mode are the building manager's; here are only the drag anchor,
// the last and the pending cursor event, the removal drag and the last
// clicked building. The manager and its neighbours are found through the
// game's service table at each call.
#include <cstdint>
#include <string>

#include "engine/services/InputPackets.h"

class BOInstance;
class C3DBaseShader;
class Core3D;
class C3DMesh;
class C3DModel;
class cBuildableObject;
class cEntity_BuildingManager;
class cKV9_GlobalWrapper;

// A mouse event as the hand sees it: the packet and the plot cell under the
// pointer.
struct CursorEvent {
  MousePacket packet;
  int32_t x = 0;
  int32_t y = 0;
};

// The flat model "polymesh_plane_BLEH": one cell of `cellSize` a side,
// wearing `shader` (which the model then holds too) when there is one. Null
// without a renderer or when the renderer cannot make the model.
C3DModel* MakeFootprintPlane(Core3D* graphics, float cellSize, C3DBaseShader* shader);

class cBuildPlacement {
 public:
  // Mouse button bits of the packet masks.
  static constexpr uint8_t kLeft = 1;
  static constexpr uint8_t kRight = 2;
  static constexpr uint8_t kMiddle = 4;
  // A second click on the same building within this many time-stamp units
  // is a double click.
  static constexpr uint32_t kDoubleClickTime = 10000;
  enum DemolishDrag : uint8_t { kDragRoad = 0, kDragApron = 1, kDragTaxiway = 2 };

  explicit cBuildPlacement(cKV9_GlobalWrapper* table) : table_(table) {}
  ~cBuildPlacement();
  cBuildPlacement(const cBuildPlacement&) = delete;
  cBuildPlacement& operator=(const cBuildPlacement&) = delete;

  void SetTable(cKV9_GlobalWrapper* table) { table_ = table; }

  // --- Cursor events -------------------------------------------------------
  // Every mouse packet over the plot with the cell under the pointer.
  void OnCursorInput(const MousePacket& packet, int32_t x, int32_t y);
  // No placement object: clicks on buildings, demolition and removal drags.
  void OnSelectInput(const MousePacket& packet, int32_t x, int32_t y);
  // A placement object: preview, commit, strips, cancel and turning.
  void OnPlacementInput(const MousePacket& packet, int32_t x, int32_t y);

  // --- Demolish dialog -----------------------------------------------------
  bool HasPendingDemolition() const { return pendingValid_; }
  const CursorEvent& PendingEvent() const { return pending_; }
  // Replays the held event and hides the dialog.
  void AcceptDemolish();
  // Hides the dialog; the building stays.
  void CancelDemolish();

  // --- Placement object ----------------------------------------------------
  // Makes `object` the building manager's placement object (null ends
  // placement) and brings the plot, the cursor, the camera and the build
  // menu's info into step.
  void SetPlacementObject(BOInstance* object, bool deleteOld);
  // A quarter turn of the object in hand (roads do not turn).
  void RotatePlacementObject();
  // Demolish mode on (ends placement, demolition cursor) and off. True when
  // the mode changed.
  bool EnterDemolishMode();
  bool LeaveDemolishMode();

  // --- Build sounds --------------------------------------------------------
  // The footprint area in cells (sum of the rectangles) and its sound.
  static uint32_t FootprintArea(cBuildableObject* type);
  static const char* BuildSoundForArea(uint32_t area);

  // --- Previews ------------------------------------------------------------
  // The flat cell-sized model "polymesh_plane_BLEH" wearing the shader.
  C3DModel* BuildFootprintPlane(const std::string& shaderName);
  // A quad of width x length cells (each below 256) replacing `old`, with
  // the preview shader; null without a renderer or for a bad size.
  C3DMesh* BuildPreviewQuad(C3DMesh* old, uint16_t width, uint16_t length);
  C3DMesh* GetPreviewMesh() const { return previewMesh_; }
  uint16_t GetPreviewWidth() const { return previewW_; }
  uint16_t GetPreviewLength() const { return previewL_; }

  // --- Build menu scenes -----------------------------------------------------
  // The category scenes "scnBM<category>" under "scnBMCategories" with one
  // button "Level <level> <name>" per type. 1.
  int32_t CreateBuildMenu();
  // Each button's state follows its type's technology flag; then the build
  // menu shows its category again.
  void RefreshBuildMenu();
  // The technology flag of a level; levels past the flags are locked.
  static bool TechLevelReached(cEntity_BuildingManager* manager, uint32_t level);

  // --- State read by tests and the screens ----------------------------------
  bool IsDragging() const { return dragging_; }
  int32_t DragAnchorX() const { return anchorX_; }
  int32_t DragAnchorY() const { return anchorY_; }
  bool IsRemovalDragging() const { return removalDrag_; }
  uint8_t RemovalDragMode() const { return removalMode_; }
  BOInstance* LastClicked() const { return lastClicked_; }
  uint32_t LastClickTime() const { return lastClickTime_; }

 private:
  cEntity_BuildingManager* Manager() const;
  // The strip of a road-class drag from the anchor to (x, y).
  void StripFrom(BOInstance* object, int32_t x, int32_t y, int32_t* sx, int32_t* sy, int32_t* w, int32_t* l) const;
  void ShowStripPreview(BOInstance* object, int32_t sx, int32_t sy, int32_t w, int32_t l);
  void CommitBuilding(BOInstance* object, const MousePacket& packet, int32_t x, int32_t y);
  void LayStrip(BOInstance* object, int32_t x, int32_t y);
  void RemoveStrip(int32_t x, int32_t y);
  void ShowDialog(const char* scene, bool visible);
  std::string ResourcePath() const;
  void ReleasePreview();

  cKV9_GlobalWrapper* table_ = nullptr;
  // The last event acted on (a repeat of it is dropped).
  CursorEvent last_;
  bool lastValid_ = false;
  // The click that opened the demolish dialog.
  CursorEvent pending_;
  bool pendingValid_ = false;
  // A road-class strip being dragged.
  bool dragging_ = false;
  int32_t anchorX_ = 0;
  int32_t anchorY_ = 0;
  // A removal drag in demolish mode.
  bool removalDrag_ = false;
  uint8_t removalMode_ = kDragRoad;
  int32_t removalX_ = 0;
  int32_t removalY_ = 0;
  // The last clicked building and when.
  BOInstance* lastClicked_ = nullptr;
  uint32_t lastClickTime_ = 0;
  // The preview quad of road-class strips.
  C3DMesh* previewMesh_ = nullptr;
  C3DBaseShader* previewShader_ = nullptr;
  uint16_t previewW_ = 0;
  uint16_t previewL_ = 0;
};
