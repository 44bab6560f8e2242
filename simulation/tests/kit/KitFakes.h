#pragma once
// Fakes of the simulation's neighbours: scenario, weather, land plot, road
// grid and a building manager with configurable types and instances.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/StringUtil.h"
#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "construction/RoadManager.h"
#include "construction/TaxiwayAccessNodes.h"
#include "construction/TerminalItem.h"
#include "simulation/AirportManager.h"
#include "simulation/GameScenario.h"
#include "simulation/WeatherManager.h"

namespace simkit {

class FakeScenario : public cEntity_GameScenario {
 public:
  using cEntity_GameScenario::cEntity_GameScenario;
  uint32_t GetPopulation() override { return population; }
  uint8_t GetContinent() override { return continent; }
  float GetLandPrice() override { return landPrice; }
  std::string GetPlotTexture() override { return {}; }
  bool WorldToCell(float, float, uint16_t*, uint16_t*) override { return false; }
  void SetScenarioBlob(const uint8_t* bytes, uint32_t size) override {
    picture.assign(bytes, bytes ? bytes + size : bytes);
    calls.push_back("picture " + std::to_string(size));
  }
  CoreStatus SaveGame(const std::string& name) override {
    calls.push_back("save " + name);
    return 0;
  }
  void ShowWinScreen() override { calls.push_back("win"); }
  void ShowLoseScreen() override { calls.push_back("lose"); }

  uint32_t population = 1000000;
  float landPrice = 25000.0f;
  uint8_t continent = 0;
  std::vector<uint8_t> picture;
  std::vector<std::string> calls;
};

class FakeWeather : public cEntity_WeatherManager {
 public:
  using cEntity_WeatherManager::cEntity_WeatherManager;
  void StartBlizzard(uint8_t quiet) override { blizzards.push_back(quiet); }
  uint32_t GetFlightDelay() override { return 0; }
  std::vector<uint8_t> blizzards;
};

// A plot of width x height cells (every cell owned and empty unless told
// otherwise) with the cell marking rule of the real plot, unit cells placed
// from the world origin, and a mini-map of one pixel per 5 x 5 cells.
class FakePlot : public cEntity_GamePlot {
 public:
  FakePlot(cEntity_Manager* manager, uint32_t typeWord, uint16_t cellsAcross = 64)
      : cEntity_GamePlot(manager, typeWord) {
    Resize(cellsAcross);
  }
  // A fresh square plot of that many cells a side, all owned and empty.
  void Resize(uint16_t cellsAcross) {
    width = height = cellsAcross;
    cells.assign(size_t{width} * height, PlotCell{0xFF, nullptr});
    miniMap.assign(static_cast<size_t>(width / 5) * static_cast<size_t>(height / 5), 0);
  }
  float GetGroundHeight() override { return groundHeight; }
  float GetOriginY() override { return groundHeight; }
  uint16_t GetWidth() override { return width; }
  uint16_t GetHeight() override { return height; }
  float GetCellSize() override { return 1.0f; }
  bool GetCellWorldRect(uint16_t cx, uint16_t cz, float* x0, float* z0, float* x1, float* z1, bool) override {
    if (cx >= width || cz >= height) return false;
    *x0 = cx;
    *z0 = cz;
    *x1 = cx + 1.0f;
    *z1 = cz + 1.0f;
    return true;
  }
  uint32_t GetCellWord(uint32_t index) override { return index < cells.size() ? cells[index].content : 0; }
  PlotCell* GetCellRecord(uint32_t index) override { return index < cells.size() ? &cells[index] : nullptr; }
  void SetCell(uint32_t index, uint32_t value, uint32_t clearMask, bool reset, void* object, bool setObject) override {
    if (index >= cells.size()) return;
    uint32_t& c = cells[index].content;
    c = reset ? 0 : c & ~clearMask;
    if (c == 0 || (c & ~0xFu) >= 208) c |= value;
    if (setObject) cells[index].object = object;
  }
  void MarkCellRect(uint32_t start, uint16_t w, uint16_t h, uint32_t value, uint32_t clearMask, bool reset,
                    void* object, bool setObject) override {
    for (uint32_t row = 0; row < h; ++row) {
      for (uint32_t col = 0; col < w; ++col) SetCell(start + row * width + col, value, clearMask, reset, object, setObject);
    }
  }
  uint32_t GetPaletteColour(uint8_t index) override { return 0xFF000000u | index; }
  uint32_t* GetMiniMapPixels() override { return miniMap.data(); }
  void BuildFenceMesh() override { ++fenceBuilds; }

  float groundHeight = 0.5f;
  uint16_t width = 0;
  uint16_t height = 0;
  std::vector<PlotCell> cells;
  std::vector<uint32_t> miniMap;
  int fenceBuilds = 0;
};

class FakeRoads : public cEntity_RoadManager {
 public:
  using cEntity_RoadManager::cEntity_RoadManager;
  bool IsConnectedRoadCell(int32_t x, int32_t y) override { return connected.count({x, y}) != 0; }
  std::set<std::pair<int32_t, int32_t>> connected;
};

class FakeInstance;

class FakeType : public cBuildableObject {
 public:
  uint32_t GetTypeWord() override { return classCode | (static_cast<uint32_t>(id) << 4) | (uint32_t{level} << 17); }
  uint8_t GetClass() override { return classCode; }
  uint16_t GetId() override { return id; }
  uint8_t GetLevel() override { return level; }
  std::string GetName() override { return name; }
  float GetBuildCost() override { return buildCost; }
  uint32_t GetBuildTime() override { return buildTime; }
  float GetMonthlyExpense() override { return monthlyExpense; }
  uint32_t GetTechLevel() override { return techLevel; }
  float GetSafetyRating() override { return safety; }
  float GetSecurityRating() override { return security; }
  float GetAestheticRating() override { return aesthetic; }
  float GetSatisfactionRating() override { return satisfaction; }
  float GetMonthlyIncome() override { return monthlyIncome; }
  uint32_t GetInstanceCount() override { return static_cast<uint32_t>(instances.size()); }
  BOInstance* GetInstance(uint32_t i) override;
  uint32_t GetOperatingInstanceCount() override;
  BOInstance* GetOperatingInstance(uint32_t i) override;
  void SetBusinessContract(cBusinessContract* contract) override { business = contract; }
  cBusinessContract* GetBusinessContract() override { return business; }

  uint8_t classCode = 1;
  uint16_t id = 0;
  uint8_t level = 1;
  std::string name = "Test Building";
  uint32_t techLevel = 0;
  cBusinessContract* business = nullptr;
  float buildCost = 1000.0f;
  uint32_t buildTime = 2;
  float monthlyExpense = 100.0f;
  float safety = 0.0f;
  float security = 0.0f;
  float aesthetic = 0.0f;
  float satisfaction = 0.0f;
  float monthlyIncome = 0.0f;
  std::vector<std::unique_ptr<FakeInstance>> instances;
};

// Every fake building can stand as a terminal; the others never see the
// terminal operations.
class FakeInstance : public TerminalInstance {
 public:
  explicit FakeInstance(FakeType* type) : type_(type) {}
  cBuildableObject* GetType() override { return type_; }
  bool IsFunctional() override { return functional; }
  float GetHealth() override { return health; }
  float GetSecondFactor() override { return secondFactor; }
  float GetCondition() override { return condition; }
  uint32_t GetConstructionTimeLeft() override { return constructionLeft; }
  uint32_t GetInteriorObjectCount() override { return static_cast<uint32_t>(interior.size()); }
  TerminalItem* GetInteriorObject(uint32_t i) override { return i < interior.size() ? &interior[i] : nullptr; }
  cContract* GetInteriorObjectContract(uint32_t i) override {
    return i < interiorContracts.size() ? interiorContracts[i] : nullptr;
  }
  void RemoveFlight(cFlightContract* flight) override {
    removedFlights.push_back(flight);
    if (onRemoveFlight) onRemoveFlight(flight);
  }
  // Runs when a flight leaves the terminal (the gate slots' keeper's hook).
  std::function<void(cFlightContract*)> onRemoveFlight;
  void AssignFlightToGate(cFlightContract* flight, uint8_t, uint8_t) override { gateFlights.push_back(flight); }
  std::vector<cFlightContract*> gateFlights;
  void RemoveTerminalItem(uint8_t x, uint8_t y) override {
    removedItems.emplace_back(x, y);
    if (onRemoveItem) onRemoveItem(x, y);
  }
  std::vector<std::pair<uint8_t, uint8_t>> removedItems;
  std::function<void(uint8_t, uint8_t)> onRemoveItem;
  void AddRoadConnection() override { ++roadConnections; }
  void AddTaxiwayConnection() override { ++taxiwayConnections; }
  void RemoveTaxiwayConnection() override { --taxiwayConnections; }
  void GetTaxiwayAccessCells(std::vector<TaxiwayAccessCell>& out) override { out = taxiwayAccess; }

  // Instance owners are kept by the building side; here the test sets them.
  cContract* owner = nullptr;
  std::vector<cContract*> interiorContracts;  // parallel to interior
  std::vector<cFlightContract*> removedFlights;
  bool functional = true;
  float health = 1.0f;
  float secondFactor = 1.0f;
  float condition = 10.0f;
  uint32_t constructionLeft = 0;
  uint32_t roadConnections = 0;
  int32_t taxiwayConnections = 0;
  std::vector<TaxiwayAccessCell> taxiwayAccess;
  std::vector<TerminalItem> interior;
  std::vector<RoadAccessCell> roadAccess;

 private:
  FakeType* type_;
};

inline BOInstance* FakeType::GetInstance(uint32_t i) { return i < instances.size() ? instances[i].get() : nullptr; }
inline uint32_t FakeType::GetOperatingInstanceCount() {
  uint32_t n = 0;
  for (auto& instance : instances) n += instance->functional ? 1 : 0;
  return n;
}
inline BOInstance* FakeType::GetOperatingInstance(uint32_t i) {
  for (auto& instance : instances) {
    if (instance->functional && i-- == 0) return instance.get();
  }
  return nullptr;
}

class FakeBuildings : public cEntity_BuildingManager {
 public:
  using cEntity_BuildingManager::cEntity_BuildingManager;

  // A new type at (class, id, level); owned here.
  FakeType* AddType(uint8_t classCode, uint16_t id, uint8_t level) {
    auto type = std::make_unique<FakeType>();
    type->classCode = classCode;
    type->id = id;
    type->level = level;
    FakeType* raw = type.get();
    types_[{classCode, id, level}] = std::move(type);
    return raw;
  }
  FakeInstance* Place(FakeType* type) {
    type->instances.push_back(std::make_unique<FakeInstance>(type));
    return type->instances.back().get();
  }

  cBuildableObject* GetBuildingType(uint8_t classCode, uint16_t id, uint8_t level) override {
    auto it = types_.find({classCode, id, level});
    return it == types_.end() ? nullptr : it->second.get();
  }
  uint16_t GetTypeIdCount(uint8_t classCode) override {
    uint16_t count = 0;
    for (auto& entry : types_) {
      if (std::get<0>(entry.first) == classCode && std::get<1>(entry.first) >= count)
        count = static_cast<uint16_t>(std::get<1>(entry.first) + 1);
    }
    return count;
  }
  bool GetTechFlag(uint32_t index) override { return index < 16 && techFlags[index]; }
  const std::vector<BOInstance*>& GetTerminals() override { return terminals; }
  void GetRoadAccessCells(BOInstance* instance, std::vector<RoadAccessCell>& out) override {
    out = static_cast<FakeInstance*>(instance)->roadAccess;
  }
  void ApplyEarthquakeDamage(int32_t magnitude) override { earthquakes.push_back(magnitude); }
  uint8_t CheckPlacementAt(int32_t x, int32_t y) override {
    const RoadAccessCell* access = FindAccess(x, y, nullptr);
    return access ? access->direction : 4;
  }
  BOInstance* FindInstanceByRoadCell(int32_t x, int32_t y) override {
    FakeInstance* owner = nullptr;
    FindAccess(x, y, &owner);
    return owner;
  }
  BOInstance* GetInstanceAt(int32_t x, int32_t y) override {
    auto it = standing.find({x, y});
    return it == standing.end() ? nullptr : it->second;
  }
  void RecountConnections() override { ++recounts; }
  // The building on each cell, as the test places them.
  std::map<std::pair<int32_t, int32_t>, FakeInstance*> standing;
  int recounts = 0;

  uint16_t FindTypeIndexByName(uint8_t classCode, const std::string& name) override {
    std::vector<std::string>& names = typeNames_[classCode];
    for (size_t i = 0; i < names.size(); ++i) {
      if (EqualNoCase(names[i], name)) return static_cast<uint16_t>(i);
    }
    names.push_back(name);
    return static_cast<uint16_t>(names.size() - 1);
  }
  // A type named `name` at (class, level), its id taken from the name.
  FakeType* AddNamedType(uint8_t classCode, const std::string& name, uint8_t level) {
    FakeType* type = AddType(classCode, FindTypeIndexByName(classCode, name), level);
    type->name = name;
    return type;
  }
  TerminalItem* FindTerminalObject(const std::string& name) override {
    for (auto& item : terminalObjects) {
      if (EqualNoCase(item->name, name)) return item.get();
    }
    return nullptr;
  }
  TerminalInstance* FindTerminalInstanceOfType(uint32_t word) override {
    for (BOInstance* terminal : terminals) {
      if (terminal->GetType()->GetTypeWord() == word) return static_cast<FakeInstance*>(terminal);
    }
    return nullptr;
  }
  uint32_t CountInstancesOfType(uint32_t word, cContract* contract) override {
    const uint8_t classCode = word & 0xF;
    const uint16_t id = (word >> 4) & 0x1FFF;
    uint32_t n = 0;
    for (uint8_t level = (word >> 17) & 7; level < kBuildingLevelCount; ++level) {
      auto it = types_.find({classCode, id, level});
      if (it == types_.end()) continue;
      for (auto& instance : it->second->instances) n += instance->functional && instance->owner == contract ? 1 : 0;
    }
    return n;
  }
  uint32_t CountInstancesFromLevel1(uint32_t word, cContract* contract) override {
    if (((word >> 4) & 0x1FFF) >= GetTypeIdCount(word & 0xF)) return 0;
    return CountInstancesOfType((word & 0x1FFFF) | (1u << 17), contract);
  }
  uint32_t CountInstancesFromLevel1B(uint32_t word, cContract* contract) override {
    return CountInstancesFromLevel1(word, contract);
  }
  uint32_t CountClassInstances(uint32_t word, cContract* contract) override {
    uint32_t n = 0;
    const uint16_t ids = GetTypeIdCount(word & 0xF);
    for (uint16_t id = 0; id < ids; ++id) n += CountInstancesFromLevel1((word & 0xF) | (uint32_t{id} << 4), contract);
    return n;
  }
  uint32_t CountClassInstancesB(uint32_t word, cContract* contract) override {
    return CountClassInstances(word, contract);
  }
  void RemoveInstance(BOInstance* instance) override {
    auto* type = static_cast<FakeType*>(instance->GetType());
    for (auto it = type->instances.begin(); it != type->instances.end(); ++it) {
      if (it->get() == instance) {
        if (onRemove) onRemove(instance);
        type->instances.erase(it);
        return;
      }
    }
  }
  // Runs before a removed instance is deleted (the demolition's hook).
  std::function<void(BOInstance*)> onRemove;
  void ReleaseContractBuildings(cContract* contract) override {
    if (!contract) return;
    released.push_back(contract);
    for (auto& entry : types_) {
      for (auto& instance : entry.second->instances) {
        if (instance->owner == contract) instance->owner = nullptr;
      }
    }
  }

  // The operations of the parts that complete the manager: answered
  // inertly; the simulation tests never reach them.
  int32_t OnTime(uint32_t, uint32_t, uint32_t, float) override { return 0; }
  bool LoadBaseBuildings(const std::string&) override { return true; }
  bool LoadTerminalObjects(const std::string&) override { return true; }
  bool LoadAmbientVehicles(const std::string&) override { return true; }
  void SetUpStatusModels() override {}
  C3DModel* BuildFootprintPlane(const std::string&) override { return nullptr; }
  BOInstance* SelectBuildingType(uint8_t, uint16_t, uint8_t) override { return nullptr; }
  bool CanPlaceAt(BOInstance*, uint16_t, uint16_t) override { return false; }
  void FinishPlacement(BOInstance*, uint8_t) override {}
  void SetUpRestoredInstance(BOInstance*) override {}
  void LinkRestoredInstance(BOInstance*) override {}
  void OnRestoredRunwayOrTerminal(BOInstance*) override {}
  void OnRestoredAdmin(AdminInstance*) override {}
  void SetUpRunways(const std::vector<RunwayInstance*>&) override {}
  void RefreshRunwayStates() override {}
  void UpdateInstanceParticles(BOInstance*, bool) override {}
  void UpdateInstanceFireIcon(BOInstance*, bool) override {}
  void UpdateInstanceBreakdownIcon(BOInstance*, bool) override {}
  bool PlayDefaultAnimation(BOInstance*, uint8_t*) override { return false; }
  void AddModelUse(BOInstance*, uint8_t) override {}
  void RemoveModelUse(BOInstance*) override {}
  void NotifyTypeAvailable(OID, bool) override {}

  bool techFlags[16] = {true};
  std::vector<std::unique_ptr<TerminalItem>> terminalObjects;
  std::vector<BOInstance*> terminals;
  std::vector<int32_t> earthquakes;
  std::vector<cContract*> released;

 private:
  static bool EqualNoCase(const std::string& a, const std::string& b) { return str::EqualsNoCase(a, b); }

  // The road access point on (x, y) of any placed building.
  const RoadAccessCell* FindAccess(int32_t x, int32_t y, FakeInstance** owner) {
    for (auto& entry : types_) {
      for (auto& instance : entry.second->instances) {
        for (const RoadAccessCell& access : instance->roadAccess) {
          if (access.x != x || access.y != y) continue;
          if (owner) *owner = instance.get();
          return &access;
        }
      }
    }
    return nullptr;
  }

  std::map<std::tuple<uint8_t, uint16_t, uint8_t>, std::unique_ptr<FakeType>> types_;
  std::map<uint8_t, std::vector<std::string>> typeNames_;
};

// The airport's traffic history and fee prices as set; flight lists kept per
// number so tests see every join and leave.
class FakeAirport : public cEntity_AirportManager {
 public:
  using cEntity_AirportManager::cEntity_AirportManager;

  uint32_t GetTraffic() override { return trafficToday; }
  uint32_t GetTrafficHistory(uint32_t index) override { return index < 10 ? traffic[index] : 0; }
  float GetFeePrice(uint32_t item) override { return item < 18 ? prices[item] : 0.0f; }
  bool PlacePassengerFlight(cFlightContract* flight) override {
    if (!placeFlights) return false;
    placed.push_back(flight);
    return true;
  }
  bool PlaceCargoFlight(cFlightContract* flight) override {
    if (!placeFlights) return false;
    placed.push_back(flight);
    return true;
  }
  void AddPassengerFlight(uint8_t list, cFlightContract* flight) override { passengerLists[list].push_back(flight); }
  void RemovePassengerFlight(uint8_t list, cFlightContract* flight) override { Remove(passengerLists[list], flight); }
  void AddStorageFlight(uint8_t list, cFlightContract* flight) override { storageLists[list].push_back(flight); }
  void RemoveStorageFlight(uint8_t list, cFlightContract* flight) override { Remove(storageLists[list], flight); }
  void ClearStorageSlot(uint32_t word, uint8_t slot) override { clearedSlots.emplace_back(word, slot); }

  uint32_t trafficToday = 0;
  uint32_t traffic[10] = {};
  float prices[18] = {50, 100, 150, 200, 250, 50, 100, 150, 200, 250, 300, 3, 2, 250, 50, 2, 100, 100};
  bool placeFlights = true;
  std::vector<cFlightContract*> placed;
  std::map<uint8_t, std::vector<cFlightContract*>> passengerLists;
  std::map<uint8_t, std::vector<cFlightContract*>> storageLists;
  std::vector<std::pair<uint32_t, uint8_t>> clearedSlots;

 private:
  static void Remove(std::vector<cFlightContract*>& list, cFlightContract* flight) {
    for (auto it = list.begin(); it != list.end(); ++it) {
      if (*it == flight) {
        list.erase(it);
        return;
      }
    }
  }
};

}  // namespace simkit
