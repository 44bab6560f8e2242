// soundtool: writes an Ogg Vorbis sound from a text description (the
// statements are listed in SoundDescription.h and printed by --help), or a
// 16-bit PCM ".wav" when the output's name ends in ".wav".
//
//   soundtool <description.txt> <sound.ogg|sound.wav>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/StringUtil.h"
#include "platform/DurableSave.h"
#include "platform/FileRead.h"
#include "tools/soundtool/SoundDescription.h"

namespace {

// Descriptions are a few lines of text; anything larger is not one.
constexpr uint64_t kMaxDescriptionBytes = 1u << 20;
constexpr float kOggQuality = 0.4f;

const char kUsage[] =
    "usage: soundtool <description.txt> <sound.ogg|sound.wav>\n"
    "  a name ending in .wav writes 16-bit PCM, any other Ogg Vorbis\n"
    "\n"
    "Description statements, one a line ('#' starts a comment), played in order:\n"
    "  rate <hz>                        first statement, 8000..48000\n"
    "  channels <1|2>                   before the first sound; default 1\n"
    "  tone <hz> <seconds> <level>      sine tone, level 0..1\n"
    "  noise <seed> <seconds> <level>   white noise, level 0..1\n"
    "  rest <seconds>                   silence\n";

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
    std::fprintf(stderr, "soundtool: %s %s\n", argv[1], readError.text.c_str());
    return 1;
  }
  SoundClip clip;
  std::string error;
  if (!BuildSoundFromDescription(text, &clip, &error)) {
    std::fprintf(stderr, "soundtool: %s: %s\n", argv[1], error.c_str());
    return 1;
  }
  const std::string output = argv[2];
  const std::vector<uint8_t> bytes = str::EndsWithNoCase(output, ".wav")
                                         ? EncodeWave16(clip)
                                         : EncodeOggVorbis(clip.samples, clip.channels, clip.rate, kOggQuality);
  if (bytes.empty()) {
    std::fprintf(stderr, "soundtool: cannot encode %s\n", argv[2]);
    return 1;
  }
  std::string writeError;
  if (!platform::SaveFileDurably(argv[2], bytes.data(), bytes.size(), &writeError)) {
    std::fprintf(stderr, "soundtool: cannot write %s: %s\n", argv[2], writeError.c_str());
    return 1;
  }
  return 0;
}
