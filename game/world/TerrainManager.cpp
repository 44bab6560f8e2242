#include "game/world/TerrainManager.h"

#include <cmath>
#include <cstdlib>

#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DMesh.h"
#include "engine/services/C3DModel.h"
#include "engine/services/Core3D.h"
#include "game/world/Terrain.h"
#include "game/world/TerrainHost.h"
#include "game/world/TerrainSurface.h"
#include "platform/DebugOutput.h"

cEntity_TerrainManager::cEntity_TerrainManager(cEntity_Manager* manager, TerrainHost* host)
    : cEntity_Base(manager, kEntityType_Base), host_(host) {}

cEntity_TerrainManager::~cEntity_TerrainManager() { Exit(); }

CoreStatus cEntity_TerrainManager::Exit() {
  if (terrain_) {
    terrain_->Stop();
    terrain_->Exit();
    if (host_) host_->Destroy(terrain_);
    terrain_ = nullptr;
  }
  Core3D* renderer = host_ ? host_->Renderer() : nullptr;
  if (renderer) {
    for (Static& s : statics_)
      if (s.model) renderer->ReleaseResource(s.model);
    if (skyBox_) renderer->ReleaseResource(skyBox_);
    if (skyMaterial_) renderer->ReleaseResource(skyMaterial_);
  }
  statics_.clear();
  staticData_.clear();
  skyBox_ = nullptr;
  skyMaterial_ = nullptr;
  worldBuilt_ = false;
  return status::Ok;
}

CoreStatus cEntity_TerrainManager::InitTerrain() {
  if (!host_) return status::Fail;
  std::string option;
  if (host_->GetOption("graphics", "TextureSize", &option)) {
    // "512 512": both parts positive, the first is the side.
    const size_t blank = option.find(' ');
    const int first = std::atoi(option.substr(0, blank).c_str());
    const int second = blank == std::string::npos ? 0 : std::atoi(option.substr(blank + 1).c_str());
    if (first > 0 && second > 0) textureSize_ = first;
  }
  cEntity_Base* spawned = host_->Spawn(cEntity_Terrain::kSpawnName);
  terrain_ = dynamic_cast<cEntity_Terrain*>(spawned);
  if (!terrain_) {
    if (spawned) host_->Destroy(spawned);
    platform::DebugPrintf("[cEntity_TerrainManager::InitTerrain] no terrain entity\n");
    return status::Fail;
  }
  return BuildSkyBox();
}

uint32_t cEntity_TerrainManager::ComposedSide() const {
  uint32_t largest = 0;
  if (Core3D* renderer = host_ ? host_->Renderer() : nullptr) renderer->GetCapability(0, &largest);
  if (largest == 0) largest = 2048;
  if (textureSize_ <= 0) return largest;
  return std::min<uint32_t>(static_cast<uint32_t>(textureSize_), largest);
}

CoreStatus cEntity_TerrainManager::BuildWorld() {
  if (!terrain_ || status::Failed(terrain_->Build(textureNames_, ComposedSide()))) {
    platform::DebugPrintf("[cEntity_TerrainManager::BuildWorld] the terrain was not built\n");
    return status::Fail;
  }
  low_ = JVector(-640.0f, GetHeightAt(-64.0f, -64.0f), -640.0f);
  high_ = JVector(640.0f, GetHeightAt(64.0f, 64.0f), 640.0f);
  centre_ = JVector(0.0f, GetHeightAt(0.0f, 0.0f), 0.0f);
  host_->SetCameraTarget(centre_);
  terrain_->Start();
  worldBuilt_ = true;
  return status::Ok;
}

void cEntity_TerrainManager::ClearWorld() {
  if (terrain_) terrain_->Stop();
  worldBuilt_ = false;
}

CoreStatus cEntity_TerrainManager::Render(C3DPass* pass, Core3D* renderer) {
  if (!worldBuilt_) return status::Ok;
  if (!renderer && host_) renderer = host_->Renderer();
  if (renderer && skyBox_) renderer->DrawModel(pass, skyBox_, &skyMatrix_);
  if (terrain_) terrain_->Render(pass, renderer);
  return status::Ok;
}

float cEntity_TerrainManager::GetHeightAt(float x, float z) const {
  return TerrainHeightAt(host_ ? host_->Heights() : nullptr, x, z);
}

void cEntity_TerrainManager::AddStaticData(C3DModel* model, const std::vector<std::string>& names) {
  staticData_.push_back(StaticData{model, names});
}

bool cEntity_TerrainManager::AddStatic(JVector* position, uint8_t rotation, uint16_t kind) {
  if (!position || kind >= staticData_.size() || !staticData_[kind].model) return false;
  if ((position->x > -160.0f && position->x < 160.0f) || (position->z > -160.0f && position->z < 160.0f)) return false;
  Core3D* renderer = host_ ? host_->Renderer() : nullptr;
  if (!renderer) return false;
  position->y = GetHeightAt(position->x / 10.0f, position->z / 10.0f);
  Static s;
  s.rotation = rotation;
  s.kind = kind;
  JMatrix scale = JMatrix::Identity();
  JMath_MatrixScale(scale, 0.05f, 0.05f, 0.05f);
  JMatrix place;
  JMath_MatrixTranslation(place, position->x, position->y, position->z);
  s.world = JMath_MatrixProduct(JMath_MatrixProduct(scale, JMath_RotationY(rotation * 1.5707964f)), place);
  s.model = renderer->CreateModel(0x48, staticData_[kind].model->GetName());
  if (!s.model) return false;
  statics_.push_back(s);
  return true;
}

// Four walls and a lid over the terrain's square, world -640 to 640, the
// sides carrying u = 0 to 4 around the box.
CoreStatus cEntity_TerrainManager::BuildSkyBox() {
  Core3D* renderer = host_->Renderer();
  if (!renderer) return status::Fail;
  skyBox_ = renderer->CreateModel(0x28, "polymesh_skybox");
  if (!skyBox_) {
    platform::DebugPrintf("[cEntity_TerrainManager::InitTerrain] the sky box cannot be made\n");
    return status::Fail;
  }
  constexpr float kLow = -200.0f, kHigh = 900.0f, kEdge = 640.0f;
  const float corners[5][2] = {{-kEdge, -kEdge}, {kEdge, -kEdge}, {kEdge, kEdge}, {-kEdge, kEdge}, {-kEdge, -kEdge}};
  RenderVertex v[14];
  for (int i = 0; i < 5; ++i) {
    v[2 * i] = {corners[i][0], kHigh, corners[i][1], 0xFFFFFFFFu, static_cast<float>(i), 0.0f, 0.0f, 0.0f};
    v[2 * i + 1] = {corners[i][0], kLow, corners[i][1], 0xFFFFFFFFu, static_cast<float>(i), 1.0f, 0.0f, 0.0f};
  }
  for (int i = 0; i < 4; ++i)
    v[10 + i] = {corners[i][0], kHigh, corners[i][1], 0xFFFFFFFFu, (i == 1 || i == 2) ? 1.0f : 0.0f,
                 (i >= 2) ? 1.0f : 0.0f, 0.0f, 0.0f};
  uint16_t indices[30];
  int n = 0;
  for (uint16_t i = 0; i < 4; ++i) {
    const uint16_t a = static_cast<uint16_t>(2 * i);
    const uint16_t idx[6] = {a, static_cast<uint16_t>(a + 1), static_cast<uint16_t>(a + 2),
                             static_cast<uint16_t>(a + 2), static_cast<uint16_t>(a + 1), static_cast<uint16_t>(a + 3)};
    for (uint16_t k : idx) indices[n++] = k;
  }
  const uint16_t lid[6] = {10, 11, 12, 10, 12, 13};
  for (uint16_t k : lid) indices[n++] = k;
  // Every index in part 0: a polymesh deals out only indices that carry
  // their part numbers.
  const uint16_t parts[30] = {};
  if (skyBox_->BeginEdit()) {
    skyBox_->SetVertices(v, 14);
    skyBox_->SetIndices(indices, parts, 30);
    skyBox_->SetPartCount(1);
    skyBox_->EndEdit();
  }
  skyMaterial_ = renderer->CreateShader(8, host_->ResourceDirectory() + "skybox.jsm");
  if (skyMaterial_) skyBox_->SetShader(0, skyMaterial_);
  return status::Ok;
}
