#include "engine/image/TexTransport.h"

#include <algorithm>
#include <cstring>

#include "base/StringUtil.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"

TexTransport::~TexTransport() = default;

size_t TexTransport::RowStride() const {
  if (width <= 0) return 0;
  const size_t w = static_cast<size_t>(width);
  return paletted ? (w + 3) & ~size_t{3} : w * 4;
}

void TexTransport::FlipRows(TexTransport* image) {
  if (!image) return;
  const size_t stride = image->RowStride();
  if (image->height > 1 && stride > 0 && image->pixels.size() >= stride * static_cast<size_t>(image->height)) {
    uint8_t* top = image->pixels.data();
    uint8_t* bottom = top + stride * static_cast<size_t>(image->height - 1);
    for (; top < bottom; top += stride, bottom -= stride) std::swap_ranges(top, top + stride, bottom);
  }
  image->rowOrderFlags ^= 1u;
}

TexTransport* TexTransport::DecodeFile(FILE* file, const std::string& name, int options) {
  if (!file) return nullptr;
  const std::string ext = name.size() < 4 ? std::string() : str::ToLower(std::string_view(name).substr(name.size() - 4));
  TexTransport* (*decode)(const uint8_t*, size_t, int) = nullptr;
  if (ext == ".bmp")
    decode = DecodeBMP;
  else if (ext == ".tga")
    decode = DecodeTGA;
  else if (ext == ".jpg" || ext == ".jif" || ext == "jpeg")
    decode = DecodeJPEG;
  if (!decode) {
    platform::DebugPrintf("[TexTransport::DecodeFile] %s: not an image type this decoder reads\n", name.c_str());
    return nullptr;
  }

  std::vector<uint8_t> bytes;
  platform::FileReadError why;
  if (!platform::ReadOpenFile(file, kMaxFileBytes, &bytes, &why)) {
    platform::DebugPrintf("[TexTransport::DecodeFile] %s %s\n", name.c_str(), why.text.c_str());
    return nullptr;
  }
  TexTransport* image = decode(bytes.data(), bytes.size(), options);
  if (!image) platform::DebugPrintf("[TexTransport::DecodeFile] %s: not decoded\n", name.c_str());
  return image;
}

TexTransport* TexTransport_LoadImageFile(const std::string& name, int options) {
  platform::FileReadError why;
  FILE* file = platform::OpenRegularFile(name, TexTransport::kMaxFileBytes, nullptr, &why);
  if (!file) {
    platform::DebugPrintf("[TexTransport_LoadImageFile] %s %s\n", name.c_str(), why.text.c_str());
    return nullptr;
  }
  TexTransport* image = TexTransport::DecodeFile(file, name, options);
  std::fclose(file);
  return image;
}
