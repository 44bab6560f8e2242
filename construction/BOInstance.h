#pragma once
// A placed building: its type, identity word, place and rotation on the
// grid, world matrix, functional state, condition, health and fire. Its
// type creates it; the building manager hooks it into its lists, drives it
// from the clock and deletes it.
#include <cstdint>
#include <string>
#include <vector>

#include "construction/OID.h"
#include "engine/math/JMatrix.h"

class cBuildableObject;
class cContract;
class cEntity_BuildingManager;
class cFlightContract;
class cKV9_GlobalWrapper;
struct FootprintRecord;
struct FootprintRect;
struct TaxiwayAccessCell;
struct TerminalItem;

class BOInstance {
 public:
  BOInstance() = default;
  virtual ~BOInstance() = default;
  BOInstance(const BOInstance&) = delete;
  BOInstance& operator=(const BOInstance&) = delete;

  // Copies the type's word, sets the full condition (level x 10) and clears
  // the functional flag.
  virtual void Init();
  virtual void CallTypeFootprintCells(FootprintRecord* out);
  virtual void CallTypeFootprintArray(uint8_t* count, FootprintRect** rects);
  // False while construction time is left; true without road access;
  // otherwise while the road-connection count is not zero.
  virtual bool IsFunctional();
  // Asked when a placement is committed; false cancels it.
  virtual bool OnOpen(cKV9_GlobalWrapper* table);
  // Brings the operating state up to date and stamps the date.
  virtual void UpdateStatus(cKV9_GlobalWrapper* table);
  // Plays the demolition effect and sound.
  virtual void Demolish(cKV9_GlobalWrapper* table);
  // The daily traffic at the clock's hour.
  virtual void UpdateAmbientTraffic(uint8_t hour, uint32_t ignored, cKV9_GlobalWrapper* table);
  virtual void SetOnFire(bool on, cKV9_GlobalWrapper* table);
  virtual void SetFireResponse(uint8_t fought) { fireFought = fought; }
  // Advances a fire that is being fought.
  virtual void UpdateEffects(uint32_t ignored, cKV9_GlobalWrapper* table);

  virtual cBuildableObject* GetType() { return type_; }
  virtual float GetHealth() { return health; }
  virtual float GetSecondFactor() { return secondFactor; }
  virtual float GetCondition() { return static_cast<float>(condition); }
  virtual uint32_t GetConstructionTimeLeft() { return constructionTimeLeft; }
  // Interior objects of a terminal (none for other buildings).
  virtual uint32_t GetInteriorObjectCount() { return 0; }
  virtual TerminalItem* GetInteriorObject(uint32_t) { return nullptr; }
  // The contract an interior object is dedicated to, or null.
  virtual cContract* GetInteriorObjectContract(uint32_t) { return nullptr; }
  // One more road (taxiway) link; at the first the functional state is
  // evaluated again and the type's operating list follows it.
  virtual void AddRoadConnection();
  virtual void AddTaxiwayConnection();
  // One fewer taxiway contact; the step from 1 to 0 evaluates the
  // functional state again.
  virtual void RemoveTaxiwayConnection();
  // The type's taxiway access rectangles, turned and moved to this place.
  virtual void GetTaxiwayAccessCells(std::vector<TaxiwayAccessCell>& out);

  // The path nodes of the access rectangles, in the path finder of the
  // manager's service table: added when a placement is finished (true when
  // the building has access rectangles), removed with the building.
  bool AddTaxiwayAccessNodes(cEntity_BuildingManager* manager);
  void RemoveTaxiwayAccessNodes(cEntity_BuildingManager* manager);

  // A positive value hides the damage icon; then the condition takes it.
  void SetCondition(int32_t value);
  // The monthly expense scaled by condition: full at full condition (and
  // for level 0, which has no condition scale).
  float GetConditionScaledExpense();
  // Health -= amount, held at 0; nothing once it is 0.
  void ReduceHealth(float amount);
  // True when the building is lost; otherwise keeps the shown-damaged flag.
  bool CheckDecay();
  // Compares IsFunctional with the flag and moves the instance in or out of
  // its type's operating list.
  void RefreshFunctional();

  void SetType(cBuildableObject* type) { type_ = type; }
  OID GetWord() const { return word; }
  // The service value that goes with a service level.
  static float ServiceValueOf(int32_t level) { return level == 0 ? 100.0f : level == 1 ? 300.0f : 500.0f; }

  int32_t serviceLevel = -1;
  float serviceValue = 0.0f;
  cContract* owner = nullptr;  // not owned
  int32_t condition = 0;
  std::string date;
  uint8_t kindMarker = 1;
  OID word = 0;
  JMatrix world = JMatrix::Identity();
  uint16_t x = 0;
  uint16_t y = 0;
  uint8_t rotation = 0;
  uint8_t functional = 0;
  float health = 1.0f;
  float secondFactor = 1.0f;
  uint16_t constructionTimeLeft = 0;
  uint8_t roadConnections = 0;
  uint8_t taxiwayConnections = 0;
  uint8_t trafficOut = 0;
  // Road vehicles (and their passengers) whose route crossed the building.
  uint32_t trafficCounter = 0;
  uint32_t spare = 0;
  uint8_t onFire = 0;
  uint8_t fireFought = 0;
  float burnLeft = 0.0f;
  float burnTotal = 45.0f;
  int32_t fireEffect = -1;                  // particle effect handle; -1 none
  uint8_t iconFlags[3] = {0, 0, 0};         // [1] breakdown
  // Where the status icon above the building is drawn (one per building,
  // shared by whichever icon it shows).
  JMatrix iconMatrix = JMatrix::Identity();
  uint8_t lowConditionDays = 0;  // consecutive days below half condition
  uint8_t discontent = 0;

 protected:
  cEntity_BuildingManager* Manager() const;
  // The fire and demolition point: world position plus the turned footprint
  // centre times the cell size.
  void EffectPoint(cKV9_GlobalWrapper* table, float* px, float* pz);
  // Starts a particle effect of that kind there, straight up; its handle or -1.
  int32_t StartEffect(cKV9_GlobalWrapper* table, int32_t kind);

  cBuildableObject* type_ = nullptr;
};

#include "construction/TerminalInstance.h"
