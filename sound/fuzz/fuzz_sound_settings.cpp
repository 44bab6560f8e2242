// Feeds arbitrary values to the sound settings: each input line becomes the
// value of one option of "snd_dx8.cfg" in turn, and the service starts on
// the recording output with them. Any values must start or be refused
// without harm.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/DebugOutput.h"
#include "platform/tests/FuzzFiles.h"
#include "platform/audio/AudioOutput.h"
#include "sound/SoundMgrDX8.h"

namespace {

constexpr const char* kOptions[] = {"snd_dx8_sample_rate",   "snd_dx8_channels",      "snd_dx8_bits_per_sample",
                                    "snd_dx8_device_guid",   "snd_dx8_disable_music", "snd_dx8_disable_sound",
                                    "snd_dx8_fx_hardwareonly", "snd_dx8_max_same_buffers"};

// The settings file with the input's lines as values. A value cannot hold a
// double quote (the file has no escape for one), so those become blanks.
std::string SettingsText(std::string_view input) {
  std::string text;
  size_t pos = 0;
  for (const char* name : kOptions) {
    const size_t end = std::min(input.find('\n', pos), input.size());
    std::string value(input.substr(std::min(pos, input.size()), end - std::min(pos, input.size())));
    for (char& c : value)
      if (c == '"' || c == '\r' || c == '\0') c = ' ';
    pos = end + 1;
    text += std::string("OBJECT ") + name + "\r\n{\r\n\tset name \"" + name + "\"\r\n\tset value \"" + value +
            "\"\r\n}\r\n";
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    platform::SetDebugStderr(false);
    platform::SetAudioOutputKind(platform::AudioOutputKind::Recording);
    return true;
  }();
  (void)ready;
  // The service reads its settings file by its bare name: libFuzzer runs
  // each target from its own scratch directory, the working directory here.
  const std::string text = SettingsText(std::string_view(reinterpret_cast<const char*>(data), size));
  FuzzWriteFile("snd_dx8.cfg", text.data(), text.size());
  SoundMgrDX8 service;
  if (service.ResetDeviceSelection()) {
    service.LoadConfig();
    if (service.Init(nullptr)) platform::RenderAudioFrames(64);
    service.ReleaseAll();
  }
  platform::TakeRecordedSamples();
  return 0;
}
