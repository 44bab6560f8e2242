#pragma once
// A decoded image: 4-byte pixels (blue, green, red, alpha; the little-endian
// word 0xAARRGGBB) or 1-byte palette indices with a 256-entry palette. Rows
// come top first unless the caller asks for bottom-up rows with the option
// bit TexTransport::kBottomUp.
//
// Decoders refuse (return null, with a note on the debugger output channel)
// any file whose sizes do not fit its bytes or the caps below; they never
// read or write outside their buffers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class TexTransport {
 public:
  static constexpr int kBottomUp = 2;  // option bit: bottom row first
  // Caps on what a file may ask for: terrain and interface images are far
  // smaller, and the caps keep a hostile header from claiming gigabytes.
  static constexpr int32_t kMaxDimension = 16384;
  static constexpr int64_t kMaxPixels = int64_t{1} << 25;
  static constexpr size_t kMaxFileBytes = size_t{256} << 20;

  int32_t width = -1;
  int32_t height = -1;
  uint32_t rowOrderFlags = 0;  // bit 0: see FlipRows and the decoders
  std::vector<uint8_t> pixels;
  uint8_t paletted = 0;  // 0: 4 bytes a pixel; 1: one palette index a pixel
  uint8_t palette[256][4] = {};  // blue, green, red, reserved as stored
  uint8_t loaded = 0;

  TexTransport() = default;
  TexTransport(const TexTransport&) = delete;
  TexTransport& operator=(const TexTransport&) = delete;
  virtual ~TexTransport();

  // Bytes per row: width x 4, or for paletted images the width rounded up to
  // a multiple of 4 (each row holds width indices, the rest is unused).
  size_t RowStride() const;

  // Reads the rest of `file` and decodes it by the last four characters of
  // `name`, lower-cased: ".bmp", ".tga", ".jpg", ".jif" or "jpeg". Null for
  // no file, another extension, or a file the decoder refuses. The caller
  // owns the result.
  static TexTransport* DecodeFile(FILE* file, const std::string& name, int options);

  // The decoders, on a whole file held in memory.
  static TexTransport* DecodeBMP(const uint8_t* data, size_t size, int options);
  static TexTransport* DecodeTGA(const uint8_t* data, size_t size, int options);
  static TexTransport* DecodeJPEG(const uint8_t* data, size_t size, int options);

  // Reverses the order of the rows and toggles bit 0 of the row-order flags.
  static void FlipRows(TexTransport* image);
};

// Opens `name` (through the path resolver) for binary reading, decodes it
// with TexTransport::DecodeFile and closes it. Null when the file does not
// open or does not decode. The caller owns the result.
TexTransport* TexTransport_LoadImageFile(const std::string& name, int options);
