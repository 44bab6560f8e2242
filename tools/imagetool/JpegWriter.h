#pragma once
// Baseline JPEG files of a picture (colour, no alpha), written with libjpeg.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/imagetool/ImageDescription.h"

// The JPEG bytes of the picture at the quality (1..100); alpha is dropped.
// False with the reason when the library refuses.
bool EncodeJpeg(const ImagePicture& picture, int quality, std::vector<uint8_t>* out, std::string* error);

// Reads a JPEG back into A8R8G8B8 pixels with alpha 255 (for checks).
bool DecodeJpeg(const std::vector<uint8_t>& bytes, ImagePicture* picture, std::string* error);
