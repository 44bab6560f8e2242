// The settings file, the options Init reads, the output format, the device
// list and the listener.
#include <gtest/gtest.h>

#include <string>

#include "platform/audio/AudioApi.h"
#include "sound/DX3DSoundListener.h"
#include "sound/DXSound.h"
#include "sound/DXSoundBuffer.h"
#include "sound/tests/SoundServiceTestUtil.h"

namespace soundtest {
namespace {

// One option object of the settings file.
std::string Option(const std::string& name, const std::string& value) {
  return "OBJECT opt_" + name + "\r\n{\r\n\tset name \"" + name + "\"\r\n\tset value \"" + value +
         "\"\r\n\tset default \"\"\r\n\tset type \"int\"\r\n}\r\n";
}

std::string OptionValue(SoundMgrDX8& s, const std::string& name) {
  CoreBaseConfigMap* map = nullptr;
  s.GetConfig(&map);
  const auto it = map->find(name);
  return it == map->end() ? "<missing>" : it->second->value;
}

using SoundSettings = ServiceTest;

TEST_F(SoundSettings, FileFillsTheOptionsMap) {
  dir.Write("snd_dx8.cfg",
            "OBJECT first\n{\n  set name \"snd_dx8_sample_rate\"\n  set value \"22050\"\n  set default \"44100\"\n"
            "  set type \"int\"\n  set description \"Sample rate\"\n  set min_range \"8000\"\n"
            "  set max_range \"48000\"\n}\n"
            "OBJECT nameless\n{\n  set value \"1\"\n}\n" +
                Option("snd_dx8_channels", "2") + Option("snd_dx8_channels", "1"));
  SoundMgrDX8 s;
  s.LoadConfig();
  CoreBaseConfigMap* map = nullptr;
  EXPECT_EQ(s.GetConfig(&map), 2u);
  ASSERT_NE(map, nullptr);
  const CoreBaseConfig* rate = (*map)["snd_dx8_sample_rate"];
  ASSERT_NE(rate, nullptr);
  EXPECT_EQ(rate->value, "22050");
  EXPECT_EQ(rate->defaultValue, "44100");
  EXPECT_EQ(rate->type, "int");
  EXPECT_EQ(rate->description, "Sample rate");
  EXPECT_EQ(rate->min_range, "8000");
  EXPECT_EQ(rate->max_range, "48000");
  // The later record of a name replaces the earlier one.
  EXPECT_EQ((*map)["snd_dx8_channels"]->value, "1");
  s.ClearConfig();
  EXPECT_EQ(s.GetConfig(&map), 0u);
}

TEST_F(SoundSettings, MissingFileLeavesBuiltInValues) {
  Start();
  CoreBaseConfigMap* map = nullptr;
  EXPECT_EQ(service->GetConfig(&map), 0u);
  EXPECT_EQ(service->GetSampleRate(), 44100);
  EXPECT_EQ(service->GetBitsPerSample(), 16);
  EXPECT_EQ(service->GetChannelCount(), 2);
  EXPECT_FALSE(service->IsFXHardwareOnly());
  EXPECT_FALSE(service->IsSoundDisabled());
  EXPECT_FALSE(service->IsMusicDisabled());
  EXPECT_EQ(service->GetMaxSameBuffers(), 4);
  EXPECT_TRUE(service->GetDeviceGuid().IsZero());
  EXPECT_FALSE(service->IsReleased());
}

TEST_F(SoundSettings, InitReadsTheOptions) {
  struct Case {
    const char* file;
    int32_t rate, bits, channels;
    bool hardwareOnly, noMusic, noSound;
    int32_t maxSame;
  };
  const std::string good = Option("snd_dx8_sample_rate", "22050") + Option("snd_dx8_bits_per_sample", "8") +
                           Option("snd_dx8_channels", "1") + Option("snd_dx8_fx_hardwareonly", "True") +
                           Option("snd_dx8_disable_sound", "TRUE") + Option("snd_dx8_disable_music", "yes") +
                           Option("snd_dx8_max_same_buffers", "9");
  // Texts that are no usable number leave the built-in format.
  const std::string bad = Option("snd_dx8_sample_rate", "fast") + Option("snd_dx8_bits_per_sample", "24") +
                          Option("snd_dx8_channels", "6") + Option("snd_dx8_fx_hardwareonly", "1");
  const std::string outOfRange = Option("snd_dx8_sample_rate", "7999") + Option("snd_dx8_channels", "0") +
                                 Option("snd_dx8_bits_per_sample", "");
  const Case cases[] = {
      {good.c_str(), 22050, 8, 1, true, false, true, 9},
      {bad.c_str(), 44100, 16, 2, false, false, false, 4},
      {outOfRange.c_str(), 44100, 16, 2, false, false, false, 4},
  };
  for (const Case& c : cases) {
    dir.Write("snd_dx8.cfg", c.file);
    Start();
    EXPECT_EQ(service->GetSampleRate(), c.rate);
    EXPECT_EQ(service->GetBitsPerSample(), c.bits);
    EXPECT_EQ(service->GetChannelCount(), c.channels);
    EXPECT_EQ(service->IsFXHardwareOnly(), c.hardwareOnly);
    EXPECT_EQ(service->IsMusicDisabled(), c.noMusic);
    EXPECT_EQ(service->IsSoundDisabled(), c.noSound);
    EXPECT_EQ(service->GetMaxSameBuffers(), c.maxSame);
    // The granted format is written back into the records that exist.
    EXPECT_EQ(OptionValue(*service, "snd_dx8_sample_rate"), std::to_string(c.rate));
    EXPECT_EQ(OptionValue(*service, "snd_dx8_channels"), std::to_string(c.channels));
    service->ReleaseAll();
  }
}

TEST_F(SoundSettings, DeviceGuidTextMustBeThirtyTwoHexDigits) {
  const struct {
    const char* text;
    bool starts;  // the recording output knows only the default and its own id
    bool zero;
  } cases[] = {
      {"", true, true},
      {"0A", true, true},                                // short: default device
      {"0A1B2C3D4E5F60718293A4B5C6D7E8F9XX", true, true},  // long and not hex
      {"0A1B2C3D4E5F60718293A4B5C6D7E8G9", true, true},  // a non-hex digit
      {"0a1b2c3d4e5f60718293a4b5c6d7e8f9", false, false},
  };
  for (const auto& c : cases) {
    dir.Write("snd_dx8.cfg", Option("snd_dx8_device_guid", c.text));
    auto s = std::make_unique<SoundMgrDX8>();
    s->ResetDeviceSelection();
    s->LoadConfig();
    EXPECT_EQ(s->Init(nullptr), c.starts) << c.text;
    EXPECT_EQ(s->GetDeviceGuid().IsZero(), c.zero) << c.text;
    s->ReleaseAll();
  }
  platform::SoundGuid g{};
  ASSERT_TRUE(SoundMgrDX8::ParseGuidText("0a1b2c3d4e5f60718293a4b5c6d7e8f9", &g));
  EXPECT_EQ(g.bytes[0], 0x0A);
  EXPECT_EQ(g.bytes[15], 0xF9);
  EXPECT_EQ(SoundMgrDX8::FormatGuidText(g), "0A1B2C3D4E5F60718293A4B5C6D7E8F9");
}

TEST_F(SoundSettings, OutputFormatAndDevices) {
  dir.Write("snd_dx8.cfg", Option("snd_dx8_sample_rate", "44100") + Option("snd_dx8_device_guid", ""));
  Start();
  EXPECT_TRUE(service->SetOutputFormat(22050, 8, 1));
  EXPECT_EQ(OptionValue(*service, "snd_dx8_sample_rate"), "22050");
  EXPECT_EQ(service->GetBitsPerSample(), 8);
  EXPECT_TRUE(service->SetOutputFormat(-1, 16, -1));  // keeps rate and channels
  EXPECT_EQ(service->GetSampleRate(), 22050);
  EXPECT_EQ(service->GetChannelCount(), 1);
  EXPECT_EQ(service->GetBitsPerSample(), 16);
  EXPECT_FALSE(service->SetOutputFormat(44100, 12, 2));  // refused: the granted format stays
  EXPECT_EQ(service->GetBitsPerSample(), 16);

  const int count = service->GetDeviceCount();
  ASSERT_EQ(count, 2);  // the primary driver and the recording output
  std::string name = "x";
  service->GetDeviceName(name, -1);
  EXPECT_EQ(name, "");
  service->GetDeviceName(name, count);
  EXPECT_EQ(name, "");
  service->GetDeviceName(name, 0);
  EXPECT_EQ(name, "Primary Sound Driver");
  EXPECT_FALSE(service->SelectDevice(count));
  EXPECT_FALSE(service->SelectDevice(-1));

  // Choosing the recording output by its id keeps the cached sounds.
  const std::string tone = AddTone("tone.wav", 1000);
  SoundHandle* h = service->CreateSound(tone);
  ASSERT_TRUE(service->SelectDevice(1));
  EXPECT_FALSE(service->GetDeviceGuid().IsZero());
  EXPECT_EQ(OptionValue(*service, "snd_dx8_device_guid"), SoundMgrDX8::FormatGuidText(service->GetDeviceGuid()));
  ASSERT_EQ(service->GetBufferCache().size(), 1u);
  EXPECT_NE(service->GetBufferCache().front()->GetBuffer(), nullptr);
  ASSERT_NE(service->GetListener(), nullptr);
  EXPECT_TRUE(service->GetListener()->HasInterface());
  EXPECT_TRUE(service->PlaySound(h, false));
  // The new device opens with the format granted before: mono.
  const std::vector<int16_t> samples = Render(10);
  ASSERT_EQ(samples.size(), 10u);
  EXPECT_EQ(samples[0], 16000);
}

TEST_F(SoundSettings, ListenerTopStaysUpright) {
  Start();
  void* out = nullptr;
  ASSERT_EQ(service->GetSoundDevice()->GetPrimary()->QueryInterface(platform::IID_IDirectSound3DListener, &out),
            platform::DS_OK);
  auto* listener = static_cast<platform::IDirectSound3DListener8*>(out);
  const struct {
    JVector front;
    platform::SoundVector top;
  } cases[] = {
      {{0, 0, 1}, {0, 1, 0}},  {{0, 0, -1}, {0, 1, 0}}, {{1, 0, 0}, {0, 1, 0}},
      {{-3, 0, 0}, {0, 1, 0}}, {{1, 0, 1}, {0, 1, 0}},  {{0, 1, 1}, {0, 0.70710677f, -0.70710677f}},
      {{0, 5, 0}, {0, 0, -1}}, {{0, -1, 0}, {0, 0, 1}},
  };
  for (const auto& c : cases) {
    service->SetListenerOrientation(c.front);
    platform::SoundVector front, top;
    ASSERT_EQ(listener->GetOrientation(&front, &top), platform::DS_OK);
    EXPECT_NEAR(top.x, c.top.x, 1e-5f);
    EXPECT_NEAR(top.y, c.top.y, 1e-5f);
    EXPECT_NEAR(top.z, c.top.z, 1e-5f);
    // Always at right angles to the front.
    EXPECT_NEAR(front.x * top.x + front.y * top.y + front.z * top.z, 0.0f, 1e-5f);
  }
  service->SetListenerPosition(JVector(1, 2, 3));
  service->SetListenerVelocity(JVector(4, 5, 6));
  platform::SoundVector v;
  listener->GetPosition(&v);
  EXPECT_EQ(v.y, 2.0f);
  listener->GetVelocity(&v);
  EXPECT_EQ(v.z, 6.0f);
  listener->Release();
}

TEST(SoundService, WithoutDeviceEverythingAnswersNo) {
  SoundMgrDX8 s;
  EXPECT_STREQ(s.GetName(), "[DX8Sound]");
  EXPECT_STREQ(s.GetDescription(), "DirectX 8.0a Sound Layer");
  EXPECT_EQ(s.GetServiceType(), eService_Sound);
  EXPECT_TRUE(s.ApplyConfig());
  EXPECT_TRUE(s.IsReleased());
  EXPECT_FALSE(s.SetOutputFormat(44100, 16, 2));
  EXPECT_EQ(s.GetDeviceCount(), 0);
  EXPECT_FALSE(s.SelectDevice(0));
  SoundHandle* h = s.CreateSound("nothing.wav");
  ASSERT_NE(h, nullptr);  // a handle without a buffer
  EXPECT_FALSE(s.PlaySound(h, true));
  EXPECT_FALSE(s.PlayMusic(h));
  EXPECT_FALSE(s.StopSound(h));
  EXPECT_FALSE(s.Pause(h));
  EXPECT_FALSE(s.PlaySound(nullptr, false));
  EXPECT_FALSE(s.IsPlaying(nullptr));
  EXPECT_EQ(s.GetVolume(nullptr), -1.0f);
  EXPECT_FALSE(s.SetFrequencyScale(h, 0.5f));
  s.SetListenerOrientation(JVector(1, 0, 0));  // no listener: nothing happens
  EXPECT_TRUE(s.ReleaseSound(h) == false);      // one-shot: released once stopped
  s.ReleaseAll();
}

}  // namespace
}  // namespace soundtest
