#pragma once
// "default_model": a coloured cube from -1 to 1 on every axis, drawn from
// system memory. The model registry also hands it out when a request makes
// nothing better.
#include <array>

#include "renderer/DrawItem.h"
#include "renderer/models/DX8Model.h"

class DX8MaterialShader;

class DX8Model_Def01 : public DX8Model {
 public:
  static constexpr const char* kName = "default_model";

  DX8Model_Def01(Lumetra* owner, uint32_t flags, std::string name);
  ~DX8Model_Def01() override;

  void GetBounds(float minimum[3], float maximum[3], JMatrix* matrix) override;
  uint16_t GetPartCount() override { return 1; }
  bool IsPartVisible(uint16_t) override { return true; }
  std::string GetPartName(uint16_t) override { return "Default"; }
  // Only a material shader is kept (with a reference); anything else, null
  // included, leaves the cube without one. The index is not looked at.
  void SetShader(uint16_t index, C3DBaseShader* shader) override;
  C3DBaseShader* GetShader(uint16_t index) override;
  uint16_t GetVertexCount() override { return 8; }
  uint16_t GetFaceCount() override { return 12; }
  void Draw(C3DPass* pass, const JMatrix* world) override;

  const MeshGeometry& Geometry() const { return geometry_; }

 private:
  std::array<RenderVertex, 8> vertices_;
  MeshGeometry geometry_;
  DrawItem item_;
  DX8MaterialShader* shader_ = nullptr;
};
