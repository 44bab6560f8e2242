#pragma once
// The renderer's image file loading: ".bmp", ".tga" and JPEG files decoded
// into TexTransport images (rows top first unless the options ask for
// bottom-up rows with TexTransport::kBottomUp). Beyond the engine's decoders
// it accepts 32-bit ".bmp" files, whose pixels are copied as stored.
//
// A file that does not open, has another extension, or fails any check of
// its sizes against its bytes gives null with a note on the debugger channel.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/image/TexTransport.h"

namespace renderer {

// Decodes bytes by the last four characters of `name`, lower-cased: ".bmp",
// ".tga", ".jpg", ".jif" or "jpeg". The caller owns the result.
TexTransport* TexTransport_ReadImage(const uint8_t* data, size_t size, const std::string& name, int options);

// Reads `path` through the path resolver and decodes it as above.
TexTransport* TexTransport_LoadImageFile(const std::string& path, int options);

}  // namespace renderer
