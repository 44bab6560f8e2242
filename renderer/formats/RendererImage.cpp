// The renderer's image files go through the engine's decoders; what the
// renderer adds is the 32-bit ".bmp" written with the standard bit-field
// masks (blue in the low byte, then green, red, alpha), whose pixels are the
// plain stored bytes and are read as such.
#include "renderer/formats/RendererImage.h"

#include <cstring>
#include <vector>

#include "engine/image/ImageBytes.h"
#include "base/StringUtil.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"

namespace renderer {
namespace {

constexpr uint32_t kBitFields = 3;

// A 32-bit bit-field bitmap whose masks are the stored byte order decodes as
// an uncompressed one; any other masks are left to the decoder to refuse.
TexTransport* DecodeBitmap(const uint8_t* data, size_t size, int options) {
  constexpr size_t kMasksAt = 14 + 40;
  if (size >= kMasksAt + 12 && data[0] == 'B' && data[1] == 'M' && imagebytes::U16(data + 28) == 32 &&
      imagebytes::U32(data + 30) == kBitFields && imagebytes::U32(data + kMasksAt) == 0x00FF0000u &&
      imagebytes::U32(data + kMasksAt + 4) == 0x0000FF00u && imagebytes::U32(data + kMasksAt + 8) == 0x000000FFu) {
    std::vector<uint8_t> plain(data, data + size);
    std::memset(&plain[30], 0, 4);
    return TexTransport::DecodeBMP(plain.data(), plain.size(), options);
  }
  return TexTransport::DecodeBMP(data, size, options);
}

}  // namespace

TexTransport* TexTransport_ReadImage(const uint8_t* data, size_t size, const std::string& name, int options) {
  if (name.size() < 4) return nullptr;
  const std::string ext = str::ToLower(std::string_view(name).substr(name.size() - 4));
  TexTransport* image = nullptr;
  if (ext == ".bmp") {
    image = DecodeBitmap(data, size, options);
  } else if (ext == ".tga") {
    image = TexTransport::DecodeTGA(data, size, options);
  } else if (ext == ".jpg" || ext == ".jif" || ext == "jpeg") {
    image = TexTransport::DecodeJPEG(data, size, options);
  } else {
    platform::DebugPrintf("renderer image \"%s\": not a .bmp, .tga or JPEG name\n", name.c_str());
    return nullptr;
  }
  if (!image) platform::DebugPrintf("renderer image \"%s\": not decoded\n", name.c_str());
  return image;
}

TexTransport* TexTransport_LoadImageFile(const std::string& path, int options) {
  std::vector<uint8_t> bytes;
  platform::FileReadError why;
  if (!platform::ReadFileBytes(path, TexTransport::kMaxFileBytes, &bytes, &why)) {
    platform::DebugPrintf("renderer image \"%s\" %s\n", path.c_str(), why.text.c_str());
    return nullptr;
  }
  return TexTransport_ReadImage(bytes.data(), bytes.size(), path, options);
}

}  // namespace renderer
