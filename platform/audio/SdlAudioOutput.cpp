// The real output: an SDL2 playback device whose callback pulls 16-bit
// samples from the device core's mixer on SDL's audio thread.
#include <SDL.h>

#include <string>

#include "platform/audio/AudioInternal.h"

namespace platform::audio_impl {
namespace {

void Pull(void* userdata, Uint8* stream, int length) {
  auto* core = static_cast<DeviceCore*>(userdata);
  std::lock_guard<std::mutex> lock(core->mutex);
  const size_t frames = static_cast<size_t>(length) / (sizeof(int16_t) * core->channels);
  core->MixLocked(reinterpret_cast<int16_t*>(stream), frames);
}

// SDL's audio stays started from the first use to the end of the process:
// stopping it when a device list was read or a device closed would make
// the next open start the audio system (and its server connection) again.
bool StartAudio(std::string* error) {
  static bool started = false;
  if (started) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    if (error) *error = SDL_GetError();
    return false;
  }
  started = true;
  return true;
}

}  // namespace

std::unique_ptr<SdlOutput> SdlOutput::Open(DeviceCore* core, const char* deviceName, uint32_t rate,
                                           uint16_t channels, std::string* error) {
  if (!StartAudio(error)) return nullptr;
  SDL_AudioSpec want{};
  SDL_AudioSpec have{};
  want.freq = static_cast<int>(rate);
  want.format = AUDIO_S16SYS;
  want.channels = static_cast<Uint8>(channels);
  want.samples = 1024;
  want.callback = Pull;
  want.userdata = core;
  // No changes allowed: SDL converts to whatever the hardware wants, so the
  // mixer always works at the primary format.
  const SDL_AudioDeviceID id = SDL_OpenAudioDevice(deviceName, 0, &want, &have, 0);
  if (id == 0) {
    *error = SDL_GetError();
    return nullptr;
  }
  std::unique_ptr<SdlOutput> output(new SdlOutput());
  output->id_ = id;
  SDL_PauseAudioDevice(id, 0);
  return output;
}

SdlOutput::~SdlOutput() { SDL_CloseAudioDevice(id_); }

bool ListSdlDevices(std::vector<std::string>* names, std::string* driver) {
  if (!StartAudio(nullptr)) return false;
  const char* current = SDL_GetCurrentAudioDriver();
  *driver = current ? current : "";
  const int count = SDL_GetNumAudioDevices(0);
  for (int i = 0; i < count; ++i) {
    const char* name = SDL_GetAudioDeviceName(i, 0);
    if (name) names->emplace_back(name);
  }
  return true;
}

}  // namespace platform::audio_impl
