// ssmtool: writes an ".ssm" model from a text description (the statements
// are listed in SSMDescription.h and printed by --help).
//
//   ssmtool <description.txt> <model.ssm>   build and write a model
//   ssmtool --check <model.ssm>              read a model and summarise it
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/FileRead.h"
#include "renderer/formats/SSMObject.h"
#include "tools/ssmtool/SSMDescription.h"

namespace {

const char kUsage[] =
    "usage: ssmtool <description.txt> <model.ssm>\n"
    "       ssmtool --check <model.ssm>\n"
    "\n"
    "Description statements, one a line ('#' starts a comment):\n"
    "  option <key> <value>             model tag, e.g. VertCompress Grid64, ZCompress Yes\n"
    "  group <name> [hidden]            start a group\n"
    "  skin <texture>                   skin of the group, naming a texture file\n"
    "  tag <key> <value>                tag on the group\n"
    "  box x0 y0 z0 x1 y1 z1            axis-aligned box\n"
    "  prism x0 y0 z0 x1 y1 z1 [x|z]    gable with its ridge at y1 along x or z\n"
    "  marker <name> x y z dx dy dz     anchor at (x,y,z) with its axis along (dx,dy,dz)\n"
    "  frame <name>                     key frame (starts from the shapes' pose)\n"
    "  offset <group> dx dy dz          move a group in the latest frame\n"
    "  turn <group> degrees x z         turn a group in the latest frame about (x, z)\n"
    "  anim <name> [loop] [play]        animation\n"
    "  key <frame> <seconds>            next key of the latest animation\n";

int Check(const std::string& path) {
  SSMObject m;
  if (status::Failed(m.LoadFile(path))) {
    std::fprintf(stderr, "ssmtool: %s does not load\n", path.c_str());
    return 1;
  }
  m.BuildAnchors();
  m.BuildDrawData();
  std::printf("%s: %zu vertices, %zu faces, %zu groups, %zu anchors, %zu frames, %zu animations, %zu resources\n",
              path.c_str(), size_t(m.vertexCount), m.faces.size(), m.groups.size(), m.anchors.size(),
              m.frames.size(), m.anims.size(), m.resources.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--check") == 0) return Check(argv[2]);
  if (argc != 3 || argv[1][0] == '-') {
    std::fputs(kUsage, argc == 2 && std::strcmp(argv[1], "--help") == 0 ? stdout : stderr);
    return argc == 2 && std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
  }
  // A description is a short hand-written text.
  constexpr uint64_t kMaxDescriptionBytes = uint64_t{16} << 20;
  std::string text;
  platform::FileReadError why;
  if (!platform::ReadFileText(argv[1], kMaxDescriptionBytes, &text, &why)) {
    std::fprintf(stderr, "ssmtool: %s %s\n", argv[1], why.text.c_str());
    return 1;
  }
  SSMObject model;
  std::string error;
  if (!BuildSSMFromDescription(text, &model, &error)) {
    std::fprintf(stderr, "ssmtool: %s: %s\n", argv[1], error.c_str());
    return 1;
  }
  if (status::Failed(model.SaveFile(argv[2]))) {
    std::fprintf(stderr, "ssmtool: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
