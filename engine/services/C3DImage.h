#pragma once
// An image: one texture with its size, made from a file, from pixels, from a
// solid colour or from glyph bits. Pixels are 32-bit A8R8G8B8 rows without
// padding.
#include <cstdint>

#include "engine/services/C3DResource.h"

class C3DImage : public C3DResource {
 public:
  using C3DResource::C3DResource;

  virtual uint16_t GetWidth() = 0;
  virtual uint16_t GetHeight() = 0;
  virtual int32_t Check() = 0;
  // Builds the texture from width x height pixels for that renderer.
  virtual int32_t BuildFromPixels(Core3D* renderer, uint16_t width, uint16_t height, bool mipChain,
                                  const uint32_t* pixels) = 0;
  // Moves the texture to another renderer's device.
  virtual int32_t MoveToDevice(Core3D* renderer) = 0;
  // Replaces level 0 with width x height pixels.
  virtual bool UpdatePixels(const uint32_t* pixels) = 0;
  // Makes the texture from an image file held in memory.
  virtual int32_t LoadFromMemory(const void* data, uint32_t size) = 0;
};
