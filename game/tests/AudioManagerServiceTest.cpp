// The audio manager on the real sound service's recording output, which
// makes a new handle for every sound or music it is asked to create: the
// music (and the background loop) already playing goes on untouched when it
// is asked for again, and another file replaces it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "scene/AudioManager.h"
#include "game/tests/GameTestWorld.h"
#include "platform/audio/AudioOutput.h"
#include "sound/DXSoundBuffer.h"
#include "sound/SoundHandleDX.h"
#include "sound/SoundMgrDX8.h"

namespace gametest {
namespace {

const std::string kRunData = GAME_DATA_DIR;

// Where the handle's buffer is playing, in bytes; 0 without a buffer.
uint32_t PlayCursor(SoundHandle* handle) {
  auto* dx = static_cast<SoundHandleDX*>(handle);
  uint32_t play = 0, write = 0;
  if (dx && dx->buffer && dx->buffer->GetBuffer()) dx->buffer->GetBuffer()->GetCurrentPosition(&play, &write);
  return play;
}

class AudioOnTheService : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetAudioOutputKind(platform::AudioOutputKind::Recording);
    ASSERT_TRUE(sound.ResetDeviceSelection());
    ASSERT_TRUE(sound.Init(nullptr));
    world.table.SetSound(&sound);
    audio = std::make_unique<cEntity_AudioManager>(world.table.entityManager);
  }
  void TearDown() override {
    audio.reset();
    world.table.SetSound(nullptr);
    sound.ReleaseAll();
  }
  // A tenth of a second mixed.
  void Mix() {
    platform::RenderAudioFrames(4410);
    platform::TakeRecordedSamples();
  }

  WorkingDirectory directory{kRunData};
  SoundMgrDX8 sound;
  GameWorld world;
  std::unique_ptr<cEntity_AudioManager> audio;
};

TEST_F(AudioOnTheService, TheMusicOrLoopPlayingGoesOnWhenAskedForAgain) {
  struct Case {
    const char* name;
    std::function<void(cEntity_AudioManager&, const std::string&)> play;
    std::function<SoundHandle*(cEntity_AudioManager&)> current;
    std::function<size_t(SoundMgrDX8&)> handles;
    const char* file;
    const char* sameFile;  // the same file, spelled another way
    const char* otherFile;
  } cases[] = {
      {"music", [](cEntity_AudioManager& a, const std::string& f) { a.PlayMusic(f); },
       [](cEntity_AudioManager& a) { return a.GetMusic(); },
       [](SoundMgrDX8& s) { return s.GetMusicList().size(); }, "Sounds\\Music\\interface-music.ogg",
       "sounds\\music\\INTERFACE-MUSIC.ogg", "Sounds\\Music\\harbour_breeze.wav"},
      {"loop", [](cEntity_AudioManager& a, const std::string& f) { a.PlaySoundLoop(f); },
       [](cEntity_AudioManager& a) { return a.GetLoop(); },
       [](SoundMgrDX8& s) { return s.GetSoundList()->size(); }, "Sounds\\Music\\harbour_breeze.wav",
       "SOUNDS\\Music\\harbour_breeze.WAV", "Sounds\\Music\\steppe_wind.wav"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.play(*audio, kRunData + c.file);
    SoundHandle* first = c.current(*audio);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(sound.IsPlaying(first));
    const size_t handles = c.handles(sound);
    Mix();
    const uint32_t played = PlayCursor(first);
    ASSERT_GT(played, 0u);

    for (const char* again : {c.file, c.sameFile}) {
      c.play(*audio, kRunData + again);
      ASSERT_EQ(c.current(*audio), first) << again;
      EXPECT_EQ(c.handles(sound), handles) << again << ": no further handle";
      EXPECT_TRUE(sound.IsPlaying(first)) << again;
      EXPECT_GE(PlayCursor(first), played) << again << ": not started over";
    }

    c.play(*audio, kRunData + c.otherFile);
    // A stopped sound's handle goes at the service's next full update.
    sound.Update(10.0f);
    SoundHandle* other = c.current(*audio);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, first);
    EXPECT_EQ(static_cast<SoundHandleDX*>(other)->fileName, kRunData + c.otherFile);
    EXPECT_EQ(c.handles(sound), handles) << "the old one released";
    EXPECT_TRUE(sound.IsPlaying(other));

    c.play(*audio, "");
    EXPECT_EQ(c.current(*audio), nullptr);
    // The file played before is played anew after a stop.
    c.play(*audio, kRunData + c.file);
    ASSERT_NE(c.current(*audio), nullptr);
    EXPECT_TRUE(sound.IsPlaying(c.current(*audio)));
    c.play(*audio, "");
  }
}

}  // namespace
}  // namespace gametest
