// Mixer speed: seconds of 44.1 kHz stereo output mixed per second of CPU
// time ("realtime" counter) with 32 and 128 looping voices of mixed formats,
// volumes, pans and frequencies.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/audio/AudioApi.h"
#include "platform/audio/AudioOutput.h"

namespace {

using namespace platform;

WAVEFORMATEX Pcm(uint32_t rate, uint16_t channels) {
  WAVEFORMATEX f{};
  f.formatTag = WAVE_FORMAT_PCM;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.bitsPerSample = 16;
  f.blockAlign = static_cast<uint16_t>(channels * 2);
  f.avgBytesPerSec = rate * f.blockAlign;
  return f;
}

void MixVoices(benchmark::State& state) {
  const int voices = static_cast<int>(state.range(0));
  SetAudioOutputKind(AudioOutputKind::Null);
  IDirectSound8* device = nullptr;
  if (DirectSoundCreate8(nullptr, &device, nullptr) != DS_OK) {
    state.SkipWithError("no device");
    return;
  }
  device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY);
  DSBUFFERDESC primaryDesc;
  primaryDesc.flags = DSBCAPS_PRIMARYBUFFER;
  IDirectSoundBuffer8* primary = nullptr;
  device->CreateSoundBuffer(&primaryDesc, &primary, nullptr);
  const WAVEFORMATEX out = Pcm(44100, 2);
  primary->SetFormat(&out);

  std::vector<IDirectSoundBuffer8*> buffers;
  for (int v = 0; v < voices; ++v) {
    // Alternate 22.05 kHz mono and 44.1 kHz stereo sounds of two seconds.
    const WAVEFORMATEX format = (v % 2) ? Pcm(44100, 2) : Pcm(22050, 1);
    DSBUFFERDESC desc;
    desc.flags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    desc.bufferBytes = format.avgBytesPerSec * 2;
    desc.format = &format;
    IDirectSoundBuffer8* b = nullptr;
    device->CreateSoundBuffer(&desc, &b, nullptr);
    void* p1 = nullptr;
    uint32_t n1 = 0;
    b->Lock(0, 0, &p1, &n1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
    auto* samples = static_cast<int16_t*>(p1);
    for (uint32_t i = 0; i < n1 / 2; ++i)
      samples[i] = static_cast<int16_t>(8000 * std::sin(0.01 * i * (v + 1)));
    b->Unlock(p1, n1, nullptr, 0);
    b->SetVolume(-100 * (v % 20));
    b->SetPan(-5000 + 10000 * v / voices);
    if (v % 3 == 0) b->SetFrequency(format.samplesPerSec + 1000 * (v % 7));
    b->Play(0, 0, DSBPLAY_LOOPING);
    buffers.push_back(b);
  }

  constexpr size_t kFrames = 44100;  // one second of output per iteration
  for (auto _ : state) benchmark::DoNotOptimize(RenderAudioFrames(kFrames));
  state.counters["realtime"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);

  for (IDirectSoundBuffer8* b : buffers) b->Release();
  primary->Release();
  device->Release();
}
BENCHMARK(MixVoices)->Arg(32)->Arg(128)->Unit(benchmark::kMillisecond);

}  // namespace
