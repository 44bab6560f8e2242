#pragma once
// Fakes of the simulation's neighbours: scenario, weather, land plot, road
// grid and a building manager with configurable types and instances.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "construction/RoadManager.h"
#include "construction/TerminalItem.h"
#include "game/GameScenario.h"
#include "game/WeatherManager.h"

namespace simkit {

class FakeScenario : public cEntity_GameScenario {
 public:
  using cEntity_GameScenario::cEntity_GameScenario;
  uint32_t GetPopulation() override { return population; }
  uint8_t GetContinent() override { return 0; }
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

class FakePlot : public cEntity_GamePlot {
 public:
  using cEntity_GamePlot::cEntity_GamePlot;
  float GetGroundHeight() override { return groundHeight; }
  float groundHeight = 0.5f;
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
  uint32_t GetTechLevel() override { return 0; }
  float GetSafetyRating() override { return safety; }
  float GetSecurityRating() override { return security; }
  float GetAestheticRating() override { return aesthetic; }
  float GetSatisfactionRating() override { return satisfaction; }
  float GetMonthlyIncome() override { return monthlyIncome; }
  uint32_t GetInstanceCount() override { return static_cast<uint32_t>(instances.size()); }
  BOInstance* GetInstance(uint32_t i) override;
  uint32_t GetOperatingInstanceCount() override;
  BOInstance* GetOperatingInstance(uint32_t i) override;

  uint8_t classCode = 1;
  uint16_t id = 0;
  uint8_t level = 1;
  std::string name = "Test Building";
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

class FakeInstance : public BOInstance {
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

  bool functional = true;
  float health = 1.0f;
  float secondFactor = 1.0f;
  float condition = 10.0f;
  uint32_t constructionLeft = 0;
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

  bool techFlags[16] = {};
  std::vector<BOInstance*> terminals;
  std::vector<int32_t> earthquakes;

 private:
  std::map<std::tuple<uint8_t, uint16_t, uint8_t>, std::unique_ptr<FakeType>> types_;
};

}  // namespace simkit
