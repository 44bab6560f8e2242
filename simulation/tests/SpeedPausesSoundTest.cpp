#include <gtest/gtest.h>

#include "platform/audio/AudioOutput.h"
#include "simulation/Simulation.h"
#include "simulation/tests/kit/SimWorld.h"
#include "sound/DXSoundBuffer.h"
#include "sound/SoundHandleDX.h"
#include "sound/SoundMgrDX8.h"
#include "sound/tests/SoundServiceTestUtil.h"

namespace {

// The real sound service on the null output: pausing the game pauses the
// playing sounds and leaves the music; going on resumes them.
TEST(SpeedPausesSoundTest, SetSpeedPausesAndResumesTheSoundService) {
  platform::SetAudioOutputKind(platform::AudioOutputKind::Null);
  simkit::SimWorld world;
  ASSERT_TRUE(world.ready);
  auto service = std::make_unique<SoundMgrDX8>();
  ASSERT_TRUE(service->ResetDeviceSelection());
  ASSERT_TRUE(service->Init(nullptr));
  world.dir.Write("tone.wav", soundtest::MakeWave(1, 22050, 16, 22050, 8000));
  SoundHandle* sound = service->CreateSound(world.dir.File("tone.wav"));
  SoundHandle* music = service->CreateMusic(world.dir.File("tone.wav"));
  ASSERT_NE(sound, nullptr);
  ASSERT_NE(music, nullptr);
  ASSERT_TRUE(service->PlaySound(sound, true));
  ASSERT_TRUE(service->PlayMusic(music));
  world.table.SetSound(service.get());
  world.BuildWorld();
  auto state = [](SoundHandle* h) { return static_cast<SoundHandleDX*>(h)->buffer->pauseState; };

  world.Clock().SetSpeed(0);
  EXPECT_EQ(state(sound), DXSoundBuffer::kPausedLooping);
  EXPECT_EQ(state(music), DXSoundBuffer::kNotPaused);
  world.Clock().SetSpeed(0);  // already paused: nothing more
  EXPECT_EQ(state(sound), DXSoundBuffer::kPausedLooping);
  world.Clock().SetSpeed(3);
  EXPECT_EQ(state(sound), DXSoundBuffer::kNotPaused);

  world.table.SetSound(nullptr);
  service->ReleaseAll();
}

}  // namespace
