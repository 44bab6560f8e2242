// The audio manager against a recording sound service: volumes from the
// settings, music and loop replacement, and the listener tick's distance,
// volume and pan for positional sounds.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "engine/entity/Entity3D.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/tests/SilentSoundMgr.h"
#include "game/tests/GameTestWorld.h"
#include "scene/AudioManager.h"

namespace gametest {
namespace {

// Remembers every handle it made and what was done to each.
class RecordingSound : public SilentSoundMgr {
 public:
  const char* GetName() override { return "RecordingSound"; }
  const char* GetDescription() override { return "records what the audio manager asks"; }
  struct State {
    bool playing = false;
    bool loop = false;
    float volume = 1.0f;
    int32_t pan = 0;
    int plays = 0;
    bool released = false;
  };
  SoundHandle* Make(const std::string& name) {
    handles.push_back(std::make_unique<SoundHandle>());
    names[handles.back().get()] = name;
    return handles.back().get();
  }
  SoundHandle* CreateSound(const std::string& name) override { return Make(name); }
  SoundHandle* CreateMusic(const std::string& name) override {
    // The same music asked for again is the same handle.
    for (auto& [h, n] : names) {
      if (n == name && musics.count(h)) return h;
    }
    SoundHandle* h = Make(name);
    musics[h] = true;
    return h;
  }
  SoundHandle* CreateAttachedSound(const std::string& name, const void*, bool, bool) override { return Make(name); }
  SoundHandle* CreateSoundAt(const std::string& name, JVector at, bool, bool) override {
    SoundHandle* h = Make(name);
    h->position = {at.x, at.y, at.z, 0.0f};
    return h;
  }
  bool PlaySound(SoundHandle* h, bool loop) override {
    state[h].playing = true;
    state[h].loop = loop;
    ++state[h].plays;
    return true;
  }
  bool PlayMusic(SoundHandle* h) override { return PlaySound(h, true); }
  bool StopSound(SoundHandle* h) override {
    state[h].playing = false;
    return true;
  }
  bool StopMusic(SoundHandle* h) override { return StopSound(h); }
  bool ReleaseSound(SoundHandle* h) override {
    state[h].released = true;
    return true;
  }
  bool ReleaseMusic(SoundHandle* h) override {
    state[h].released = true;
    musics.erase(h);
    return true;
  }
  bool IsPlaying(SoundHandle* h) override { return state[h].playing; }
  void SetVolume(SoundHandle* h, float v) override { state[h].volume = v; }
  float GetVolume(SoundHandle* h) override { return h ? state[h].volume : -1.0f; }
  void SetPan(SoundHandle* h, int32_t pan) override { state[h].pan = pan; }
  std::list<SoundHandle*>* GetSoundList() override { return &list; }

  std::vector<std::unique_ptr<SoundHandle>> handles;
  std::map<SoundHandle*, std::string> names;
  std::map<SoundHandle*, bool> musics;
  std::map<SoundHandle*, State> state;
  std::list<SoundHandle*> list;
};

struct AudioWorld : GameWorld {
  AudioWorld() {
    table.SetSound(&sound);
    audio = std::make_unique<cEntity_AudioManager>(table.entityManager);
  }
  ~AudioWorld() {
    audio.reset();
    table.SetSound(nullptr);
  }
  RecordingSound sound;
  std::unique_ptr<cEntity_AudioManager> audio;
};

TEST(AudioManager, VolumesFromTheSettings) {
  struct Case {
    const char* value;  // null: the key is missing
    float volume;
  } cases[] = {{"255", 1.0f}, {nullptr, 50.0f / 255.0f}, {"0", 0.0f}, {"-5", 0.0f}, {"51", 0.2f}};
  for (const Case& c : cases) {
    AudioWorld w;
    w.config.SetValue("App", "SoundVolume", c.value ? c.value : "");
    w.config.SetValue("App", "MusicVolume", c.value ? c.value : "");
    if (!c.value) {
      // A fresh configuration without the keys.
      cKV9_ConfigManager empty;
      w.table.SetConfigManager(&empty);
      w.audio->LoadVolumes();
      w.table.SetConfigManager(&w.config);
    } else {
      w.audio->LoadVolumes();
    }
    EXPECT_NEAR(w.audio->GetSoundVolume(), c.volume, 1e-6f) << (c.value ? c.value : "missing");
    EXPECT_NEAR(w.audio->GetMusicVolume(), c.volume, 1e-6f) << (c.value ? c.value : "missing");
  }
}

TEST(AudioManager, MusicAndLoopReplacement) {
  AudioWorld w;
  w.audio->PlayMusic("a.ogg");
  SoundHandle* first = w.audio->GetMusic();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(w.sound.state[first].plays, 1);
  // The same music again changes nothing.
  w.audio->PlayMusic("a.ogg");
  EXPECT_EQ(w.audio->GetMusic(), first);
  EXPECT_EQ(w.sound.state[first].plays, 1);
  w.audio->PlayMusic("b.ogg");
  EXPECT_TRUE(w.sound.state[first].released);
  EXPECT_NE(w.audio->GetMusic(), first);
  // An empty name stops it.
  SoundHandle* second = w.audio->GetMusic();
  w.audio->PlayMusic("");
  EXPECT_EQ(w.audio->GetMusic(), nullptr);
  EXPECT_FALSE(w.sound.state[second].playing);

  EXPECT_EQ(w.audio->PlaySound("", false, 0), nullptr);
  SoundHandle* once = w.audio->PlaySound("x.wav", false, 1);
  ASSERT_NE(once, nullptr);
  EXPECT_TRUE(once->callerFlag);
  EXPECT_FALSE(w.sound.state[once].loop);

  w.audio->CrossFadeLoop("rain.wav", 0.8f, 2.0f);
  SoundHandle* rain = w.audio->GetFadingIn();
  ASSERT_NE(rain, nullptr);
  EXPECT_FLOAT_EQ(w.sound.state[rain].volume, 0.0f);
  w.audio->CrossFadeLoop("wind.wav", 0.5f, 1.0f);
  EXPECT_EQ(w.audio->GetFadingOut(), rain);
  w.audio->SetCrossFadeMix(0.25f);
  EXPECT_FLOAT_EQ(w.sound.state[rain].volume, 0.75f);
  EXPECT_FLOAT_EQ(w.sound.state[w.audio->GetFadingIn()].volume, 0.25f);
  w.audio->SetCrossFadeMix(1.0f);
  EXPECT_FALSE(w.sound.state[rain].playing);
}

TEST(AudioManager, ListenerTickPlacesPositionalSounds) {
  AudioWorld w;
  // The listener at the origin looks along +z; ear A lies one unit along
  // +x, ear B one unit along -x.
  const float eye[3] = {0.0f, 0.0f, 0.0f};
  const float target[3] = {0.0f, 0.0f, 10.0f};
  auto* object = new cEntity_Base3D(w.table.entityManager);
  w.audio->AddObjectSound(object, "car.wav", 1.0f, 7.0f);
  ASSERT_EQ(w.audio->GetNodes().size(), 1u);
  SoundHandle* h = w.audio->GetNodes()[0].handle;
  EXPECT_EQ(w.audio->GetNodes()[0].value, 7u);

  struct Case {
    const char* name;
    float x, z;
    bool playing;
    float volume;  // checked when playing
    int32_t pan;
  } cases[] = {
      {"straight ahead", 0.0f, 50.0f, true, 0.5f, 0},
      {"exactly 100 away", 0.0f, 100.0f, true, 0.0f, 0},
      {"100.5 away", 0.0f, 100.5f, false, 0.0f, 0},
      {"back within 100", 0.0f, 20.0f, true, 0.8f, 0},
      {"level with ear B, far", -60.0f, 0.0f, true, 0.4f, 10000},
      {"level with ear A, far", 60.0f, 0.0f, true, 0.4f, -10000},
      {"level with ear B, 15 away", -15.0f, 0.0f, true, 0.85f, 5000},
  };
  for (const Case& c : cases) {
    object->SetPosition(c.x, 0.0f, c.z);
    w.audio->PlaceSounds(eye, target);
    EXPECT_EQ(w.sound.state[h].playing, c.playing) << c.name;
    if (!c.playing) continue;
    EXPECT_NEAR(w.sound.state[h].volume, c.volume, 1e-4f) << c.name;
    EXPECT_NEAR(w.sound.state[h].pan, c.pan, 2) << c.name;
    EXPECT_TRUE(w.sound.state[h].loop) << c.name;
  }
  w.audio->RemoveObjectSounds(object);
  EXPECT_TRUE(w.audio->GetNodes().empty());
  EXPECT_TRUE(w.sound.state[h].released);
  delete object;
}

TEST(AudioManager, NoListenerNoSoundServiceNothingHappens) {
  AudioWorld w;
  // No main camera: the tick places nothing.
  auto* object = new cEntity_Base3D(w.table.entityManager);
  w.audio->AddObjectSound(object, "car.wav", 0.0f, 0.0f);
  SoundHandle* h = w.audio->GetNodes()[0].handle;
  w.sound.state[h].volume = 0.33f;
  TimeEvent event;
  event.accumulated = 0.1f;
  w.audio->OnTimeEvent(&event);
  EXPECT_FLOAT_EQ(w.sound.state[h].volume, 0.33f);
  w.audio->RemoveObjectSounds(object);
  delete object;

  w.table.SetSound(nullptr);
  EXPECT_EQ(w.audio->PlaySound("x.wav", true, 0), nullptr);
  w.audio->PlayMusic("m.ogg");
  EXPECT_EQ(w.audio->GetMusic(), nullptr);
}

}  // namespace
}  // namespace gametest
