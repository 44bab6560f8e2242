// BMP reading: 8-bit paletted, 24-bit and 32-bit uncompressed images with the
// 40-byte (or larger) information header. Rows are stored bottom first, or top
// first when the height field is negative.
#include <cstdlib>
#include <memory>

#include "engine/image/ImageBytes.h"
#include "engine/image/TexTransport.h"
#include "platform/DebugOutput.h"

using imagebytes::S32;
using imagebytes::U16;
using imagebytes::U32;

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

TexTransport* Refuse(const char* why) {
  platform::DebugPrintf("[TexTransport::DecodeBMP] refused: %s\n", why);
  return nullptr;
}

}  // namespace

TexTransport* TexTransport::DecodeBMP(const uint8_t* data, size_t size, int options) {
  if (!data || size < kFileHeaderSize + kInfoHeaderSize) return Refuse("file shorter than its headers");
  if (data[0] != 'B' || data[1] != 'M') return Refuse("no BM signature");

  const uint64_t dataOffset = U32(data + 10);
  const uint64_t infoSize = U32(data + 14);
  const int32_t fileWidth = S32(data + 18);
  const int32_t fileHeight = S32(data + 22);
  const unsigned bitCount = U16(data + 28);
  const uint32_t compression = U32(data + 30);
  const uint32_t coloursUsed = U32(data + 46);

  if (infoSize < kInfoHeaderSize) return Refuse("information header too small");
  if (bitCount != 8 && bitCount != 24 && bitCount != 32) return Refuse("bit count not 8, 24 or 32");
  // The pixel data is read as plain rows, so any packing would be misread.
  if (compression != 0) return Refuse("compressed pixel data");
  if (fileWidth <= 0 || fileHeight == 0) return Refuse("empty or negative width");

  const bool topDown = fileHeight < 0;
  const int64_t rows = std::llabs(static_cast<int64_t>(fileHeight));
  if (fileWidth > kMaxDimension || rows > kMaxDimension || fileWidth * rows > kMaxPixels)
    return Refuse("dimensions over the cap");

  const uint64_t w = static_cast<uint64_t>(fileWidth);
  const uint64_t fileStride = (w * (bitCount / 8) + 3) & ~uint64_t{3};
  if (dataOffset > size || fileStride * static_cast<uint64_t>(rows) > size - dataOffset)
    return Refuse("pixel rows run past the end of the file");

  auto image = std::make_unique<TexTransport>();
  image->width = fileWidth;
  image->height = static_cast<int32_t>(rows);

  if (bitCount == 8) {
    const uint64_t entries = coloursUsed ? coloursUsed : 256;
    if (entries > 256) return Refuse("palette of more than 256 colours");
    const uint64_t paletteOffset = kFileHeaderSize + infoSize;
    if (paletteOffset > size || entries * 4 > size - paletteOffset) return Refuse("palette runs past the end of the file");
    for (uint64_t i = 0; i < entries; ++i)
      for (int k = 0; k < 4; ++k) image->palette[i][k] = data[paletteOffset + i * 4 + k];
    image->paletted = 1;
  }

  const size_t outStride = image->RowStride();
  image->pixels.assign(outStride * static_cast<size_t>(rows), 0);

  // The file keeps bottom-up rows unless the height is negative; the caller
  // gets top-first rows unless it asked for bottom-up ones.
  const bool wantBottomFirst = (options & kBottomUp) != 0;
  const bool fileBottomFirst = !topDown;
  const bool reverse = wantBottomFirst != fileBottomFirst;
  for (int64_t r = 0; r < rows; ++r) {
    const int64_t fileRow = reverse ? rows - 1 - r : r;
    const uint8_t* src = data + dataOffset + static_cast<uint64_t>(fileRow) * fileStride;
    uint8_t* dst = image->pixels.data() + static_cast<size_t>(r) * outStride;
    switch (bitCount) {
      case 8:
        std::copy(src, src + w, dst);
        break;
      case 24:
        for (uint64_t x = 0; x < w; ++x, src += 3, dst += 4) imagebytes::OpaqueFromBGR(src, dst);
        break;
      default:
        std::copy(src, src + w * 4, dst);
        break;
    }
  }
  if (wantBottomFirst) image->rowOrderFlags |= 1u;
  image->loaded = 1;
  return image.release();
}
