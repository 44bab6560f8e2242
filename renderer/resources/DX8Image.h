#pragma once
// The renderer's texture resource: one device texture (A8R8G8B8, or
// A4R4G4B4 where the device refuses 32 bits) with its level-0 size, made
// from an image file, a ".stx" texture, a ".dds" file, two files merged
// (colour from one, alpha from the other), raw pixels, a solid colour or
// glyph bits.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/services/C3DImage.h"
#include "renderer/DrawItem.h"
#include "renderer/resources/GlyphTable.h"

class Lumetra;
class TexTransport;

class DX8Image : public C3DImage, public DeviceImage {
 public:
  DX8Image(Lumetra* owner, uint32_t flags, std::string name);
  ~DX8Image() override;

  void OnUnreferenced() override;
  uint16_t GetWidth() override { return width_; }
  uint16_t GetHeight() override { return height_; }
  int32_t Check() override { return 0; }
  int32_t BuildFromPixels(Core3D* renderer, uint16_t width, uint16_t height, bool mipChain,
                          const uint32_t* pixels) override;
  int32_t MoveToDevice(Core3D* renderer) override;
  // False when there is no texture or level 0 cannot be locked.
  bool UpdatePixels(const uint32_t* pixels) override;
  int32_t LoadFromMemory(const void* data, uint32_t size) override;
  platform::gfx::Texture* GetDeviceTexture() override { return texture_; }

  // Makes a texture of width x height on the renderer's device (A8R8G8B8,
  // else A4R4G4B4) holding the pixels, with a full mip chain resampled from
  // level 0 when asked. Releases what *texture held first.
  static CoreStatus BuildTexture(Lumetra* renderer, platform::gfx::Texture** texture, uint32_t* format,
                                 uint32_t width, uint32_t height, bool mipChain, const uint32_t* pixels);
  static CoreStatus BuildSolid(Lumetra* renderer, uint32_t width, uint32_t height, uint32_t colour,
                               platform::gfx::Texture** texture, uint32_t* format);
  static CoreStatus BuildGlyphTexture(Lumetra* renderer, const GlyphTable& table, platform::gfx::Texture** texture,
                                      uint32_t* format, bool mipChain);
  // Rows of 16-bit A4R4G4B4 or 32-bit A8R8G8B8 pixels into a locked level
  // whose rows are `pitch` bytes apart. Fail for any other format; nothing
  // copied (and success) for a null side.
  static CoreStatus CopyPixels16(void* destination, const uint16_t* source, uint32_t width, uint32_t height,
                                 uint32_t pitch, uint32_t format);
  static CoreStatus CopyPixels32(void* destination, const uint32_t* source, uint32_t width, uint32_t height,
                                 uint32_t pitch, uint32_t format);
  // A decoded picture of 32-bit pixels (rows top first); null for a file
  // that cannot be read or decoded, or a palette picture.
  static TexTransport* LoadPicture(const std::string& path);

  // Builders into this image (they set texture, format and size).
  CoreStatus BuildSolidImage(uint32_t width, uint32_t height, uint32_t colour);
  CoreStatus BuildGlyphImage(const GlyphTable& table, bool mipChain);
  CoreStatus LoadFile(const std::string& name);
  CoreStatus LoadStx(const std::string& name);
  CoreStatus LoadMerge(const std::string& name);
  CoreStatus LoadAlphaMerge(const std::string& name);
  CoreStatus LoadDds(const std::string& name);

  uint32_t GetFormat() const { return format_; }

 private:
  void SetTexture(platform::gfx::Texture* texture, uint32_t format, uint32_t width, uint32_t height);

  Lumetra* renderer_;
  platform::gfx::Texture* texture_ = nullptr;
  uint32_t format_ = 0;
  uint16_t width_ = 0;
  uint16_t height_ = 0;
};

// Makes an image for a file name: RF_EMPTY gives one without a texture;
// else by the name (".stx", ".dds", "merge;", "alphamerge;", else an image
// file). Null when the load fails.
DX8Image* CreateImageFromName(Lumetra* renderer, uint32_t flags, const std::string& name);
