#pragma once
// A dynamic mesh: geometry its user builds and changes itself (terrain,
// particles, lines), drawn from the user's arrays in place or from device
// buffers that only grow. One geometry record and one draw item carry it
// into a pass.
#include <cstdint>

#include "engine/services/C3DMesh.h"
#include "renderer/DrawItem.h"

class Lumetra;
class DX8MaterialShader;

namespace platform::gfx {
class VertexBuffer;
class IndexBuffer;
}  // namespace platform::gfx

class DX8_DynaMesh : public C3DMesh {
 public:
  // The geometry counts vertices in 16 bits: larger arrays are refused.
  static constexpr uint32_t kMaxVertices = 0xFFFF;

  DX8_DynaMesh(Lumetra* owner, uint32_t flags, std::string name);
  ~DX8_DynaMesh() override;

  int32_t Check() override { return 0; }
  void Reserve(uint32_t vertexCount, uint32_t indexCount) override;
  void SetShader(C3DMaterialShader* shader) override;
  // False when the count is over kMaxVertices (nothing changes and an owned
  // array stays the caller's) or when a device buffer cannot be made or
  // filled (the counts in use are then 0; an owned array is the mesh's).
  bool SetVertices(RenderVertex* vertices, uint32_t count, bool owns, bool force) override;
  bool SetIndices(uint16_t* indices, uint32_t count, bool owns, bool force) override;
  int32_t SetVertexCount(int32_t count) override;
  int32_t SetIndexCount(int32_t count) override;
  uint8_t SetUseBuffers(uint8_t use) override;
  uint8_t SetLineMode(uint8_t lines) override;
  void Draw(C3DPass* pass, const JMatrix* world) override;
  void RenderToImage(C3DImage* image, const JMatrix* world, const JMatrix* view,
                     const JMatrix* projection) override;

  const MeshGeometry& Geometry() const { return geometry_; }
  const DrawItem& Item() const { return item_; }
  uint32_t VertexBufferCapacity() const { return vertexCapacity_; }
  uint32_t IndexBufferCapacity() const { return indexCapacity_; }

 private:
  bool EnsureVertexBuffer(uint32_t count, bool force);
  bool EnsureIndexBuffer(uint32_t count, bool force);
  void DrawInto(DX8MaterialShader* shader, class DX8Image* image, const JMatrix& world, const JMatrix& view,
                const JMatrix& projection);

  Lumetra* renderer_;
  uint8_t lineMode_ = 0;
  uint8_t useBuffers_ = 0;
  bool ownsVertices_ = false;
  bool ownsIndices_ = false;
  MeshGeometry geometry_;
  DrawItem item_;
  DX8MaterialShader* shader_ = nullptr;
  platform::gfx::VertexBuffer* vertexBuffer_ = nullptr;
  platform::gfx::IndexBuffer* indexBuffer_ = nullptr;
  uint32_t vertexCapacity_ = 0;
  uint32_t indexCapacity_ = 0;
  RenderVertex* vertices_ = nullptr;
  uint32_t vertexCount_ = 0;
  uint16_t* indices_ = nullptr;
  uint32_t indexCount_ = 0;
  uint32_t verticesInUse_ = 0;
  uint32_t indicesInUse_ = 0;
};
