// The audio manager's listener tick over 1,000 positional sounds against a
// plain loop doing the same arithmetic (distance, volume, pan) over an array.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "engine/entity/Entity3D.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/tests/SilentSoundMgr.h"
#include "scene/AudioManager.h"
#include "scene/KV9InputManager.h"

namespace {

constexpr int kSounds = 1000;

// Answers every sound as playing and keeps the last volume and pan.
class PlayingSound : public SilentSoundMgr {
 public:
  const char* GetName() override { return "PlayingSound"; }
  const char* GetDescription() override { return "every sound plays"; }
  SoundHandle* CreateAttachedSound(const std::string&, const void*, bool, bool) override {
    handles.push_back(std::make_unique<SoundHandle>());
    return handles.back().get();
  }
  bool PlaySound(SoundHandle*, bool) override { return true; }
  bool IsPlaying(SoundHandle*) override { return true; }
  void SetVolume(SoundHandle*, float v) override { volume = v; }
  void SetPan(SoundHandle*, int32_t p) override { pan = p; }
  std::vector<std::unique_ptr<SoundHandle>> handles;
  float volume = 0.0f;
  int32_t pan = 0;
};

struct Source {
  float x, y, z;
};

void BM_AudioManagerListenerTick(benchmark::State& state) {
  cKV9_GlobalWrapper table(
      cKV9_GlobalWrapper::InputManagerHooks{&cKV9_InputManager::Create, &cKV9_InputManager::Destroy});
  PlayingSound sound;
  table.SetSound(&sound);
  cEntity_AudioManager audio(table.entityManager);
  std::vector<std::unique_ptr<cEntity_Base3D>> objects;
  for (int i = 0; i < kSounds; ++i) {
    objects.push_back(std::make_unique<cEntity_Base3D>(table.entityManager));
    objects.back()->SetPosition(static_cast<float>(i % 40) * 5.0f - 100.0f, 0.0f, static_cast<float>(i / 40) * 5.0f);
    audio.AddObjectSound(objects.back().get(), "car.wav", 1.0f, 0.0f);
  }
  const float eye[3] = {0.0f, 20.0f, -10.0f};
  const float target[3] = {0.0f, 0.0f, 30.0f};
  for (auto _ : state) {
    audio.PlaceSounds(eye, target);
    benchmark::DoNotOptimize(sound.pan);
  }
  state.SetItemsProcessed(state.iterations() * kSounds);
  table.SetSound(nullptr);
}
BENCHMARK(BM_AudioManagerListenerTick);

void BM_PlainLoopSameArithmetic(benchmark::State& state) {
  std::vector<Source> sources;
  for (int i = 0; i < kSounds; ++i)
    sources.push_back({static_cast<float>(i % 40) * 5.0f - 100.0f, 0.0f, static_cast<float>(i / 40) * 5.0f});
  std::vector<float> volumes(kSounds);
  std::vector<int32_t> pans(kSounds);
  const float eye[3] = {0.0f, 20.0f, -10.0f};
  const float earA[3] = {1.0f, 20.0f, -10.0f};
  const float earB[3] = {-1.0f, 20.0f, -10.0f};
  auto dist = [](const Source& s, const float p[3]) {
    const float dx = s.x - p[0], dy = s.y - p[1], dz = s.z - p[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
  };
  for (auto _ : state) {
    for (int i = 0; i < kSounds; ++i) {
      const float d = dist(sources[static_cast<size_t>(i)], eye);
      if (d > 100.0f) continue;
      volumes[static_cast<size_t>(i)] = (100.0f - d) * 0.01f;
      const float dA = dist(sources[static_cast<size_t>(i)], earA);
      const float dB = dist(sources[static_cast<size_t>(i)], earB);
      const float near = d <= 30.0f ? d / 30.0f : 1.0f;
      pans[static_cast<size_t>(i)] = static_cast<int32_t>((dA - dB) * 0.5f * 10000.0f * near);
    }
    benchmark::DoNotOptimize(pans.data());
    benchmark::DoNotOptimize(volumes.data());
  }
  state.SetItemsProcessed(state.iterations() * kSounds);
}
BENCHMARK(BM_PlainLoopSameArithmetic);

}  // namespace
