#pragma once
// The taxiway and apron manager (spawned as "SPN::KV9:TAXIWAY:MANAGER"):
// every taxiway and apron the player has laid, as axis-aligned rectangles of
// plot cells ("sections") found by a greedy cover, drawn one model per kind,
// linked with the buildings and path nodes around them, and saved as the
// laid rectangles. Taxiways and aprons take twin paths that differ only in
// their lists, model, material, price and cell bit.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/entity/EntityBase.h"
#include "engine/files/SerializedObject.h"
#include "engine/math/JMatrix.h"
#include "engine/services/C3DMesh.h"

class C3DBaseShader;
class C3DModel;
class C3DPass;
class cEntity_GamePlot;
class cKV9_GlobalWrapper;
class cPathFinder;

// One laid rectangle with its quad (first cell's corner at texture (0,
// length), the texture repeating once a cell).
struct PavementSection {
  RenderVertex quad[4] = {};
  uint16_t x = 0;
  uint16_t y = 0;
  uint16_t width = 0;
  uint16_t length = 0;
};
using TaxiwaySection = PavementSection;
using ApronSection = PavementSection;

// A rectangle of plot cells (a placed building's footprint piece).
struct CellRect {
  uint16_t x = 0;
  uint16_t y = 0;
  uint16_t width = 0;
  uint16_t length = 0;
};

class cEntity_TaxiwayManager : public cEntity_Base, public cSerialized_Object {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:TAXIWAY:MANAGER";
  enum Kind : int { kTaxiway = 0, kApron = 1 };

  cEntity_TaxiwayManager(cEntity_Manager* manager, uint32_t typeWord);
  ~cEntity_TaxiwayManager() override;

  // After a new game or a load: models and materials, then the rectangles
  // kept by the load.
  void BuildWorld();
  // At game reset: every section, model and material gone.
  void Clear();

  // Lays pavement over the free owned cells of the rectangle and charges
  // them; false (nothing charged or changed) when a cell is not owned land,
  // no cell can take pavement, the price exceeds the cash or there is no
  // type to price it.
  bool AddTaxiway(uint16_t x, uint16_t y, uint16_t width, uint16_t length);
  bool AddApron(uint16_t x, uint16_t y, uint16_t width, uint16_t length);
  // Takes the pavement off one cell; the rest of its section stays paved.
  void ClearTaxiwayCell(TaxiwaySection* section, uint16_t x, uint16_t y);
  void ClearApronCell(ApronSection* section, uint16_t x, uint16_t y);
  // A building now stands on these cells: the pavement under it goes.
  void CutTaxiwayUnderFootprint(const std::vector<CellRect>& footprint);
  void CutApronUnderFootprint(const std::vector<CellRect>& footprint);
  void RemoveTaxiwaySection(TaxiwaySection* section);
  void RemoveApronSection(ApronSection* section);

  // Queues both models into the pass.
  void Draw(C3DPass* pass);

  // u32 taxiway count, 8 bytes a rectangle, then the same for aprons;
  // nothing (false) without any section.
  bool Save(SerialBlock* bytes, uint32_t* n) override;
  // Keeps a blob whose counts match its size; refuses any other.
  bool LoadFromBlob(const uint8_t* bytes, uint32_t n) override;

  const std::vector<std::unique_ptr<PavementSection>>& GetSections(Kind kind) const { return kinds_[kind].sections; }
  C3DModel* GetModel(Kind kind) const { return kinds_[kind].models.empty() ? nullptr : kinds_[kind].models[0]; }
  bool IsDrawn(Kind kind) const { return kinds_[kind].drawn; }

 private:
  struct Pavement {
    const char* typeName;    // building type (class 4, level 1) that prices a cell
    const char* modelName;   // polymesh model
    const char* shaderFile;  // material in the game's shader folder
    uint32_t cellBit;        // content bit of a cell that may take it
    uint32_t content;        // content written on a laid cell
    uint8_t nodeKind;        // path node kind of its cells
    bool drawn = false;
    std::vector<C3DModel*> models;
    JMatrix world;
    C3DBaseShader* shader = nullptr;
    std::vector<std::unique_ptr<PavementSection>> sections;
  };

  cKV9_GlobalWrapper* Table();
  cEntity_GamePlot* Plot();
  cPathFinder* Finder();
  uint16_t PlotWidth();

  bool Lay(Kind kind, uint16_t x, uint16_t y, uint16_t width, uint16_t length, bool charged);
  bool CellPrice(Kind kind, float* price);
  // Covers the marked cells of the region greedily; the map is w x l,
  // row-major, and is cleared as rectangles are taken.
  void BuildSections(Kind kind, uint16_t x, uint16_t y, uint16_t width, uint16_t length, uint32_t count,
                     std::vector<uint8_t>& map);
  void AddSection(Kind kind, uint16_t x, uint16_t y, uint16_t width, uint16_t length);
  void RebuildMesh(Kind kind);
  void RemoveSection(Kind kind, PavementSection* section);
  void ClearCell(Kind kind, PavementSection* section, uint16_t x, uint16_t y);
  void CutUnderFootprint(Kind kind, const std::vector<CellRect>& footprint);
  // Buildings on the cells just outside the rectangle gain (or lose) one
  // taxiway contact.
  void TouchBuildingsAround(uint16_t x, uint16_t y, uint16_t width, uint16_t length, bool add);
  void AfterNetworkChange();
  void ReleaseResources();

  Pavement kinds_[2];
};
