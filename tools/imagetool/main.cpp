// imagetool: writes a 32-bit ".tga" picture, or a ".jpg" one, from a text
// description (the statements are listed in ImageDescription.h and printed
// by --help). The output name's extension chooses the format.
//
//   imagetool <description.txt> <picture.tga|picture.jpg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/DurableSave.h"
#include "platform/FileRead.h"
#include "base/StringUtil.h"
#include "tools/imagetool/ImageDescription.h"
#include "tools/imagetool/JpegWriter.h"

namespace {

// Descriptions are a few lines of text; anything larger is not one.
constexpr uint64_t kMaxDescriptionBytes = 16u << 20;
constexpr int kJpegQuality = 95;

const char kUsage[] =
    "usage: imagetool <description.txt> <picture.tga|picture.jpg>\n"
    "  a name ending in .jpg or .jpeg writes a JPEG (alpha dropped), any other a .tga\n"
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
  const bool help = argc == 2 && std::strcmp(argv[1], "--help") == 0;
  if (argc != 3 || argv[1][0] == '-') {
    std::fputs(kUsage, help ? stdout : stderr);
    return help ? 0 : 2;
  }
  std::string text;
  platform::FileReadError readError;
  if (!platform::ReadFileText(argv[1], kMaxDescriptionBytes, &text, &readError)) {
    std::fprintf(stderr, "imagetool: %s %s\n", argv[1], readError.text.c_str());
    return 1;
  }
  ImagePicture picture;
  std::string error;
  if (!BuildImageFromDescription(text, &picture, &error)) {
    std::fprintf(stderr, "imagetool: %s: %s\n", argv[1], error.c_str());
    return 1;
  }
  std::vector<uint8_t> bytes;
  const std::string output = argv[2];
  if (str::EndsWithNoCase(output, ".jpg") || str::EndsWithNoCase(output, ".jpeg")) {
    if (!EncodeJpeg(picture, kJpegQuality, &bytes, &error)) {
      std::fprintf(stderr, "imagetool: %s: %s\n", argv[2], error.c_str());
      return 1;
    }
  } else {
    bytes = EncodeTga32(picture);
  }
  std::string writeError;
  if (!platform::SaveFileDurably(argv[2], bytes.data(), bytes.size(), &writeError)) {
    std::fprintf(stderr, "imagetool: cannot write %s: %s\n", argv[2], writeError.c_str());
    return 1;
  }
  return 0;
}
