// imagetool: writes a 32-bit ".tga" picture from a text description (the
// statements are listed in ImageDescription.h and printed by --help).
//
//   imagetool <description.txt> <picture.tga>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/DurableSave.h"
#include "platform/FileRead.h"
#include "tools/imagetool/ImageDescription.h"

namespace {

// Descriptions are a few lines of text; anything larger is not one.
constexpr uint64_t kMaxDescriptionBytes = 16u << 20;

const char kUsage[] =
    "usage: imagetool <description.txt> <picture.tga>\n"
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
  const std::vector<uint8_t> bytes = EncodeTga32(picture);
  std::string writeError;
  if (!platform::SaveFileDurably(argv[2], bytes.data(), bytes.size(), &writeError)) {
    std::fprintf(stderr, "imagetool: cannot write %s: %s\n", argv[2], writeError.c_str());
    return 1;
  }
  return 0;
}
