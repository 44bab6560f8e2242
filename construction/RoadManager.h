#pragma once
// The road manager (spawned as "SPN::KV9:ROAD:MANAGER"): the land-side road
// network laid on the plot grid as straight one-cell-wide sections with
// junctions where roads meet each other, a building's road access point or
// the plot entrance. It turns road drags into sections, charges for them,
// keeps the road vehicles' path graph current, tells which buildings reach
// the entrance, draws every road quad as one model and saves the network.
// Cell index everywhere is y * W + x, W being the plot width in cells.
#include <cstdint>
#include <string>
#include <vector>

#include "construction/PtrField.h"
#include "construction/RoadSection.h"
#include "engine/entity/EntityBase.h"
#include "engine/files/SerializedObject.h"
#include "engine/math/JMatrix.h"
#include "simulation/RoadNetwork.h"

class C3DBaseShader;
class C3DModel;
class C3DPass;
class cEntity_GamePlot;
class cKV9_GlobalWrapper;
class cPathFinder;
class cPathNode;

class cEntity_RoadManager : public cEntity_Base, public cSerialized_Object, public RoadNetwork {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:ROAD:MANAGER";
  static constexpr uint32_t kRecordSize = 24;
  static constexpr uint16_t kNoCell = 0xFFFF;

  cEntity_RoadManager(cEntity_Manager* manager, uint32_t typeWord);
  ~cEntity_RoadManager() override;

  // Releases both road materials.
  CoreStatus Exit() override;

  // The section on the cell; null outside the plot or on an empty cell.
  RoadSection* GetSectionAt(int32_t x, int32_t y);
  bool HasRoadAt(int32_t x, int32_t y) override;
  bool GetEntranceCell(uint16_t* x, uint16_t* y) const override;
  // Set by the land plot when the first purchase touches the plot edge;
  // kNoCell, kNoCell unsets it.
  void SetEntranceCell(uint16_t x, uint16_t y);
  bool IsConnectedRoadCell(int32_t x, int32_t y) override;

  // A drag reduced to a strip (or one cell). On success the new sections
  // wait for FinishRoadPlacement; on failure nothing is kept or charged.
  // The player pays for every new cell; the managers re-lay road they took
  // up (`charged` false) for free.
  bool PlaceRoad(uint16_t x, uint16_t y, uint16_t width, uint16_t length, bool charged = true);
  void FinishRoadPlacement();
  void DiscardPendingRoads();
  // Demolishes one cell of road (neither charged nor refunded).
  void RemoveRoadAt(uint16_t x, uint16_t y);
  // A building's access point now faces this road cell.
  void MakeJunctionAt(uint16_t x, uint16_t y);
  // Links the junction node to the buildings whose access points face it.
  void LinkJunctionBuildings(cPathNode* node);

  // After a new game or a load: model, then the network kept by the load.
  void BuildWorld();
  // At world reset: every section deleted, the cell field sized to the plot.
  void Clear();
  // At start-up: the straight-road and junction materials.
  void LoadMaterials();
  // Queues the road models into the pass.
  void Draw(C3DPass* pass);
  // Hands every section's quad to the road models.
  void RebuildRoadMesh();

  // Entrance cell x, y (u16), section count, then 24 bytes a section.
  bool Save(SerialBlock* bytes, uint32_t* n) override;
  // Keeps a blob that checks out for BuildWorld; refuses any other and keeps
  // what was held.
  bool LoadFromBlob(const uint8_t* bytes, uint32_t n) override;

  const std::vector<RoadSection*>& GetSections() const { return sections_; }
  // The first road model; more follow when one model's 16-bit indices
  // cannot reach every quad.
  C3DModel* GetModel() const { return models_.empty() ? nullptr : models_[0]; }
  const std::vector<C3DModel*>& GetModels() const { return models_; }
  cPathNode* GetEntranceNode() const { return entranceNode_; }

 private:
  cKV9_GlobalWrapper* Table();
  cEntity_GamePlot* Plot();
  cPathFinder* Finder();
  uint16_t PlotWidth();
  uint16_t PlotHeight();
  bool InPlot(int32_t x, int32_t y);
  // Installed road on the cell (inside the plot only).
  bool CellHasRoad(int32_t x, int32_t y);
  uint32_t CellIndex(int32_t x, int32_t y) { return static_cast<uint32_t>(y) * PlotWidth() + static_cast<uint32_t>(x); }
  bool IsEntranceCell(int32_t x, int32_t y) const { return x == entranceX_ && y == entranceY_; }
  // Direction (0 toward -y, 1 +x, 2 +y, 3 -x) a placed building's road
  // access point on the cell faces, 4 for none.
  uint8_t AccessFacing(int32_t x, int32_t y);

  // Placement.
  bool WouldCloseSquare(int32_t x, int32_t y, int side);
  bool CanPlaceRoadRun(int32_t x, int32_t y, int32_t width, int32_t length);
  bool PlaceSingleCell(uint16_t x, uint16_t y);
  // The price of one road cell; false (logged once) without a road type.
  bool RoadCellPrice(float* price);
  bool PlaceRun(uint16_t x, uint16_t y, uint16_t count, bool alongX);
  bool ChargePending();
  // Section ids come from one program-wide counter starting at 1.
  static uint32_t NewSectionId();
  RoadSection* NewSection(uint16_t x, uint16_t y, uint16_t width, uint16_t length, uint8_t kind);
  void DeleteSection(RoadSection* section);

  // Settling the pending list.
  bool JoinAlong(RoadSection* section, bool alongX);
  void SplitSection(RoadSection* section, uint16_t x, uint16_t y, std::vector<RoadSection*>* parts);
  void SplitSectionAt(RoadSection* section, uint16_t x, uint16_t y);
  bool ConnectSectionEnds(RoadSection* section);
  bool SplitAtSideJunction(RoadSection* section);
  void ClassifySingleCell(RoadSection* section);
  void InstallSection(RoadSection* section);
  void UninstallSection(RoadSection* section);
  void MarkSectionCells(RoadSection* section, bool road);

  // Path graph.
  void BuildSectionNodes(const std::vector<RoadSection*>& installed);
  void LinkSection(RoadSection* section);
  cPathNode* NodeOfSectionAt(RoadSection* section, int32_t x, int32_t y);
  void DropNode(RoadSection* section, cPathNode* node);
  void FloodFromEntrance();

  // Drawing.
  void SetQuad(RoadSection* section);
  void RefreshTextureCoords();
  void ReleaseModels();

  std::vector<C3DModel*> models_;
  JMatrix worldMatrix_;
  C3DBaseShader* materials_[2] = {nullptr, nullptr};
  uint16_t entranceX_ = kNoCell;
  uint16_t entranceY_ = kNoCell;
  cPathNode* entranceNode_ = nullptr;
  std::vector<RoadSection*> pending_;  // owned until installed
  std::vector<RoadSection*> retexture_;
  std::vector<uint16_t> crossings_;  // x, y pairs
  JPtrfield<RoadSection> cells_;     // owns the installed sections
  std::vector<RoadSection*> sections_;
  std::vector<RoadSection*> installedNow_;
  bool nodesRemoved_ = false;
};
