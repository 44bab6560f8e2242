#pragma once
// A light of the light registry, as a pass's light list names it: its kind,
// an enabled bit and recolouring bits, its colours and geometry, and the
// device light last built from it.
#include <cstdint>

#include "engine/services/C3DResource.h"
#include "platform/graphics/GfxTypes.h"

class LightRecord : public C3DResource {
 public:
  static constexpr uint32_t kEnabled = 0x1;
  // Bit (2 << k): colour matrix k recolours this light while the renderer's
  // flag k is set.
  static constexpr uint32_t RecolourBit(uint32_t k) { return 2u << k; }

  using C3DResource::C3DResource;

  uint32_t kind = 0;  // 0 point, 1 spot, 2 directional; others give no light
  uint32_t lightFlags = 0;
  platform::gfx::ColorValue diffuse, specular, ambient;
  platform::gfx::Vector3 position, direction;
  float range = 0, falloff = 0;
  float attenuation0 = 0, attenuation1 = 0, attenuation2 = 0;
  float theta = 0, phi = 0;
  // Written when the light is built for a pass.
  platform::gfx::Light deviceLight;
};
