// Sound and music handles heard through the recording output: volumes and
// pans through the decibel table, looping, stopping, pausing, releasing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/entity/EntityBase.h"
#include "platform/DebugOutput.h"
#include "sound/DX3DSoundBuffer.h"
#include "sound/DX3DSoundListener.h"
#include "sound/SoundEffect.h"
#include "sound/SoundHandleDX.h"
#include "sound/VolumeTable.h"
#include "sound/tests/SoundServiceTestUtil.h"

namespace soundtest {
namespace {

// A file whose sample i is i, so the play position can be read off the output.
std::string MakeRamp(uint32_t frames) {
  std::string wave = MakeWave(1, 44100, 16, frames, 0);
  const size_t data = wave.size() - frames * 2;
  for (uint32_t i = 0; i < frames; ++i) {
    wave[data + i * 2] = static_cast<char>(i & 0xFF);
    wave[data + i * 2 + 1] = static_cast<char>((i >> 8) & 0xFF);
  }
  return wave;
}

DXSoundBuffer* BufferOf(SoundHandle* h) { return h ? static_cast<SoundHandleDX*>(h)->buffer : nullptr; }

using SoundHandles = ServiceTest;

TEST_F(SoundHandles, VolumeAndPanGiveTheTableAmplitudes) {
  Start();
  const std::string tone = AddTone("tone.wav");
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    float volume;
    int32_t pan;
  } cases[] = {{1.0f, 0},    {0.5f, 0},   {0.5f, 600},  {0.25f, -2000}, {0.75f, 10000},
               {0.0f, 0},    {2.0f, 0},   {-1.0f, 0},   {nan, 0},       {0.9f, -10000}};
  for (const auto& c : cases) {
    SoundHandle* h = service->CreateSound(tone);
    ASSERT_NE(BufferOf(h), nullptr);
    service->SetVolume(h, c.volume);
    service->SetPan(h, c.pan);
    ASSERT_TRUE(service->PlaySound(h, false));
    const std::vector<int16_t> samples = Render(64);
    ASSERT_EQ(samples.size(), 128u);
    const double level = 16000.0 * Gain(VolumeToHundredthsDb(c.volume));
    const double left = level * (c.pan > 0 ? Gain(-c.pan) : 1.0);
    const double right = level * (c.pan < 0 ? Gain(c.pan) : 1.0);
    for (size_t f = 0; f < 64; ++f) {
      EXPECT_NEAR(samples[f * 2], left, 1.0) << c.volume << " " << c.pan;
      EXPECT_NEAR(samples[f * 2 + 1], right, 1.0) << c.volume << " " << c.pan;
    }
    if (!std::isnan(c.volume)) {
      EXPECT_EQ(service->GetVolume(h), c.volume);
    }
    service->StopSound(h);
    EXPECT_FALSE(service->ReleaseSound(h));  // a one-shot handle goes on the next full update
  }
  // Each new handle took the idle buffer of the one before.
  EXPECT_EQ(service->GetBufferCache().size(), 1u);
  service->Update(3.0f);
  EXPECT_TRUE(service->GetSoundList()->empty());
  // Out of range pans are refused and leave the pan as it was.
  SoundHandle* h = service->CreateSound(tone);
  service->SetPan(h, 10001);
  service->PlaySound(h, false);
  const std::vector<int16_t> samples = Render(4);
  EXPECT_EQ(samples[0], samples[1]);
}

TEST_F(SoundHandles, LoopOneShotStopAndRelease) {
  Start();
  const std::string shortTone = AddTone("short.wav", 100);
  SoundHandle* once = service->CreateSound(shortTone);
  ASSERT_TRUE(service->PlaySound(once, false));
  std::vector<int16_t> s = Render(150);
  EXPECT_EQ(s[2 * 99], 16000);
  EXPECT_EQ(s[2 * 100], 0);
  EXPECT_TRUE(service->IsPlaying(once));  // until the status is refreshed
  service->Update(0.1f);
  EXPECT_FALSE(service->IsPlaying(once));

  SoundHandle* loop = service->CreateSound(shortTone);
  ASSERT_TRUE(service->PlaySound(loop, true));
  s = Render(250);
  EXPECT_EQ(s[2 * 249], 16000);
  EXPECT_TRUE(service->IsPlaying(loop));
  // Stopping is immediate: no fade.
  ASSERT_TRUE(service->StopSound(loop));
  s = Render(10);
  EXPECT_EQ(s[0], 0);
  EXPECT_FALSE(service->IsPlaying(loop));

  // Releasing a looping handle deletes it at once; a one-shot one after it ends.
  ASSERT_TRUE(service->PlaySound(loop, true));
  EXPECT_TRUE(service->ReleaseSound(loop));
  EXPECT_EQ(service->GetSoundList()->size(), 1u);
  EXPECT_EQ(Render(4)[0], 0);
  ASSERT_TRUE(service->PlaySound(once, false));
  EXPECT_FALSE(service->ReleaseSound(once));
  service->Update(3.0f);
  EXPECT_EQ(service->GetSoundList()->size(), 1u);  // still playing
  Render(200);
  service->Update(3.0f);
  EXPECT_TRUE(service->GetSoundList()->empty());
  EXPECT_FALSE(service->ReleaseSound(once));  // gone: not found
}

TEST_F(SoundHandles, PausingKeepsThePlace) {
  Start();
  dir.Write("ramp.wav", MakeRamp(1000));
  SoundHandle* h = service->CreateSound(dir.File("ramp.wav"));
  ASSERT_TRUE(service->PlaySound(h, false));
  std::vector<int16_t> s = Render(100);
  EXPECT_EQ(s[2 * 99], 99);
  ASSERT_TRUE(service->Pause(h));
  EXPECT_EQ(Render(10)[0], 0);
  // A global resume leaves a handle's own pause alone.
  service->PauseAllSounds(false);
  EXPECT_EQ(Render(10)[0], 0);
  ASSERT_TRUE(service->PlaySound(h, false));
  EXPECT_EQ(Render(1)[0], 100);

  service->PauseAllSounds(true);
  EXPECT_EQ(Render(5)[0], 0);
  service->PauseAllSounds(false);
  EXPECT_EQ(Render(1)[0], 101);
  // Stopped while paused: the resume does not start it again.
  service->PauseAllSounds(true);
  service->StopSound(h);
  service->PauseAllSounds(false);
  EXPECT_EQ(Render(5)[0], 0);
  EXPECT_FALSE(service->IsPlaying(h));
}

TEST_F(SoundHandles, MusicLoopsAndComesBack) {
  Start();
  const std::string tune = AddTone("tune.wav", 300, 9000);
  SoundHandle* music = service->CreateMusic(tune);
  ASSERT_NE(BufferOf(music), nullptr);
  ASSERT_TRUE(service->PlayMusic(music));
  EXPECT_EQ(Render(1000)[2 * 999], 9000);
  // Sound buffers are all released; the music handle gets a buffer again on
  // the next full update and carries on looping.
  service->ReleaseAllBuffers();
  EXPECT_EQ(BufferOf(music), nullptr);
  EXPECT_EQ(Render(4)[0], 0);
  service->Update(1.0f);
  service->Update(2.0f);
  ASSERT_NE(BufferOf(music), nullptr);
  EXPECT_EQ(Render(400)[2 * 399], 9000);
  ASSERT_TRUE(service->StopMusic(music));
  EXPECT_EQ(Render(4)[0], 0);
  service->PauseAllMusic(true);
  EXPECT_TRUE(service->ReleaseMusic(music));
  EXPECT_FALSE(service->ReleaseMusic(music));
  EXPECT_TRUE(service->GetMusicList().empty());

  service->SetMusicDisabled(true);
  EXPECT_EQ(service->CreateMusic(tune), nullptr);
  service->SetSoundDisabled(true);
  EXPECT_EQ(service->CreateSound(tune), nullptr);
  // Both off: the update does nothing at all, not even the status refresh.
  SoundHandle* stale = nullptr;
  service->SetSoundDisabled(false);
  stale = service->CreateSound(tune);
  service->PlaySound(stale, false);
  service->SetSoundDisabled(true);
  EXPECT_FALSE(service->PlaySound(stale, false));
  Render(400);
  service->Update(5.0f);
  EXPECT_TRUE(BufferOf(stale)->playing);
}

TEST_F(SoundHandles, FilesThatCannotLoad) {
  Start();
  platform::ScopedDebugCapture capture;
  SoundHandle* missing = service->CreateSound(dir.File("missing.wav"));
  ASSERT_NE(missing, nullptr);
  EXPECT_EQ(BufferOf(missing), nullptr);
  // Playing it answers yes and plays nothing; looping keeps it "playing".
  EXPECT_TRUE(service->PlaySound(missing, true));
  EXPECT_TRUE(service->IsPlaying(missing));
  for (int i = 0; i < 5; ++i) service->Update(3.0f);
  size_t reports = 0;
  for (size_t at = capture.Text().find("missing.wav"); at != std::string::npos;
       at = capture.Text().find("missing.wav", at + 1))
    ++reports;
  EXPECT_EQ(reports, 1u);  // tried once, not on every update
  EXPECT_EQ(BufferOf(service->CreateSound(dir.File("tone.mp3"))), nullptr);
  AddTone("upper.WAV", 10);
  EXPECT_NE(BufferOf(service->CreateSound(dir.File("upper.WAV"))), nullptr);
}

TEST_F(SoundHandles, FrequencyScaleAndDuration) {
  Start();
  SoundHandle* h = service->CreateSound(AddTone("tone.wav", 44100));
  DXSoundBuffer* b = BufferOf(h);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->durationMs, 1000u);
  EXPECT_FALSE(service->SetFrequencyScale(h, 1.5f));
  EXPECT_EQ(b->GetFrequency(), 44100u);
  EXPECT_TRUE(service->SetFrequencyScale(h, 0.5f));
  EXPECT_EQ(b->GetFrequency(), 22050u);
}

TEST(SoundDistance, VolumeFromDistanceIsGuarded) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    float d, lo, hi;
    int32_t volume;
  } cases[] = {{0.5f, 1, 101, 0},     {51, 1, 101, -5000},  {101, 1, 101, -10000}, {150, 1, 101, -10000},
               {5, 5, 5, -10000},     {4, 5, 5, 0},         {6, 10, 2, 0},         {12, 10, 2, -10000},
               {nan, 1, 101, -10000}, {3, 1, inf, -10000},  {1, 1, 101, 0}};
  for (const auto& c : cases) EXPECT_EQ(DistanceVolume(c.d, c.lo, c.hi), c.volume) << c.d << " " << c.lo << " " << c.hi;
}

// A game object that moves; the sound follows it.
class Mover : public cEntity_Base {
 public:
  Mover() : cEntity_Base(nullptr, kEntityType_Base) {}
  JVector GetPosition() override { return at; }
  JVector at;
};

struct ListenerObject {
  JVector position, front{0, 0, 1}, velocity;
};

TEST_F(SoundHandles, DistancePassNeedsAListenerObject) {
  Start();
  const std::string tone = AddTone("tone.wav");
  SoundHandle* fixed = service->CreateSoundAt(tone, JVector(51, 0, 0), false, false);
  service->SetMinDistance(fixed, 1.0f);
  service->SetMaxDistance(fixed, 101.0f);
  service->PlaySound(fixed, true);
  service->Update(3.0f);
  // The game attenuates and pans by itself while no listener object is set.
  EXPECT_EQ(BufferOf(fixed)->GetVolume(), 0);

  ListenerObject ear;
  service->SetListenerObject(&ear);
  service->Update(3.0f);
  EXPECT_EQ(BufferOf(fixed)->GetVolume(), -5000);

  Mover mover;
  mover.at = JVector(101, 0, 0);
  SoundHandle* follower = service->CreateAttachedSound(tone, &mover, false, false);
  service->PlaySound(follower, true);
  service->Update(3.0f);
  EXPECT_EQ(BufferOf(follower)->GetVolume(), -10000);
  mover.at = JVector(0, 0, 0.5f);
  service->Update(3.0f);
  EXPECT_EQ(BufferOf(follower)->GetVolume(), 0);
  EXPECT_EQ(BufferOf(follower)->position.z, 0.5f);
  // The listener moving away is heard although the object stands still.
  ear.position = JVector(0, 0, 200);
  service->Update(3.0f);
  EXPECT_EQ(BufferOf(follower)->GetVolume(), -10000);
  EXPECT_FALSE(service->GetListener()->HasMoved());
  // The caller's flag switches the pass off.
  SoundHandle* flagged = service->CreateSoundAt(tone, JVector(90, 0, 0), false, true);
  service->PlaySound(flagged, true);
  service->Update(3.0f);
  EXPECT_EQ(BufferOf(flagged)->GetVolume(), 0);
  service->SetListenerObject(nullptr);
}

TEST_F(SoundHandles, ThreeDimensionalSounds) {
  Start();
  const std::string mono = AddTone("mono.wav", 1000);
  dir.Write("stereo.wav", MakeWave(2, 44100, 16, 1000, 100));
  // A 3D buffer needs a mono sound: the failed load gives no buffer.
  SoundHandle* bad = service->CreateSoundAt(dir.File("stereo.wav"), JVector(1, 2, 3), true, false);
  EXPECT_EQ(BufferOf(bad), nullptr);
  EXPECT_TRUE(service->GetBufferCache().empty());

  SoundHandle* h = service->CreateSoundAt(mono, JVector(1, 2, 3), true, false);
  auto* b = static_cast<DX3DSoundBuffer*>(BufferOf(h));
  ASSERT_NE(b, nullptr);
  ASSERT_TRUE(b->Is3D());
  service->SetMinDistance(h, 2.0f);
  service->SetMaxDistance(h, 50.0f);

  // Made effects-capable, it stays a 3D buffer in the same place.
  FXHandle* chain = service->CreateFXHandle();
  service->AddEffect(chain, kEffectEcho);
  service->PlaySound(h, true);
  service->AttachFXHandle(h, chain);
  EXPECT_TRUE(b->fxCapable);
  EXPECT_TRUE(b->flags & platform::DSBCAPS_CTRL3D);
  ASSERT_NE(b->Get3DInterface(), nullptr);
  platform::DS3DBUFFER params;
  ASSERT_EQ(b->Get3DInterface()->GetAllParameters(&params), platform::DS_OK);
  EXPECT_EQ(params.position.x, 1.0f);
  EXPECT_EQ(params.position.z, 3.0f);
  EXPECT_EQ(params.minDistance, 2.0f);
  EXPECT_EQ(params.maxDistance, 50.0f);
  EXPECT_TRUE(service->IsPlaying(h));
  uint32_t status = 0;
  b->GetBuffer()->GetStatus(&status);
  EXPECT_TRUE(status & platform::DSBSTATUS_LOOPING);
}

}  // namespace
}  // namespace soundtest
