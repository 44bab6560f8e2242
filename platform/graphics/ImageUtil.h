#pragma once
// Image helpers over device objects: surface-to-surface loading with point
// scaling and format conversion, saving surfaces and textures as BMP or DDS
// (to memory or to a file), textures from DDS data, texture creation with
// sizes and formats settled, and drawing into a surface.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/GfxDevice.h"

namespace platform::gfx {

// Copies `srcRect` of `source` (null: all) into `dstRect` of `destination`
// (null: all), scaling by point sampling and converting between formats.
// Source pixels equal to `colorKey` (as A8R8G8B8; 0 disables) become
// transparent black. D3DX_FILTER_NONE copies without scaling, clipped;
// every other filter samples the nearest pixel.
CoreStatus LoadSurfaceFromSurface(Surface* destination, const Rect* dstRect, Surface* source, const Rect* srcRect,
                                  uint32_t filter, uint32_t colorKey);

// File formats: D3DXIFF_BMP (24-bit) and D3DXIFF_DDS.
CoreStatus SaveSurfaceToMemory(uint32_t fileFormat, Surface* source, const Rect* srcRect, std::vector<uint8_t>* out);
CoreStatus SaveSurfaceToFile(const std::string& name, uint32_t fileFormat, Surface* source, const Rect* srcRect);
// DDS only: every level of the texture.
CoreStatus SaveTextureToMemory(uint32_t fileFormat, Texture* texture, std::vector<uint8_t>* out);
CoreStatus SaveTextureToFile(const std::string& name, uint32_t fileFormat, Texture* texture);

// A managed texture with the file's size, format and levels. Only DDS data
// is understood; anything else is D3DXERR_INVALIDDATA.
CoreStatus CreateTextureFromFileInMemory(Device* device, const void* data, size_t size, Texture** texture);
CoreStatus CreateTextureFromFile(Device* device, const std::string& name, Texture** texture);

// Width or height 0 or D3DX_DEFAULT become 256, sizes are cut to the device
// limit, levels 0 or D3DX_DEFAULT make a full chain, and a format the device
// refuses becomes A8R8G8B8.
CoreStatus CreateTexture(Device* device, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                         uint32_t format, uint32_t pool, Texture** texture);

// Drawing into a render-target surface: BeginScene points the device at the
// surface (with a depth surface of its own when asked for) and sets the
// viewport; EndScene ends the scene and gives the device back its previous
// render target, depth surface and viewport.
class RenderToSurface {
 public:
  RenderToSurface(Device* device, uint32_t width, uint32_t height, uint32_t format, bool depthStencil,
                  uint32_t depthFormat);
  ~RenderToSurface();
  RenderToSurface(const RenderToSurface&) = delete;
  RenderToSurface& operator=(const RenderToSurface&) = delete;

  CoreStatus BeginScene(Surface* surface, const Viewport* viewport);
  CoreStatus EndScene();

 private:
  Device* device_;
  uint32_t width_, height_, format_;
  Surface* depth_ = nullptr;
  Surface* savedTarget_ = nullptr;
  Surface* savedDepth_ = nullptr;
  Viewport savedViewport_;
  bool active_ = false;
};

}  // namespace platform::gfx
