#pragma once
// The renderer's font base: text laid out during a frame collects as quads
// in one buffer per page (system memory, grown as needed), and the flush
// uploads each page's quads into device buffers that only grow and queues
// one draw item per page into the pass.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/services/C3DFont.h"
#include "renderer/DrawItem.h"

class Lumetra;
class DX8MaterialShader;

namespace platform::gfx {
class VertexBuffer;
class IndexBuffer;
}  // namespace platform::gfx

class DX8Font : public C3DFont {
 public:
  // One draw addresses at most this many quads: their vertices must be
  // countable, and indexable, in 16 bits. Larger pages are drawn in chunks.
  static constexpr uint32_t kMaxQuadsPerDraw = 0xFFFF / 4;

  struct QuadBuffer {
    uint32_t deviceCapacity = 0;
    uint32_t capacity = 0;
    uint32_t used = 0;
    MeshGeometry geometry;
    std::vector<RenderVertex> vertices;
    std::vector<uint16_t> indices;
    platform::gfx::VertexBuffer* vertexBuffer = nullptr;
    platform::gfx::IndexBuffer* indexBuffer = nullptr;
  };

  DX8Font(Lumetra* owner, uint32_t flags, std::string name);
  ~DX8Font() override;

  int32_t Check() override { return 0; }
  // Fonts stay registered with no reference until the renderer shuts down.
  void OnUnreferenced() override {}

  const QuadBuffer* PageBuffer(size_t page) const { return page < buffers_.size() ? buffers_[page].get() : nullptr; }
  // One empty quad buffer per page (the makers call it once the font is
  // whole).
  void MakeBuffers(size_t pages);

 protected:
  // Room for `more` quads after the used ones: 25 beyond the need.
  static void Reserve(QuadBuffer& buffer, uint32_t more);
  // The four vertices of the next quad (made room for by Reserve), with the
  // position (px, py) of corner k transformed by the row-major matrix.
  static RenderVertex* NextQuad(QuadBuffer& buffer);
  static void Place(RenderVertex& v, float px, float py, const float* m, float u, float t);
  static void Commit(QuadBuffer& buffer, uint32_t quads);
  // Hands the used quads to the pass with that material and empties the
  // buffer; a page whose upload fails is not drawn this frame.
  void FlushBuffer(QuadBuffer& buffer, C3DPass* pass, DX8MaterialShader* shader);

  Lumetra* renderer_;
  std::vector<std::unique_ptr<QuadBuffer>> buffers_;

 private:
  bool Upload(QuadBuffer& buffer, uint32_t quads);
  void QueueGeometry(C3DPass* pass, MeshGeometry* geometry, DX8MaterialShader* shader);
};
