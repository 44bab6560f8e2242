#pragma once
// The landscape's manager: owns the terrain entity, the sky box and the
// scenery statics, answers height queries for every other part, and draws
// sky and terrain each frame once a world is built.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Status.h"
#include "engine/entity/EntityBase.h"
#include "engine/frame/RenderServiceItem.h"
#include "engine/math/JMatrix.h"
#include "engine/math/JVector.h"
#include "game/WorldPartOps.h"

class C3DBaseShader;
class C3DModel;
class TerrainHost;
class cEntity_Terrain;

class cEntity_TerrainManager : public cEntity_Base, public cRenderServiceItem, public TerrainManagerOps {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:TERRAIN:MANAGER";
  // The composed texture's side when the configuration names none.
  static constexpr int32_t kDefaultTextureSize = 512;

  struct StaticData {
    C3DModel* model = nullptr;
    std::vector<std::string> names;
  };
  struct Static {
    C3DModel* model = nullptr;
    JMatrix world = JMatrix::Identity();
    uint8_t rotation = 0;  // quarter turns
    uint16_t kind = 0;     // index of its StaticData
  };

  cEntity_TerrainManager(cEntity_Manager* manager, TerrainHost* host);
  ~cEntity_TerrainManager() override;

  CoreStatus Exit() override;
  // The loading sequence's step: texture size, terrain entity, sky box.
  CoreStatus InitTerrain() override;
  // The world build: terrain mesh and texture, camera target, terrain started.
  CoreStatus BuildWorld() override;
  // The world reset: the terrain stopped, nothing drawn.
  void ClearWorld();
  void StopTerrain() override { ClearWorld(); }
  CoreStatus Render(C3DPass* pass, Core3D* renderer) override;

  void SetTextureNames(const std::vector<std::string>& names) { textureNames_ = names; }
  const std::vector<std::string>& GetTextureNames() const { return textureNames_; }
  void AddStaticData(C3DModel* model, const std::vector<std::string>& names);
  // False inside the 160-unit band around the centre on either axis, or for
  // an unknown kind; else places it on the ground and writes its height
  // into `position`.
  bool AddStatic(JVector* position, uint8_t rotation, uint16_t kind);
  // World height at grid (x, z) in -64..64.
  float GetHeightAt(float x, float z) const;

  cEntity_Terrain* GetTerrain() const { return terrain_; }
  bool IsWorldBuilt() const { return worldBuilt_; }
  int32_t GetTextureSize() const { return textureSize_; }
  // The options screen sets the size the next world is textured with.
  void SetTextureSize(int32_t size) { textureSize_ = size; }
  const JVector& LowCorner() const { return low_; }
  const JVector& HighCorner() const { return high_; }
  const JVector& Centre() const { return centre_; }
  C3DModel* SkyBox() const { return skyBox_; }
  const std::vector<Static>& GetStatics() const { return statics_; }

 private:
  CoreStatus BuildSkyBox();
  uint32_t ComposedSide() const;

  TerrainHost* host_;
  cEntity_Terrain* terrain_ = nullptr;
  bool worldBuilt_ = false;
  JVector low_, high_, centre_;
  std::vector<std::string> textureNames_;
  std::vector<StaticData> staticData_;
  std::vector<Static> statics_;
  C3DModel* skyBox_ = nullptr;
  C3DBaseShader* skyMaterial_ = nullptr;
  JMatrix skyMatrix_ = JMatrix::Identity();
  int32_t textureSize_ = kDefaultTextureSize;
};
