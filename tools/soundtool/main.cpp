// soundtool: writes an Ogg Vorbis sound from a text description (the
// statements are listed in SoundDescription.h and printed by --help), or a
// 16-bit PCM ".wav" when the output's name ends in ".wav".
//
//   soundtool <description.txt> <sound.ogg|sound.wav>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/StringUtil.h"
#include "tools/common/DescriptionTool.h"
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
  return RunDescriptionTool(
      argc, argv, "soundtool", kUsage, kMaxDescriptionBytes,
      [](const std::string& text, const std::string& description, const std::string& output,
         std::vector<uint8_t>* bytes, std::string* error) {
        SoundClip clip;
        std::string why;
        if (!BuildSoundFromDescription(text, &clip, &why)) {
          *error = description + ": " + why;
          return false;
        }
        *bytes = str::EndsWithNoCase(output, ".wav") ? EncodeWave16(clip)
                                                      : EncodeOggVorbis(clip.samples, clip.channels, clip.rate,
                                                                        kOggQuality);
        return true;
      });
}
