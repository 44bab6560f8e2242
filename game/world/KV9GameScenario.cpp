#include "game/world/KV9GameScenario.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <new>

#include "engine/files/Serializer.h"
#include "game/world/SaveGameFile.h"
#include "game/world/ScenarioHost.h"
#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"

SaveRecordSlot SaveRecordSlotOf(cSerialized_Object* object) {
  if (!object) return {};
  return {[object](SerialBlock* bytes, uint32_t* n) { return object->Save(bytes, n); },
          [object](const uint8_t* bytes, uint32_t n) { return object->LoadFromBlob(bytes, n); }};
}

TerrainParams NewGameTerrainParams(const _LocationRecord& location) {
  TerrainParams p;
  p.width = cKV9_GameScenario::kTerrainSize;
  p.height = cKV9_GameScenario::kTerrainSize;
  p.seed = location.seed;
  for (int i = 0; i < 4; ++i) p.corners[i] = location.cornerSeeds[i];
  p.minimum = 0.0f;
  p.maximum = 1.0f;
  p.roughness = 0.6f;
  return p;
}

cKV9_GameScenario::cKV9_GameScenario(cEntity_Manager* manager, ScenarioHost* host)
    : cEntity_GameScenario(manager, kEntityType_Base), host_(host) {
  params_.seed = static_cast<int32_t>(platform::WallClockSeconds());
  continents_ = {"North America", "South America", "Africa", "Asia", "Europe", "Australia/Oceania"};
  LoadLocations();
  current_ = -1;
  loading = false;
}

cKV9_GameScenario::~cKV9_GameScenario() = default;

CoreStatus cKV9_GameScenario::Exit() {
  Stop();
  return status::Ok;
}

CoreStatus cKV9_GameScenario::Start() {
  if (host_) host_->EnterScenarioView(host_->IsCameraFixedView());
  return status::Ok;
}

CoreStatus cKV9_GameScenario::Stop() {
  heights_.reset();
  scenarioBlob_.reset();
  scenarioBlobSize_ = 0;
  return status::Ok;
}

void cKV9_GameScenario::PrepareNewGameTerrain(const std::string& mapName) {
  if (!mapName.empty()) {
    SetMapName(mapName);
    return;
  }
  ClearMapName();
  const _LocationRecord* location = GetCurrentLocation();
  if (!location) {
    platform::DebugPrintf("[cEntity_GameScenario::PrepareNewGameTerrain] no location is selected\n");
    return;
  }
  SetTerrainParams(NewGameTerrainParams(*location));
}

// Locations

void cKV9_GameScenario::LoadLocations() {
  if (!host_) return;
  LoadLocationFolder(host_->LocationsDirectory(), &locations_);
}

const _LocationRecord* cKV9_GameScenario::GetCurrentLocation() const {
  if (current_ < 0 || static_cast<size_t>(current_) >= locations_.size()) return nullptr;
  return locations_[static_cast<size_t>(current_)].get();
}

bool cKV9_GameScenario::SelectLocationByName(const std::string& name, uint8_t continent) {
  for (size_t i = 0; i < locations_.size(); ++i) {
    const _LocationRecord& record = *locations_[i];
    if (record.continent != continent || record.name != name) continue;
    current_ = static_cast<int32_t>(i);
    if (host_) host_->SetClimate(record.climate.get(), record.hazards);
    return true;
  }
  return false;
}

bool cKV9_GameScenario::SelectLocation(const std::string& name, const std::string& continentName) {
  uint8_t index = 0xFF;
  for (size_t i = 0; i < continents_.size(); ++i)
    if (continents_[i] == continentName) index = static_cast<uint8_t>(i);
  return SelectLocationByName(name, index);
}

void cKV9_GameScenario::GetLocationsOfContinent(const std::string& continentName,
                                                std::vector<_LocationRecord*>* out) const {
  if (!out) return;
  uint8_t index = 0xFF;
  for (size_t i = 0; i < continents_.size(); ++i)
    if (continents_[i] == continentName) index = static_cast<uint8_t>(i);
  for (const auto& record : locations_)
    if (record->continent == index) out->push_back(record.get());
}

bool cKV9_GameScenario::HasLocation(uint8_t continent, const std::string& name) const {
  for (const auto& record : locations_)
    if (record->continent == continent && record->name == name) return true;
  return false;
}

void cKV9_GameScenario::GetContinentAngles(uint8_t continent, float* a, float* b, float* c) const {
  static constexpr float kAngles[6] = {5.7595868f, 5.2359877f, 3.6651917f, 2.6179938f, 3.4033920f, 1.5707964f};
  if (continent >= 6 || !a || !b || !c) return;
  *a = 0.0f;
  *b = kAngles[continent];
  *c = 0.0f;
}

uint8_t cKV9_GameScenario::GetContinent() {
  const _LocationRecord* record = GetCurrentLocation();
  return record ? record->continent : 0xFF;
}

std::string cKV9_GameScenario::GetLocationDescription() const {
  const _LocationRecord* r = GetCurrentLocation();
  return r ? r->description : std::string();
}
std::string cKV9_GameScenario::GetLocationName() const {
  const _LocationRecord* r = GetCurrentLocation();
  return r ? r->name : std::string();
}
std::string cKV9_GameScenario::GetMusic() const {
  const _LocationRecord* r = GetCurrentLocation();
  return r ? r->music : std::string();
}
std::string cKV9_GameScenario::GetSoundLoop() const {
  const _LocationRecord* r = GetCurrentLocation();
  return r ? r->soundLoop : std::string();
}
int32_t cKV9_GameScenario::GetPopulationOfLocation() const {
  const _LocationRecord* r = GetCurrentLocation();
  return r ? r->population : 0;
}
uint32_t cKV9_GameScenario::GetPopulation() { return static_cast<uint32_t>(GetPopulationOfLocation()); }
uint32_t cKV9_GameScenario::GetHazards() const {
  const _LocationRecord* r = GetCurrentLocation();
  return r ? r->hazards : 0;
}
uint8_t cKV9_GameScenario::GetDomesticFlights() const {
  const _LocationRecord* r = GetCurrentLocation();
  return r ? r->domesticFlights : 0;
}
uint8_t cKV9_GameScenario::GetInternationalFlights() const {
  const _LocationRecord* r = GetCurrentLocation();
  return r ? r->internationalFlights : 0;
}
float cKV9_GameScenario::GetLandPrice() {
  const _LocationRecord* r = GetCurrentLocation();
  return r ? r->landPrice : 0.0f;
}
std::string cKV9_GameScenario::GetPlotTexture() {
  const _LocationRecord* r = GetCurrentLocation();
  return r ? r->plotTexture : std::string();
}
const std::vector<std::string>* cKV9_GameScenario::GetTerrainTextures() const {
  const _LocationRecord* r = GetCurrentLocation();
  return r ? &r->terrainTextures : nullptr;
}

bool cKV9_GameScenario::WorldToCell(float x, float z, uint16_t* cellX, uint16_t* cellZ) {
  if (!host_ || !cellX || !cellZ) return false;
  const float width = host_->PlotWorldWidth();
  const float cell = host_->PlotCellSize();
  const float u = x + width / 2.0f;
  const float v = z + width / 2.0f;
  if (!(u >= 0.0f && u < width && v >= 0.0f && v < width) || !(cell > 0.0f)) return false;
  const float cx = u / cell;
  const float cz = v / cell;
  if (cx >= 65536.0f || cz >= 65536.0f) return false;
  *cellX = static_cast<uint16_t>(cx);
  *cellZ = static_cast<uint16_t>(cz);
  return true;
}

// Blob and texts

void cKV9_GameScenario::SetScenarioBlob(const uint8_t* bytes, uint32_t size) {
  SerialBlock copy;
  if (bytes && size) {
    copy.reset(new (std::nothrow) uint8_t[size]);
    if (!copy) size = 0;
    else std::memcpy(copy.get(), bytes, size);
  } else {
    size = 0;
  }
  TakeScenarioBlob(std::move(copy), size);
}

void cKV9_GameScenario::TakeScenarioBlob(SerialBlock bytes, uint32_t size) {
  scenarioBlob_ = std::move(bytes);
  scenarioBlobSize_ = scenarioBlob_ ? size : 0;
}

// World building

CoreStatus cKV9_GameScenario::BuildTerrainAndInterface(bool inGame) {
  if (!host_) return status::Fail;
  const CoreStatus gui = host_->LoadInGameInterface(inGame);
  if (status::Failed(gui)) return gui;
  if (status::Failed(GenerateTerrain(kTerrainSize))) return status::Fail;
  readout1_ = "$0.00";
  readout2_ = "$0.00";
  const std::vector<std::string>* textures = GetTerrainTextures();
  host_->PrepareWorldBuild(textures ? *textures : std::vector<std::string>{}, loading);
  host_->AdvanceProgress(20);
  return status::Ok;
}

CoreStatus cKV9_GameScenario::GenerateTerrain(int32_t size) {
  if (size < 1 || size > HeightFieldGenerator::kMaxSize) return status::Fail;
  const float extent = host_ ? host_->PlotExtent() : 0.8f;
  const float k = extent * 32.0f / 256.0f + 0.02f;
  const float lo[2] = {0.5f - k, 0.5f - k};
  const float hi[2] = {0.5f + k, 0.5f + k};
  if (!mapName_.empty()) {
    params_.width = size;
    params_.height = size;
  }
  // The buffer holds size x size cells: a block that asks for more rows or
  // columns than that has no room in it.
  if (params_.width != size || params_.height != size) {
    platform::DebugPrintf("[cEntity_GameScenario::GenerateTerrain] the terrain block asks for %d x %d cells, not %d\n",
                          params_.width, params_.height, size);
    return status::Fail;
  }
  heights_.reset(new (std::nothrow) float[static_cast<size_t>(size) * static_cast<size_t>(size)]());
  if (!heights_) return status::Fail;
  float* buffer = heights_.get();
  CoreStatus result = generator_.Generate(&params_, &buffer);
  if (status::Failed(result)) return result;
  const float h = generator_.AverageHeight(&params_, &buffer, lo, hi);
  if (h == FLT_MAX) return status::Fail;
  result = generator_.FlattenRect(&params_, &buffer, lo, hi, h, 20, cKV9HFGen::kAllSides);
  if (status::Failed(result)) return result;
  if (host_) host_->SetPlotOriginY(h * kHeightScale);
  return status::Ok;
}

// Objective screens

void cKV9_GameScenario::ShowObjectiveScreen(const std::string& text, const std::string& title, bool quit,
                                            bool winLose) {
  if (host_) host_->ShowObjectiveScreen(text, title, quit, winLose);
}
void cKV9_GameScenario::ShowObjectives() { ShowObjectiveScreen(description_, "Objectives", true, false); }
void cKV9_GameScenario::ShowWinScreen() { ShowObjectiveScreen(winText_, "Win", false, true); }
void cKV9_GameScenario::ShowLoseScreen() { ShowObjectiveScreen(loseText_, "Lose", false, true); }

void cKV9_GameScenario::ShowMainMenu() {
  Stop();
  if (host_) host_->ShowMainMenu();
}

// The scenario record

bool cKV9_GameScenario::Save(SerialBlock* bytes, uint32_t* n) {
  ScenarioRecord record;
  record.params = params_;
  if (host_) {
    host_->StoreHomeView(record.homeView);
    record.fixedView = host_->IsCameraFixedView() ? 1 : 0;
  }
  const _LocationRecord* location = GetCurrentLocation();
  record.continent = location ? location->continent : 0;
  record.locationName = location ? location->name : std::string();
  record.scenarioFile = isScenarioFile ? 1 : 0;
  record.description = description_;
  record.winText = winText_;
  record.loseText = loseText_;
  if (blob_ && blobSize_) record.trailing.assign(blob_.get(), blob_.get() + blobSize_);
  return record.Encode(bytes, n);
}

bool cKV9_GameScenario::LoadFromBlob(const uint8_t* bytes, uint32_t n) {
  ScenarioRecord record;
  std::string why;
  if (!record.Decode(bytes, n, &why)) {
    platform::DebugPrintf("[cEntity_GameScenario::Load] %s\n", why.c_str());
    return false;
  }
  return ApplyRecord(record);
}

bool cKV9_GameScenario::ApplyRecord(const ScenarioRecord& record) {
  if (!HasLocation(record.continent, record.locationName)) return false;
  params_ = record.params;
  params_.displacement = nullptr;
  mapName_ = "Loaded map";
  if (host_) {
    host_->SetCameraFixedView(record.fixedView != 0);
    host_->SetHomeView(record.homeView);
  }
  SelectLocationByName(record.locationName, record.continent);
  isScenarioFile = isScenarioFile || record.scenarioFile != 0;
  SetDescription(record.description);
  SetWinText(record.winText);
  SetLoseText(record.loseText);
  FreeBlob();
  if (!record.trailing.empty()) {
    auto copy = std::make_unique<uint8_t[]>(record.trailing.size());
    std::memcpy(copy.get(), record.trailing.data(), record.trailing.size());
    SetBlob(std::move(copy), static_cast<uint32_t>(record.trailing.size()));
  }
  return true;
}
