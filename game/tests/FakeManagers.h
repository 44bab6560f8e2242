#pragma once
// Fakes of the managers other parts of the program build, registered as
// spawns under their real spawn names: each records its calls (and the
// loading text current when it was made) in one shared log, answers what the
// test set, and is a render and time item so the services it joins can be
// seen.
#include <memory>
#include <string>
#include <vector>

#include "engine/entity/SpawnBase.h"
#include "engine/frame/RenderServiceItem.h"
#include "engine/frame/TimeService.h"
#include "game/WorldPartOps.h"
#include "simulation/tests/kit/KitFakes.h"

namespace gametest {

// The shared log and the failures the test asks for, by spawn name.
struct FakeLog {
  std::vector<std::string> calls;
  std::vector<std::string> failSetUp;  // spawn names whose marked set-up fails
  std::string (*loadingText)() = nullptr;

  bool Fails(const std::string& spawn) const {
    for (const std::string& s : failSetUp) {
      if (s == spawn) return true;
    }
    return false;
  }
  void Add(const std::string& call) { calls.push_back(call); }
};
FakeLog& Log();

// Both item kinds, so a test sees which services the manager joined.
class Observed : public cRenderServiceItem, public TimeServiceItem {};

#define GAMETEST_MADE(name) Log().Add(std::string("made ") + name + " at " + (Log().loadingText ? Log().loadingText() : ""))

class LScenario : public simkit::FakeScenario, public ScenarioOps {
 public:
  static constexpr const char* kSpawn = "SPN::KV9:SCENARIO";
  explicit LScenario(cEntity_Manager* m) : FakeScenario(m, kEntityType_Base) { GAMETEST_MADE(kSpawn); }
  uint8_t GetProgressDisplay() override { return progress; }
  void SetProgressDisplay(uint8_t on) override { progress = on; }
  void SetLoadingFlag(uint8_t on) override { Log().Add("scenario loading " + std::to_string(on)); }
  void PrepareNewGameTerrain(const std::string& map) override { Log().Add("scenario terrain '" + map + "'"); }
  CoreStatus BuildTerrainAndInterface(bool inGame) override {
    Log().Add(std::string("scenario build ") + (inGame ? "in game" : "new"));
    return buildFails ? status::Fail : status::Ok;
  }
  CoreStatus LoadFromFile(const std::string& name, bool) override {
    Log().Add("scenario load " + name);
    return loadFails ? status::Fail : status::Ok;
  }
  std::string GetMusic() const override { return music; }
  CoreStatus Start() override {
    Log().Add("scenario Start");
    return status::Ok;
  }
  CoreStatus Stop() override {
    Log().Add("scenario Stop");
    return status::Ok;
  }
  uint8_t progress = 0;
  bool buildFails = false;
  bool loadFails = false;
  std::string music;
};

class LTerrain : public cEntity_Base, public Observed, public TerrainManagerOps {
 public:
  static constexpr const char* kSpawn = "SPN::KV9:TERRAIN:MANAGER";
  explicit LTerrain(cEntity_Manager* m) : cEntity_Base(m, kEntityType_Base) { GAMETEST_MADE(kSpawn); }
  CoreStatus InitTerrain() override {
    Log().Add("terrain InitTerrain");
    return Log().Fails(kSpawn) ? status::Fail : status::Ok;
  }
  CoreStatus BuildWorld() override {
    Log().Add("terrain BuildWorld");
    return status::Ok;
  }
  void StopTerrain() override { Log().Add("terrain Stop"); }
};

class LRoads : public simkit::FakeRoads, public Observed, public RoadManagerOps {
 public:
  static constexpr const char* kSpawn = "SPN::KV9:ROAD:MANAGER";
  explicit LRoads(cEntity_Manager* m) : FakeRoads(m, kEntityType_Base) { GAMETEST_MADE(kSpawn); }
  CoreStatus LoadMaterials() override {
    Log().Add("roads LoadMaterials");
    // Its result is not looked at: a failure here must not stop loading.
    return status::Fail;
  }
  CoreStatus BuildWorld() override {
    Log().Add("roads BuildWorld");
    return status::Ok;
  }
  CoreStatus Clear() override {
    Log().Add("roads Clear");
    return status::Ok;
  }
  C3DModel* TakeRoadModel() override { return nullptr; }
  cAlphaUpdatee* GetAlphaUpdatee() override { return nullptr; }
  float GetEdgeEntryHeading() override { return -90.0f; }
};

class LTaxiways : public cEntity_Base, public Observed, public TaxiwayManagerOps {
 public:
  static constexpr const char* kSpawn = "SPN::KV9:TAXIWAY:MANAGER";
  explicit LTaxiways(cEntity_Manager* m) : cEntity_Base(m, kEntityType_Base) { GAMETEST_MADE(kSpawn); }
  CoreStatus BuildWorld() override {
    Log().Add("taxiways BuildWorld");
    return status::Ok;
  }
  CoreStatus Clear() override {
    Log().Add("taxiways Clear");
    return status::Ok;
  }
};

// The plot and the building manager are render-service items themselves.
class LPlot : public simkit::FakePlot, public TimeServiceItem, public GamePlotOps {
 public:
  static constexpr const char* kSpawn = "SPN::KV9:GAMEPLOT";
  explicit LPlot(cEntity_Manager* m) : FakePlot(m, kEntityType_Base) { GAMETEST_MADE(kSpawn); }
  CoreStatus BuildWorld() override {
    Log().Add("plot BuildWorld");
    return status::Ok;
  }
  CoreStatus ClearWorld() override {
    Log().Add("plot ClearWorld");
    return status::Ok;
  }
  void SetPlacement(uint8_t on) override { Log().Add("plot placement " + std::to_string(on)); }
  void SetGridSize(int32_t cells, int32_t second) override {
    Log().Add("plot grid " + std::to_string(cells) + " " + std::to_string(second));
  }
  void OnCursorMessageA() override { Log().Add("plot cursor A"); }
  void OnCursorMessageB() override { Log().Add("plot cursor B"); }
  float GetExtent() override { return extent; }
  void SetZoomLevel(int32_t level) override { zoomLevel = level; }
  cCore_Base_InputSocket* GetPlacementHandler() override { return nullptr; }
  void SetGameViewActive(bool active) override { Log().Add(std::string("plot game view ") + (active ? "on" : "off")); }
  void BuildFenceMesh() override { Log().Add("plot fence"); }
  void BuildRoadLeadInMesh() override { Log().Add("plot lead-in"); }
  bool WorldToCell(float, float, int32_t*, int32_t*) override { return false; }
  float extent = 0.8f;
  int32_t zoomLevel = 0;
};

class LAmbient : public cEntity_Base, public Observed, public AmbientManagerOps {
 public:
  static constexpr const char* kSpawn = "SPN::KV9:AMBIENTMANAGER";
  explicit LAmbient(cEntity_Manager* m) : cEntity_Base(m, kEntityType_Base) { GAMETEST_MADE(kSpawn); }
  CoreStatus LoadSettings() override {
    Log().Add("ambient LoadSettings");
    return Log().Fails(kSpawn) ? status::Fail : status::Ok;
  }
  CoreStatus RegisterAndRestore() override {
    Log().Add("ambient RegisterAndRestore");
    return status::Ok;
  }
  CoreStatus Clear() override {
    Log().Add("ambient Clear");
    return status::Ok;
  }
};

class LBuildings : public simkit::FakeBuildings, public TimeServiceItem, public BuildingManagerOps {
 public:
  static constexpr const char* kSpawn = "SPN::KV9:BUILDINGMANAGER";
  explicit LBuildings(cEntity_Manager* m) : FakeBuildings(m, kEntityType_Base) { GAMETEST_MADE(kSpawn); }
  CoreStatus LoadDataTables() override {
    Log().Add("buildings LoadDataTables");
    return status::Fail;  // not looked at
  }
  CoreStatus RelinkAfterLoad() override {
    Log().Add("buildings RelinkAfterLoad");
    return status::Ok;
  }
  CoreStatus Reset() override {
    Log().Add("buildings Reset");
    return status::Ok;
  }
  void ApplyTornadoDamage(const JVector&) override { Log().Add("buildings tornado"); }
  void OnCursorMessageA() override { Log().Add("buildings cursor A"); }
  void OnCursorMessageB() override { Log().Add("buildings cursor B"); }
  bool IsPlacing() override { return placing; }
  bool GetBuildingTop(int32_t, int32_t, float*) override { return false; }
  bool placing = false;
};

class LWeather : public simkit::FakeWeather, public Observed, public WeatherManagerOps {
 public:
  static constexpr const char* kSpawn = "SPN::KV9:WEATHERMANAGER";
  explicit LWeather(cEntity_Manager* m) : FakeWeather(m, kEntityType_Base) { GAMETEST_MADE(kSpawn); }
  // The entity's own Init(definition) stays callable beside the manager's Init().
  using FakeWeather::Init;
  CoreStatus Init() override {
    Log().Add("weather Init");
    return Log().Fails(kSpawn) ? status::Fail : status::Ok;
  }
  CoreStatus Start() override {
    Log().Add("weather Start");
    return status::Ok;
  }
  CoreStatus Stop() override {
    Log().Add("weather Stop");
    return status::Ok;
  }
  void ResetLighting() override { Log().Add("weather white light"); }
  void ApplyLighting() override { Log().Add("weather light"); }
  const JVector* GetWind() override { return &wind; }
  JVector wind{1.0f, 0.0f, 0.5f};
};

class LAirport : public simkit::FakeAirport, public Observed, public StartStopOps {
 public:
  static constexpr const char* kSpawn = "SPN::KV9:AIRPORTMANAGER";
  explicit LAirport(cEntity_Manager* m) : FakeAirport(m, kEntityType_Base) { GAMETEST_MADE(kSpawn); }
  CoreStatus Init() override {
    Log().Add("airport Init");
    return Log().Fails(kSpawn) ? status::Fail : status::Ok;
  }
  CoreStatus Start() override {
    Log().Add("airport Start");
    return status::Ok;
  }
  CoreStatus Stop() override {
    Log().Add("airport Stop");
    return status::Ok;
  }
};

#undef GAMETEST_MADE

template <typename T>
class FakeSpawn : public cSpawn_Base {
 public:
  FakeSpawn() : cSpawn_Base(T::kSpawn) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new T(creator);
  }
};

// Every fake's spawn, in loading order.
std::vector<std::unique_ptr<cSpawn_Base>> MakeFakeSpawns();

}  // namespace gametest
