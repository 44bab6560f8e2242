#pragma once
// A dynamic mesh: geometry that its user builds itself (terrain, particles,
// lines) and hands to the renderer as vertex and index arrays.
#include <cstdint>

#include "engine/services/C3DResource.h"

class C3DImage;
class C3DMaterialShader;
class C3DPass;
struct JMatrix;

// The renderer's only vertex layout: 32 bytes, position, diffuse colour
// (A8R8G8B8) and two texture coordinate sets.
struct RenderVertex {
  float x, y, z;
  uint32_t diffuse;
  float u, v;
  float u2, v2;
};
static_assert(sizeof(RenderVertex) == 32, "a render vertex is 32 bytes");

class C3DMesh : public C3DResource {
 public:
  using C3DResource::C3DResource;

  virtual int32_t Check() = 0;
  // With device buffers on, recreates both buffers at exactly these sizes.
  virtual void Reserve(uint32_t vertexCount, uint32_t indexCount) = 0;
  virtual void SetShader(C3DMaterialShader* shader) = 0;
  // The arrays are used in place (by pointer) unless device buffers are on.
  // With `owns` set the mesh frees the array later (it must come from new[]).
  virtual bool SetVertices(RenderVertex* vertices, uint32_t count, bool owns, bool force) = 0;
  virtual bool SetIndices(uint16_t* indices, uint32_t count, bool owns, bool force) = 0;
  // Clamp to 0 .. the count last given and draw only that prefix.
  virtual int32_t SetVertexCount(int32_t count) = 0;
  virtual int32_t SetIndexCount(int32_t count) = 0;
  virtual uint8_t SetUseBuffers(uint8_t use) = 0;
  virtual uint8_t SetLineMode(uint8_t lines) = 0;
  // Queues the mesh into the pass with that world matrix.
  virtual void Draw(C3DPass* pass, const JMatrix* world) = 0;
  // Draws the mesh at once into the image's texture.
  virtual void RenderToImage(C3DImage* image, const JMatrix* world, const JMatrix* view,
                             const JMatrix* projection) = 0;
};
