#pragma once
// The building manager (spawned as "SPN::KV9:BUILDINGMANAGER"): owner of the
// building types, kept by class, id and level, and through them of the
// placed buildings, which it keeps in lists by kind. It rebuilds the placed
// buildings from a save, draws each type's batched model once a frame and
// answers the other managers' queries.
//
// The data table readers, placement, clock work, disasters, status icons,
// queries and network links are virtual so that tests can watch them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "construction/BuildingHooks.h"
#include "construction/OID.h"
#include "engine/entity/EntityBase.h"
#include "engine/files/SerializedObject.h"
#include "engine/frame/RenderServiceItem.h"
#include "simulation/TimeObject.h"

class AdminInstance;
class AmenityInstance;
class BOInstance;
class ByteReader;
class C3DModel;
class cBuildableObject;
class cBuilding;
class cRoadAccessObject;
class cTaxiwayAccessObject;
class cContract;
class cKV9_GlobalWrapper;
class OrgInstance;
class RunwayInstance;
class SaveRecordWriter;
class ServiceInstance;
class TerminalInstance;
class JVector;
struct TerminalItem;

// Building class codes; 13 is no building.
inline constexpr uint8_t kBuildingClassCount = 13;
inline constexpr uint8_t kBuildingClass_Amenity = 2;
inline constexpr uint8_t kBuildingLevelCount = 8;
inline constexpr uint32_t kTechnologyFlagCount = 16;
inline constexpr uint32_t kCategoryCount = 7;
inline constexpr uint32_t kStatusGroupCount = 4;
inline constexpr uint32_t kTerminalObjectGroups = 5;

// A road access point of a placed building: cell and the direction it faces
// (0 toward -y, 1 toward +x, 2 toward +y, 3 toward -x).
struct RoadAccessCell {
  uint16_t x = 0;
  uint16_t y = 0;
  uint8_t direction = 0;
};

// The eight type pointers of one id, one per level (null where undefined).
struct BOLevels {
  cBuildableObject* levels[kBuildingLevelCount] = {};
};

// One of the 16 type-word groups the technology levels keep.
struct TypeWordGroup {
  std::vector<OID> listA;
  std::vector<OID> listB;
  uint8_t state = 0;
  uint32_t number = 5;
};

class cEntity_BuildingManager : public cEntity_Base,
                                public cRenderServiceItem,
                                public cSimulation_TimeObject,
                                public cSerialized_Object {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:BUILDINGMANAGER";
  static constexpr float kDefaultDecayRate = 0.00033333333f;

  // Fills the category names and reads "BaseRateOfDecay" of section "App"
  // from the configuration of the owner's service table.
  explicit cEntity_BuildingManager(cEntity_Manager* owner, uint32_t typeWord = kEntityType_Base);
  // Deletes the terminal objects and every type still held.
  ~cEntity_BuildingManager() override;

  // Reset, then deletes every type and releases the status models. 0.
  CoreStatus Exit() override;

  // --- Type registry -------------------------------------------------------
  virtual std::string GetCategoryName(uint8_t category);
  virtual uint16_t GetCategoryTypeCount(uint8_t category);
  // The type of (class, id, level), or null.
  virtual cBuildableObject* GetBuildingType(uint8_t classCode, uint16_t id, uint8_t level);
  // Number of ids of a class.
  virtual uint16_t GetTypeIdCount(uint8_t classCode);
  uint16_t GetTypeCount(uint8_t classCode) { return GetTypeIdCount(classCode); }
  // The name of a class's id, or null.
  virtual const std::string* GetTypeName(uint8_t classCode, uint16_t id);
  // The id of a type name in a class, compared without regard to case; a
  // name not yet known is appended and gets the next id.
  virtual uint16_t FindTypeIndexByName(uint8_t classCode, const std::string& name);
  uint16_t AddType(uint8_t classCode, const std::string& name) { return FindTypeIndexByName(classCode, name); }
  // Stores the type at its (class, id, level); false when the place is
  // taken or the id is the invalid 8191.
  virtual bool RegisterType(cBuildableObject* type);
  // First type of that name (any case) at that level over all classes.
  virtual cBuildableObject* FindTypeByName(const std::string& name, uint8_t level);
  virtual uint32_t GetInstanceCountOfType(OID word);
  virtual void InitClassNames();
  const std::vector<std::string>& GetClassNames() const { return classNames_; }

  // Technology flag n (0-15).
  virtual bool GetTechFlag(uint32_t index);
  virtual const std::vector<BOInstance*>& GetTerminals();
  // Road access points turned and moved to the instance's place; empty when
  // the type has none.
  virtual void GetRoadAccessCells(BOInstance* instance, std::vector<RoadAccessCell>& out);
  // The terminal object of that name (any case) in any group, or null.
  virtual TerminalItem* FindTerminalObject(const std::string& name);
  // The placed terminal whose identity word is `word` (the terminal list
  // first, then the type's instances), or null.
  virtual TerminalInstance* FindTerminalInstanceOfType(uint32_t word);
  // The building on a plot cell, or null (outside the plot, or a cell whose
  // class field is 13 or more).
  virtual BOInstance* GetInstanceAt(int32_t x, int32_t y);

  // --- Life cycle ----------------------------------------------------------
  // Class names, the three tables and the status models, in that order. 0.
  virtual CoreStatus LoadDataTables();
  // Rebuilds the placed buildings from the kept blob (or sets up a new
  // game), joins the clock with mask 0x1D and relinks the networks. 0.
  virtual CoreStatus RestoreFromSave();
  // Leaves the clock, drops the placement object and every placed building.
  virtual CoreStatus Reset();
  // Removes every placed building and empties the lists.
  virtual void ClearAllInstances();
  // Draws every type with instances through its batched model, the
  // placement object's thumbnail and the status models.
  CoreStatus Render(C3DPass* pass, Core3D* renderer) override;
  // The blob RestoreFromSave reads.
  bool Save(SerialBlock* bytes, uint32_t* n) override;
  bool Serialize(SerialBlock* bytes, uint32_t* n) { return Save(bytes, n); }
  // Checks a building blob throughout without changing anything.
  bool CheckBlob(const uint8_t* bytes, uint32_t n, std::string* why) const;
  // A new instance of (class, id, level) with that serial at cell (0, 0),
  // or null when there is no such type.
  BOInstance* CreateInstanceForLoad(uint8_t classCode, uint16_t id, uint8_t level, uint16_t serial);
  // Moves the object and its world matrix to the cell.
  virtual void SetPlacementPosition(BOInstance* object, uint16_t x, uint16_t y);
  // Replaces the placement object; with `destroy` the old one is deleted.
  virtual void SetPlacementObject(BOInstance* object, bool destroy);
  BOInstance* GetPlacementObject() const { return placement_; }
  cKV9_GlobalWrapper* Table() const { return table_; }
  void SetTable(cKV9_GlobalWrapper* table) { table_ = table; }

  // --- Operations of the parts that complete the manager -----------------
  // Data tables.
  virtual bool LoadBaseBuildings(const std::string& fileName);
  virtual bool LoadTerminalObjects(const std::string& fileName);
  virtual bool LoadAmbientVehicles(const std::string& fileName);
  // The four status icon models (construction, fire, breakdown,
  // discontent), each a plane with its own material from "Interface\\Icons\\".
  virtual void SetUpStatusModels();
  // Placement and demolition.
  // A new placement instance of the type at (class, id, level) with the
  // type's next free serial, at cell (0, 0); null when there is no such
  // type, every serial is taken or a runway finds no control tower.
  virtual BOInstance* SelectBuildingType(uint8_t classCode, uint16_t id, uint8_t level);
  // True when every footprint cell lies on the plot and carries flag 2, 4 or 8.
  virtual bool CanPlaceAt(BOInstance* object, uint16_t x, uint16_t y);
  // 0 to 3 when a placed building's road access point on cell (x, y) faces
  // -y, +x, +y or -x; 4 for a cell without a building, 5 for a building
  // cell that is no access point.
  virtual uint8_t CheckPlacementAt(int32_t x, int32_t y);
  // The placed building (finished or not) with a road access point on cell
  // (x, y), or null: the building a road junction beside it serves.
  virtual BOInstance* FindInstanceByRoadCell(int32_t x, int32_t y);
  // The built building with a road access point leading onto road cell
  // (x, y), or null.
  BOInstance* FindBuildingByRoadCell(int32_t x, int32_t y);
  // After new pavement or a network change: every placed building's road
  // and taxiway counters zeroed, its taxiway contacts and the last flood's
  // road links counted again, and its functional state evaluated once.
  virtual void RecountConnections();
  // Commits a placement: construction time, lists, plot cells, networks,
  // construction icon, charge. The instance belongs to the manager after.
  virtual void FinishPlacement(BOInstance* object, uint8_t classCode);
  // Removes a placed building completely (lists, plot, networks), runs its
  // demolition and deletes it.
  virtual void RemoveInstance(BOInstance* instance);
  // Restore steps: two per-instance set-ups, the runway-and-terminal hook,
  // the administration hook, the runway set-up, the runways' functional
  // state.
  virtual void SetUpRestoredInstance(BOInstance* instance);
  virtual void LinkRestoredInstance(BOInstance* instance);
  virtual void OnRestoredRunwayOrTerminal(BOInstance* instance);
  virtual void OnRestoredAdmin(AdminInstance* instance);
  virtual void SetUpRunways(const std::vector<RunwayInstance*>& runways);
  virtual void RefreshRunwayStates();
  // Status displays: the fire display (particles, or the fire icon when
  // "Particles" of section "App" is not "true"), the fire icon itself, the
  // breakdown icon. Nothing for a building under construction.
  virtual void UpdateInstanceParticles(BOInstance* instance, bool show);
  virtual void UpdateInstanceFireIcon(BOInstance* instance, bool show);
  virtual void UpdateInstanceBreakdownIcon(BOInstance* instance, bool show);
  // Starts the first animation named "default" of the type's model; false
  // when it has none.
  virtual bool PlayDefaultAnimation(BOInstance* instance, uint8_t* index);
  // One more (one fewer) building of that type animates its model.
  virtual void AddModelUse(BOInstance* instance, uint8_t index);
  virtual void RemoveModelUse(BOInstance* instance);
  // Technology bookkeeping: a type gained its first functional building or
  // lost its last one.
  virtual void NotifyTypeAvailable(OID word, bool available);
  // Disasters.
  virtual void ApplyEarthquakeDamage(int32_t magnitude);
  // Counts of functional buildings whose owning contract is `contract` (null:
  // dedicated to none). Of the word's type from its level up to 7:
  virtual uint32_t CountInstancesOfType(uint32_t word, cContract* contract);
  // Of the word's type from level 1 up (0 when the id is not below the
  // class's id count); the B form is the one the dedicate tests ask.
  virtual uint32_t CountInstancesFromLevel1(uint32_t word, cContract* contract);
  virtual uint32_t CountInstancesFromLevel1B(uint32_t word, cContract* contract);
  // Of every type of the word's class.
  virtual uint32_t CountClassInstances(uint32_t word, cContract* contract);
  virtual uint32_t CountClassInstancesB(uint32_t word, cContract* contract);
  // Every placed or unfinished building dedicated to the contract loses its
  // owner and leaves its administration building; an airline contract also
  // loses its link to its building. Null does nothing.
  virtual void ReleaseContractBuildings(cContract* contract);

  // --- Clock ---------------------------------------------------------------
  // Tick (icons, animations, runway states, placement tint), minute
  // (integrity checks, traffic), hour (construction), day (technology,
  // discontent, decay, repairs). 0.
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float gameDelta) override;
  void AdvanceConstruction();
  void ApplyDailyDecay();
  void ApplyDailyRepairs();
  void RecheckRunways();
  void UpdateTechRequirements(OID word, bool functional) { NotifyTypeAvailable(word, functional); }

  // --- Placement ---------------------------------------------------------
  // The road access links of a building with the road network; true.
  bool LinkRoadAccess(BOInstance* instance);
  bool UnlinkRoadAccess(BOInstance* instance);
  // True when the mode changed.
  virtual bool EnterDemolishMode();
  virtual bool LeaveDemolishMode();
  // Turns the object one quarter (0 becomes 3); roads do not turn.
  void RotatePlacementObject(BOInstance* object);
  // The console's mass placement: every selectable type but roads, row by
  // row over the plot.
  void MassDrop(uint32_t rounds, uint16_t xStep, uint16_t yStep);

  // --- Links ---------------------------------------------------------------
  // The building beside each road node its access points lead onto; a
  // connection at once where the node was reached by the last flood.
  void LinkRoadAccessNodes(BOInstance* instance);
  // One taxiway connection per contact of a non-road path node with the
  // ring of cells around each footprint rectangle.
  void CountTaxiwayContacts(BOInstance* instance);
  // A runway's taxiway node; a terminal's gate nodes.
  void LinkTaxiwayAccessNodes(BOInstance* instance);
  // Gives each runway the lowest-level control tower with room that meets
  // its required level.
  void AssignControlTowers(const std::vector<RunwayInstance*>& buildings);

  // --- Displays ------------------------------------------------------------
  void SetMadEmployeeIcon(BOInstance* instance, bool show);
  // The icon matrix above the building, turned by `spin` radians.
  void BuildIconMatrix(BOInstance* instance, float spin);
  // Valid (placeable and affordable) tint of the placement preview at
  // (x, y); -1 takes the object's own coordinate.
  bool UpdatePlacementTint(int32_t x, int32_t y);

  // --- Disasters -----------------------------------------------------------
  void ApplyTornadoDamage(const JVector& position);

  // --- Queries -------------------------------------------------------------
  // The next functional building of the cursor's types (modes 4, 5, 6).
  bool NextInstance(BOInstance** out);
  bool HasRoadAccessAt(int32_t x, int32_t y, uint8_t direction, BOInstance** out);
  BOInstance* PickRandomInstanceWithFlags(int32_t mask);
  BOInstance* PickRandomRoadAccessInstance();
  // Reached levels 1, 2, ... up to the first that is not.
  uint8_t GetTechLevel();
  void AnnounceTechLevel(uint8_t level);
  void AddTechRequirement(uint8_t level, OID word);
  // The build menu shows its current category again (forced).
  void RefreshBuildMenu();
  // Take a building out of the per-kind list (order of the others kept).
  void RemoveFromTerminals(BOInstance* instance);
  void RemoveFromRunways(RunwayInstance* instance);
  void RemoveFromAdmin(AdminInstance* instance);
  void RemoveFromMaintenance(ServiceInstance* instance);
  void RemoveFromControlTowers(OrgInstance* instance);

  // Status icon kinds, the index into statusGroups and statusModels; the
  // construction group is the list of buildings under construction.
  enum IconKind : uint8_t { kIcon_Construction = 0, kIcon_Fire = 1, kIcon_Breakdown = 2, kIcon_Discontent = 3 };
  // One type whose model's default animation runs, and how many placed
  // buildings of it there are.
  struct ModelUse {
    cBuildableObject* type = nullptr;
    uint8_t animation = 0;
    uint16_t count = 0;
  };
  std::vector<ModelUse> modelUses;
  // Iteration cursor of NextInstance.
  uint8_t cursorMode = 4;
  uint8_t cursorClass = 0;
  uint16_t cursorId = 0;
  uint8_t cursorLevel = 0;
  uint16_t cursorIndex = 0;

  // --- Building definitions and data tables --------------------------------
  // A definition: entry 0 holds the class keyword and the type name, every
  // further entry one key line (the key, then its values in file order).
  using DefinitionLine = std::vector<std::string>;
  using Definition = std::vector<DefinitionLine>;
  // Longest type or terminal-object name a save can carry.
  static constexpr size_t kMaxTypeNameLength = 32;
  // The data tables (LoadBaseBuildings, LoadTerminalObjects and
  // LoadAmbientVehicles read them through the resource path; false when the
  // file cannot be read or is not a table, and then nothing is added). The
  // FromMemory forms do the work; the tests and fuzz targets call them.
  bool LoadBaseBuildingsFromMemory(std::string_view text);
  bool LoadTerminalObjectsFromMemory(std::string_view text);
  bool LoadAmbientVehiclesFromMemory(std::string_view text);
  // Makes the type, scenery model or ambient record a definition describes.
  virtual void ParseDefinition(Definition definition);
  // One parser per class keyword, each given the type name and the key lines.
  virtual void ParseStaticObject(const std::string& name, const Definition& keys);
  virtual void ParseAmbientType(const std::string& name, const Definition& keys);
  virtual void ParseObjectType(const std::string& name, const Definition& keys);
  virtual void ParseBuildingType(const std::string& name, const Definition& keys);
  virtual void ParseAmenityType(const std::string& name, const Definition& keys);
  virtual void ParseParkingType(const std::string& name, const Definition& keys);
  virtual void ParseRoadType(const std::string& name, const Definition& keys);
  virtual void ParseTerminalType(const std::string& name, const Definition& keys);
  virtual void ParseAdminType(const std::string& name, const Definition& keys);
  virtual void ParseStorageType(const std::string& name, const Definition& keys);
  virtual void ParseRunwayType(const std::string& name, const Definition& keys);
  virtual void ParseEmergencyType(const std::string& name, const Definition& keys);
  virtual void ParseSecurityType(const std::string& name, const Definition& keys);
  virtual void ParseServiceType(const std::string& name, const Definition& keys);
  virtual void ParseOrganizationalType(const std::string& name, const Definition& keys);
  virtual void ParseCommonKey(cBuildableObject* type, const DefinitionLine& line);
  virtual void ParseRoadAccess(cRoadAccessObject* list, const DefinitionLine& line);
  virtual void ParseTaxiwayAccess(cTaxiwayAccessObject* list, const DefinitionLine& line);
  virtual void ParseAmbientData(cBuilding* type, const DefinitionLine& line);
  // The model object of a path: an unshared ".ssm" model, or for any other
  // path the placement's flat model of the shader the path names. Null when
  // the renderer cannot make it.
  virtual C3DModel* CreateTypeModel(const std::string& path);
  // Model and thumbnail objects of a new type; a type whose model cannot be
  // made keeps none (logged once per type).
  virtual void LoadTypeModel(cBuildableObject* type);
  // The name the flat-model builder is given for a model path.
  static std::string MakeModelName(const std::string& path);
  // The placement's flat model with the named shader on it.
  virtual C3DModel* BuildFootprintPlane(const std::string& shaderName);
  // The entity manager's resource path, put before model and shader names.
  std::string PathPrefix();
  // A data table's text from the resource path; false (logged) when it
  // cannot be read.
  bool ReadTableText(const std::string& fileName, std::string* text);

  // --- State the other parts read ------------------------------------------
  uint8_t modelUseFlag = 0;
  float timeAccumulator = 0.0f;
  uint8_t demolishMode = 0;
  uint8_t technologyFlags[kTechnologyFlagCount] = {1};
  TypeWordGroup typeWordGroups[kTechnologyFlagCount];
  std::vector<BOInstance*> terminals;
  std::vector<RunwayInstance*> runways;
  std::vector<AmenityInstance*> amenities;
  std::vector<AdminInstance*> adminBuildings;
  std::vector<ServiceInstance*> maintenanceServices;
  std::vector<OrgInstance*> controlTowers;
  std::vector<BOInstance*> placed;
  std::vector<BOInstance*> statusGroups[kStatusGroupCount];
  C3DModel* statusModels[kStatusGroupCount] = {};
  std::vector<TerminalItem*> terminalObjects[kTerminalObjectGroups];  // owned
  float baseRateOfDecay = kDefaultDecayRate;
  float decayFactor = 1.0f;
  uint32_t decayCounter = 0;
  uint8_t loading = 0;
  uint8_t buildTimeMode = 1;
  // True once the airport has been found functional; see cBuildableObject.
  uint8_t airportFunctional = 0;
  BuildingHooks hooks;

 private:
  // Restores one record (already checked); advances the reader.
  void RestoreRecord(ByteReader& in, std::vector<RunwayInstance*>& restoredRunways);
  void WriteRecord(SaveRecordWriter& out, BOInstance* instance);
  void RestoreTechnology(ByteReader& in);
  void NewGameTechnology();
  void DeleteTypes();

  cKV9_GlobalWrapper* table_ = nullptr;
  std::vector<std::string> classNames_;
  std::vector<std::string> typeNames_[kBuildingClassCount];
  std::vector<BOLevels> types_[kBuildingClassCount];
  std::vector<std::string> categories_;
  uint16_t categoryCounts_[kCategoryCount] = {};
  BOInstance* placement_ = nullptr;
};
