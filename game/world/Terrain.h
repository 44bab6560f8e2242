#pragma once
// The terrain entity: the height mesh over the scenario's field, its
// composed texture with the plot drawn over it, and the snow layer whose
// cover follows the game clock.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Status.h"
#include "engine/frame/MeshGrid.h"
#include "engine/frame/RenderServiceItem.h"
#include "engine/services/C3DMesh.h"
#include "simulation/TimeObject.h"

class C3DBaseShader;
class C3DImage;
class C3DModel;
class TerrainHost;

class cEntity_Terrain : public cEntity_MeshGrid, public cRenderServiceItem, public cSimulation_TimeObject {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:TERRAIN:TERRAIN";

  cEntity_Terrain(cEntity_Manager* manager, TerrainHost* host);
  ~cEntity_Terrain() override;

  CoreStatus Exit() override;
  // Registers with the game clock for ticks.
  virtual CoreStatus Start();
  // Unregisters, frees the mesh and releases every renderer resource.
  virtual CoreStatus Stop();
  CoreStatus Render(C3DPass* pass, Core3D* renderer) override;
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float elapsed) override;

  // Mesh, composed texture (side `textureSize`) and snow layer from the
  // host's height field and the textures named. Fail, with a diagnostic and
  // nothing left built, when a step cannot be done.
  CoreStatus Build(const std::vector<std::string>& textureNames, uint32_t textureSize);

  // The snow the weather lays down: state (0 none, 1 accumulating, 2
  // complete, 3 melting) and rate in cover per game second.
  int32_t snowState = 0;
  float snowRate = 0.0f;
  float snowAmount = 0.0f;

  C3DModel* Model() const { return model_; }
  C3DImage* Texture() const { return texture_; }
  C3DMesh* SnowMesh() const { return snowMesh_; }

 private:
  static float HeightCallback(float x, float z, void* context);
  CoreStatus BuildTexture(const std::vector<std::string>& textureNames, uint32_t side);
  CoreStatus BuildSurface();
  void DrawPlot(C3DImage* image);
  void Release();

  TerrainHost* host_;
  uint8_t serial_ = 0;
  C3DModel* model_ = nullptr;
  C3DBaseShader* material_ = nullptr;
  C3DImage* texture_ = nullptr;
  C3DBaseShader* snowMaterial_ = nullptr;
  C3DMesh* snowMesh_ = nullptr;
  std::vector<RenderVertex> surface_;  // what the snow mesh draws, in place
  std::vector<uint16_t> indices_;
};
