// Mixer speed: seconds of 44.1 kHz stereo output mixed per second of CPU
// time ("realtime" counter) with 32 and 128 looping voices of mixed formats,
// volumes, pans and frequencies. The reference is a plain scalar float loop
// over the same voices' samples doing volume and pan only (each voice at its
// own rate, no resampling), then the same rounding to 16 bits.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/audio/AudioApi.h"
#include "platform/audio/AudioOutput.h"
#include "platform/audio/Mixer.h"

namespace {

using namespace platform;

constexpr size_t kFrames = 44100;  // one second of output per iteration

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

// One benchmark voice: two seconds of sound and how it is played.
struct VoiceSetup {
  WAVEFORMATEX format;
  std::vector<int16_t> samples;
  int32_t volume;
  int32_t pan;
  uint32_t frequency;  // 0: the sound's own rate
};

std::vector<VoiceSetup> MakeVoices(int voices) {
  std::vector<VoiceSetup> setups;
  for (int v = 0; v < voices; ++v) {
    // Alternate 22.05 kHz mono and 44.1 kHz stereo sounds of two seconds.
    VoiceSetup s;
    s.format = (v % 2) ? Pcm(44100, 2) : Pcm(22050, 1);
    s.samples.resize(s.format.avgBytesPerSec * 2 / 2);
    for (size_t i = 0; i < s.samples.size(); ++i)
      s.samples[i] = static_cast<int16_t>(8000 * std::sin(0.01 * static_cast<double>(i) * (v + 1)));
    s.volume = -100 * (v % 20);
    s.pan = -5000 + 10000 * v / voices;
    s.frequency = (v % 3 == 0) ? s.format.samplesPerSec + 1000 * (v % 7) : 0;
    setups.push_back(std::move(s));
  }
  return setups;
}

void MixVoices(benchmark::State& state) {
  const std::vector<VoiceSetup> setups = MakeVoices(static_cast<int>(state.range(0)));
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
  for (const VoiceSetup& s : setups) {
    DSBUFFERDESC desc;
    desc.flags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    desc.bufferBytes = static_cast<uint32_t>(s.samples.size() * 2);
    desc.format = &s.format;
    IDirectSoundBuffer8* b = nullptr;
    device->CreateSoundBuffer(&desc, &b, nullptr);
    void* p1 = nullptr;
    uint32_t n1 = 0;
    b->Lock(0, 0, &p1, &n1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
    std::memcpy(p1, s.samples.data(), n1);
    b->Unlock(p1, n1, nullptr, 0);
    b->SetVolume(s.volume);
    b->SetPan(s.pan);
    if (s.frequency) b->SetFrequency(s.frequency);
    b->Play(0, 0, DSBPLAY_LOOPING);
    buffers.push_back(b);
  }

  for (auto _ : state) benchmark::DoNotOptimize(RenderAudioFrames(kFrames));
  state.counters["realtime"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);

  for (IDirectSoundBuffer8* b : buffers) b->Release();
  primary->Release();
  device->Release();
}
BENCHMARK(MixVoices)->Arg(32)->Arg(128)->Unit(benchmark::kMillisecond);

// The reference loops are kept scalar: they stand for the straightforward
// loop, not for what the vectoriser makes of it.
#if defined(__clang__)
#define REFERENCE_SCALAR
#define REFERENCE_LOOP _Pragma("clang loop vectorize(disable) interleave(disable)")
#elif defined(__GNUC__)
#define REFERENCE_SCALAR __attribute__((optimize("no-tree-vectorize")))
#define REFERENCE_LOOP
#else
#define REFERENCE_SCALAR
#define REFERENCE_LOOP
#endif

struct ReferenceVoice {
  const int16_t* samples;
  size_t frames;
  int channels;
  size_t position = 0;
  float left, right;
};

REFERENCE_SCALAR void ReferenceMix(std::vector<ReferenceVoice>& voices, std::vector<float>& accum,
                                   std::vector<int16_t>& out) {
  std::fill(accum.begin(), accum.end(), 0.0f);
  for (ReferenceVoice& v : voices) {
    REFERENCE_LOOP
    for (size_t f = 0; f < kFrames; ++f) {
      const size_t i = v.position * static_cast<size_t>(v.channels);
      const float l = v.samples[i];
      const float r = v.channels == 2 ? v.samples[i + 1] : l;
      accum[f * 2] += l * v.left;
      accum[f * 2 + 1] += r * v.right;
      if (++v.position == v.frames) v.position = 0;
    }
  }
  REFERENCE_LOOP
  for (size_t i = 0; i < accum.size(); ++i) {
    const float s = accum[i] < -32768.0f ? -32768.0f : (accum[i] > 32767.0f ? 32767.0f : accum[i]);
    out[i] = static_cast<int16_t>(std::lrint(s));
  }
}

void ReferenceScalarLoop(benchmark::State& state) {
  const std::vector<VoiceSetup> setups = MakeVoices(static_cast<int>(state.range(0)));
  std::vector<ReferenceVoice> voices;
  for (const VoiceSetup& s : setups) {
    ReferenceVoice v{s.samples.data(), s.samples.size() / s.format.channels, s.format.channels, 0, 1.0f, 1.0f};
    const float gain = VolumeToGain(s.volume);
    PanToGains(s.pan, &v.left, &v.right);
    v.left *= gain;
    v.right *= gain;
    voices.push_back(v);
  }
  std::vector<float> accum(kFrames * 2);
  std::vector<int16_t> out(kFrames * 2);
  for (auto _ : state) {
    ReferenceMix(voices, accum, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["realtime"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(ReferenceScalarLoop)->Arg(32)->Arg(128)->Unit(benchmark::kMillisecond);

}  // namespace
