#pragma once
// What a drawable resource hands a render pass: the geometry record, the
// material it draws with, and the draw item that carries both through the
// pass's draw list.
#include <array>
#include <cstdint>
#include <vector>

#include "engine/services/C3DMesh.h"
#include "engine/math/JMatrix.h"
#include "platform/graphics/GfxTypes.h"
#include "renderer/RenderStateCache.h"

class C3DImage;

namespace platform::gfx {
class Texture;
class VertexBuffer;
class IndexBuffer;
}  // namespace platform::gfx

// Placements of a model beyond its own: caller-owned matrices, listed by
// the model and shared by every part's geometry.
using InstanceList = std::vector<JMatrix*>;

// Geometry as the pass draws it: 32-byte vertices, 16-bit indices, its own
// world matrix, optional instance matrices and optional device buffers.
struct MeshGeometry {
  uint16_t vertexCount = 0;
  const RenderVertex* vertices = nullptr;
  uint32_t indexCount = 0;
  const uint16_t* indices = nullptr;
  JMatrix world = JMatrix::Identity();
  // The owner's list (not owned here); null or empty draws once at `world`.
  const InstanceList* instances = nullptr;
  bool HasInstances() const { return instances && !instances->empty(); }
  platform::gfx::VertexBuffer* vertexBuffer = nullptr;
  platform::gfx::IndexBuffer* indexBuffer = nullptr;
};

// The material a draw item is drawn with, as the pass reads it: its render
// state block, up to four texture layers, its sort keys and material
// colours. Material shaders implement it.
class PassShader {
 public:
  virtual ~PassShader() = default;
  virtual const lumetra::ShaderStateBlock& GetStateBlock() = 0;
  virtual uint16_t GetPassLayerCount() = 0;
  virtual C3DImage* GetPassLayerImage(int32_t layer) = 0;
  virtual bool IsPassLayerEnabled(int32_t layer) = 0;
  virtual const lumetra::StageRequest& GetPassLayerRequest(int32_t layer) = 0;
  virtual int32_t GetSortPriority() = 0;
  virtual bool IsDepthSortedShader() = 0;
  virtual platform::gfx::ColorValue GetMaterialDiffuse() = 0;
  virtual platform::gfx::ColorValue GetMaterialAmbient() = 0;
  // Runs the shader's per-draw work on the geometry as it is queued.
  virtual void PrepareDraw(MeshGeometry* geometry) = 0;
};

// An image that owns a device texture.
class DeviceImage {
 public:
  virtual platform::gfx::Texture* GetDeviceTexture() = 0;

 protected:
  ~DeviceImage() = default;
};

struct DrawItem {
  PassShader* shader = nullptr;
  MeshGeometry* geometry = nullptr;
  float depth = 0.0f;         // view-space depth of the origin, when depth-sorted
  bool depthSorted = false;   // drawn after the others, farther first
  bool instanced = true;      // once per instance matrix when the geometry has any
  const JMatrix* matrix = nullptr;
  int32_t priority = 0;
  bool lines = false;         // a line list; else an indexed triangle list
  std::array<C3DImage*, 4> images{};
};
