// The sound plug-in as the game gets it: loaded by the library manager from
// its library directory, started on the recording output, and driven only
// through the sound service interface.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/config/ConfigManager.h"
#include "engine/services/CoreBaseDescriptor.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/math/JVector.h"
#include "engine/services/LibraryManager.h"
#include "engine/services/SoundMgr.h"
#include "platform/Library.h"
#include "sound/VolumeTable.h"
#include "sound/tests/SoundServiceTestUtil.h"

namespace soundtest {
namespace {

class SoundPlugin : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetAudioOutputKind(platform::AudioOutputKind::Recording);
    std::filesystem::create_directory(dir.File("plugins"));
    std::filesystem::copy_file(SOUND_PLUGIN_PATH, dir.File("plugins/libSound.so"));
    platform::ClearPathCache();
    config.SetValue("App", "library_path", "path=" + dir.File("plugins"));
    config.SetValue("App", "resource_path", "path=" + dir.Path());
    config.SetValue("App", "MaxVersion", "9");
    config.SetValue("App", "MinVersion", "0");
  }
  void TearDown() override { manager.Shutdown(&table); }

  SoundMgr* Start() {
    EXPECT_EQ(manager.Init(cCore_LibraryManager::kSound, &config, &table), status::Ok);
    return table.sound;
  }

  ScratchDirectory dir;
  cCore_ConfigManager config;
  cCore_GlobalWrapper table;
  cCore_LibraryManager manager;
};

TEST_F(SoundPlugin, ExportsAndDescriptor) {
  platform::LibraryHandle library = platform::LoadLibrary(SOUND_PLUGIN_PATH);
  ASSERT_NE(library, nullptr) << platform::LibraryError();
  auto getDesc = reinterpret_cast<GetCoreDescFunc>(platform::GetProcAddress(library, kGetCoreDescExport));
  auto getText = reinterpret_cast<GetDescriptionFunc>(platform::GetProcAddress(library, kGetDescriptionExport));
  auto getVersion =
      reinterpret_cast<GetBaseAPIVersionFunc>(platform::GetProcAddress(library, kGetBaseAPIVersionExport));
  ASSERT_TRUE(getDesc && getText && getVersion);
  // Nothing else of the library is visible.
  EXPECT_EQ(platform::GetProcAddress(library, "_ZN11SoundMgrDX8C1Ev"), nullptr);
  EXPECT_STREQ(getText(), "DirectX 8.0a Sound API DLL");
  EXPECT_EQ(getVersion(), 1.0f);
  CoreBaseDescriptor* desc = getDesc(0);
  ASSERT_NE(desc, nullptr);
  EXPECT_EQ(getDesc(0), desc);
  EXPECT_EQ(getDesc(1), nullptr);
  EXPECT_STREQ(desc->GetName(), "SoundMgr");
  EXPECT_STREQ(desc->GetDescription(), "DirectX 8.0a Sound Layer");
  EXPECT_EQ(desc->GetVersion(), 1.0f);
  EXPECT_EQ(desc->GetBaseAPIVersion(), 1.0f);
  EXPECT_EQ(desc->GetServiceType(), eService_Sound);
  CoreBase* module = desc->CreateCoreClass();
  ASSERT_NE(dynamic_cast<SoundMgr*>(module), nullptr);
  EXPECT_STREQ(module->GetName(), "[DX8Sound]");
  delete module;
  platform::FreeLibrary(library);
}

TEST_F(SoundPlugin, GameCallsAreHeard) {
  dir.Write("tone.wav", MakeWave(1, 44100, 16, 1000, 12000));
  dir.Write("tune.wav", MakeWave(2, 44100, 16, 500, 3000));
  SoundMgr* sound = Start();
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->GetSampleRate(), 44100);
  Render(1);

  // Create, volume, pan, play once.
  SoundHandle* h = sound->CreateSound(dir.File("tone.wav"));
  ASSERT_NE(h, nullptr);
  sound->SetVolume(h, 0.5f);
  sound->SetPan(h, -1500);
  ASSERT_TRUE(sound->PlaySound(h, false));
  std::vector<int16_t> s = Render(1200);
  const double level = 12000.0 * Gain(VolumeToHundredthsDb(0.5f));
  EXPECT_NEAR(s[0], level, 1.0);
  EXPECT_NEAR(s[1], level * Gain(-1500), 1.0);
  EXPECT_NEAR(s[2 * 999], level, 1.0);
  EXPECT_EQ(s[2 * 1000], 0);  // a one-shot sound ends with its file

  // Loop, then stop at once.
  sound->SetVolume(h, 1.0f);
  sound->SetPan(h, 0);
  ASSERT_TRUE(sound->PlaySound(h, true));
  s = Render(2500);
  EXPECT_EQ(s[2 * 2499], 12000);
  EXPECT_TRUE(sound->IsPlaying(h));
  ASSERT_TRUE(sound->StopSound(h));
  EXPECT_EQ(Render(8)[0], 0);

  // Music loops under a sound; the two are summed.
  SoundHandle* music = sound->CreateMusic(dir.File("tune.wav"));
  ASSERT_NE(music, nullptr);
  ASSERT_TRUE(sound->PlayMusic(music));
  sound->PlaySound(h, true);
  s = Render(600);
  EXPECT_EQ(s[2 * 599], 3000 + 12000);
  EXPECT_EQ(s[2 * 599 + 1], 3000 + 12000);

  // Releasing: a looping sound goes at once, the music too.
  EXPECT_TRUE(sound->ReleaseSound(h));
  EXPECT_EQ(Render(4)[0], 3000);
  EXPECT_TRUE(sound->ReleaseMusic(music));
  EXPECT_EQ(Render(4)[0], 0);
  EXPECT_TRUE(sound->GetSoundList()->empty());

  // Positional sounds without a listener object are left to the game.
  SoundHandle* at = sound->CreateSoundAt(dir.File("tone.wav"), JVector(500, 0, 0), false, true);
  sound->PlaySound(at, true);
  sound->Update(3.5f);
  EXPECT_EQ(Render(4)[0], 12000);
  sound->StopAll();
  EXPECT_EQ(Render(4)[0], 0);
}

TEST_F(SoundPlugin, StartUpOrderAppliesTheBaseSwitches) {
  // The settings file says sound on; the game's configuration turns it off,
  // and its record is what the start reads.
  dir.Write("snd_dx8.cfg",
            "OBJECT sound\n{\n  set name \"snd_dx8_disable_sound\"\n  set value \"false\"\n}\n"
            "OBJECT rate\n{\n  set name \"snd_dx8_sample_rate\"\n  set value \"22050\"\n}\n");
  config.SetValue("Sound", "snd_dx8_disable_sound", "TRUE");
  config.SetValue("Sound", "snd_dx8_disable_music", "no");
  SoundMgr* sound = Start();
  ASSERT_NE(sound, nullptr);
  EXPECT_TRUE(sound->IsSoundDisabled());
  EXPECT_FALSE(sound->IsMusicDisabled());
  EXPECT_EQ(sound->GetSampleRate(), 22050);
  CoreBaseConfigMap* options = nullptr;
  EXPECT_EQ(sound->GetConfig(&options), 2u);
  EXPECT_EQ((*options)["snd_dx8_disable_sound"]->description, "Disable Sound");
  EXPECT_EQ((*options)["snd_dx8_sample_rate"]->value, "22050");
  EXPECT_EQ(sound->CreateSound(dir.File("none.wav")), nullptr);
}

}  // namespace
}  // namespace soundtest
