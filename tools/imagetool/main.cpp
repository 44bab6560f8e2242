// imagetool: writes a 32-bit ".tga" picture from a text description (the
// statements are listed in ImageDescription.h and printed by --help), a
// 32-bit ".dds" texture when the output's name ends in ".dds", or a JPEG
// (alpha dropped) when it ends in ".jpg" or ".jpeg".
//
//   imagetool <description.txt> <picture.tga|picture.dds|picture.jpg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/StringUtil.h"
#include "platform/graphics/DdsFile.h"
#include "tools/common/DescriptionTool.h"
#include "tools/imagetool/ImageDescription.h"
#include "tools/imagetool/JpegWriter.h"

namespace {

// A8R8G8B8 in the texture file's format numbering.
constexpr uint32_t kDdsA8R8G8B8 = 21;

bool EndsWithDds(const char* name) {
  const size_t n = std::strlen(name);
  return n >= 4 && (std::strcmp(name + n - 4, ".dds") == 0 || std::strcmp(name + n - 4, ".DDS") == 0);
}

// One level, each pixel stored little-endian as the format lays it out.
std::vector<uint8_t> EncodeDds32(const ImagePicture& picture) {
  platform::gfx::DdsImage image;
  image.format = kDdsA8R8G8B8;
  image.width = picture.width;
  image.height = picture.height;
  std::vector<uint8_t> level(picture.pixels.size() * 4);
  for (size_t i = 0; i < picture.pixels.size(); ++i) {
    const uint32_t p = picture.pixels[i];
    for (int b = 0; b < 4; ++b) level[i * 4 + b] = static_cast<uint8_t>(p >> (8 * b));
  }
  image.levels.push_back(std::move(level));
  std::vector<uint8_t> out;
  if (!platform::gfx::WriteDds(image, &out)) out.clear();
  return out;
}

// Descriptions are a few lines of text; anything larger is not one.
constexpr uint64_t kMaxDescriptionBytes = 16u << 20;
constexpr int kJpegQuality = 95;

const char kUsage[] =
    "usage: imagetool <description.txt> <picture.tga|picture.dds|picture.jpg>\n"
    "  a name ending in .jpg or .jpeg writes a JPEG (alpha dropped)\n"
    "\n"
    "Description statements, one a line ('#' starts a comment, colours AARRGGBB):\n"
    "  size <width> <height>                 first statement, 1..4096 each\n"
    "  fill <colour>                         every pixel\n"
    "  checker <cell> <colour> <colour>      squares, the first colour top left\n"
    "  gradient horizontal|vertical <c> <c>  linear in every channel\n"
    "  rect <x> <y> <width> <height> <c>     filled, clipped\n"
    "  key <char> <colour>                   palette character\n"
    "  rows <x> <y>                          pixel rows of palette characters up to 'end'\n";

}  // namespace

int main(int argc, char** argv) {
  return RunDescriptionTool(
      argc, argv, "imagetool", kUsage, kMaxDescriptionBytes,
      [](const std::string& text, const std::string& description, const std::string& output,
         std::vector<uint8_t>* bytes, std::string* error) {
        ImagePicture picture;
        std::string why;
        if (!BuildImageFromDescription(text, &picture, &why)) {
          *error = description + ": " + why;
          return false;
        }
        if (str::EndsWithNoCase(output, ".jpg") || str::EndsWithNoCase(output, ".jpeg")) {
          if (!EncodeJpeg(picture, kJpegQuality, bytes, &why)) {
            *error = output + ": " + why;
            return false;
          }
          return true;
        }
        *bytes = EndsWithDds(output.c_str()) ? EncodeDds32(picture) : EncodeTga32(picture);
        return true;
      });
}
