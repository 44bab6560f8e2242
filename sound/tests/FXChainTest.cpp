// Effect chains: the chain file written and read back, bad chain files,
// releasing chains, and chains applied to playing buffers.
#include <gtest/gtest.h>

#include <string>

#include "platform/DebugOutput.h"
#include "platform/audio/AudioEffects.h"
#include "sound/DXSoundBuffer.h"
#include "sound/FXHandleDX.h"
#include "sound/SoundHandleDX.h"
#include "sound/tests/SoundServiceTestUtil.h"

namespace soundtest {
namespace {

std::string Param(SoundMgrDX8& s, FXHandle* chain, int type, int index) {
  std::string text;
  s.GetEffectParameterText(text, chain, type, index);
  return text;
}

using FXChains = ServiceTest;

constexpr char kJunk[] = "\x00\xff\x13garbage{{}}\x80\n\x01OBJECT\n}}}";

TEST_F(FXChains, FileRoundTrip) {
  Start();
  FXHandle* chain = service->CreateFXHandle();
  service->AddEffect(chain, kEffectReverb);
  service->AddEffect(chain, kEffectEcho);
  service->SetEffectParameter(chain, kEffectEcho, 1, "42.5");
  service->SetEffectParameter(chain, kEffectEcho, 4, "1");
  service->SetEffectParameter(chain, kEffectReverb, 2, "2500");
  EXPECT_FALSE(service->SaveFXHandle(nullptr, "x.fx"));
  EXPECT_FALSE(service->SaveFXHandle(chain, ""));
  ASSERT_TRUE(service->SaveFXHandle(chain, dir.File("chain.fx")));

  const std::string text = dir.Read("chain.fx");
  const size_t chainAt = text.find("OBJECT FXHandle"), echoAt = text.find("OBJECT Echo"),
               reverbAt = text.find("OBJECT Reverb");
  ASSERT_NE(chainAt, std::string::npos);
  ASSERT_NE(echoAt, std::string::npos);
  ASSERT_NE(reverbAt, std::string::npos);
  EXPECT_LT(chainAt, echoAt);
  EXPECT_LT(echoAt, reverbAt);
  EXPECT_NE(text.find("\r\n"), std::string::npos);
  for (const char* key : {"WetDryMix", "Feedback", "LeftDelay", "RightDelay", "PanDelay", "ReverbMix",
                          "ReverbTime", "FreqRTRatio"})
    EXPECT_NE(text.find(key), std::string::npos) << key;
  EXPECT_NE(text.find("42.500000"), std::string::npos);
  EXPECT_EQ(text.find("Chorus"), std::string::npos);

  const size_t before = service->GetChainList().size();
  FXHandle* loaded = service->LoadFXHandle(dir.File("chain.fx"), false);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(service->GetChainList().size(), before + 1);
  for (int type = 0; type < kSoundEffectTypeCount; ++type) {
    EXPECT_EQ(service->HasEffect(loaded, type), service->HasEffect(chain, type)) << type;
    if (!service->HasEffect(chain, type)) continue;
    for (int i = 0; i < service->GetEffectParameterCount(type); ++i)
      EXPECT_EQ(Param(*service, loaded, type, i), Param(*service, chain, type, i)) << type << "/" << i;
  }
  // Prototypes unchanged until the file is read as the defaults.
  EXPECT_EQ(Param(*service, nullptr, kEffectEcho, 1), "0.000000");
  ASSERT_NE(service->LoadFXHandle(dir.File("chain.fx"), true), nullptr);
  EXPECT_EQ(Param(*service, nullptr, kEffectEcho, 1), "42.500000");
  EXPECT_EQ(Param(*service, nullptr, kEffectReverb, 2), "2500.000000");
  FXHandle* fresh = service->CreateFXHandle();
  service->AddEffect(fresh, kEffectEcho);
  EXPECT_EQ(Param(*service, fresh, kEffectEcho, 4), "1");
}

TEST_F(FXChains, FilesAreReadForgivingly) {
  Start();
  dir.Write("odd.fx",
            "OBJECT fxhandle\n{\n  OBJECT Phaser\n  {\n    set Rate \"3\"\n  }\n"
            "  OBJECT echo\n  {\n    set feedback \"150\"\n    set LEFTDELAY \"\"\n    set Unknown \"5\"\n  }\n"
            "  OBJECT Gargle\n  {\n    set Rate \"-5\"\n  }\n}\n");
  FXHandle* chain = service->LoadFXHandle(dir.File("odd.fx"), false);
  ASSERT_NE(chain, nullptr);
  EXPECT_TRUE(service->HasEffect(chain, kEffectEcho));
  EXPECT_TRUE(service->HasEffect(chain, kEffectGargle));
  EXPECT_EQ(static_cast<FXHandleDX*>(chain)->EffectCount(), 2);
  EXPECT_EQ(Param(*service, chain, kEffectEcho, 1), "100.000000");  // clamped
  EXPECT_EQ(Param(*service, chain, kEffectEcho, 2), "333.000000");  // empty: as created
  EXPECT_EQ(Param(*service, chain, kEffectGargle, 0), "1000");
}

TEST_F(FXChains, BadFilesGiveNoChainAndChangeNothing) {
  Start();
  service->SetEffectParameter(nullptr, kEffectChorus, 0, "70");
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"empty.fx", ""},
      {"junk.fx", std::string(kJunk, sizeof kJunk - 1)},
      {"truncated.fx", "OBJECT FXHandle\n{\n  OBJECT Chorus\n  {\n    set WetDryMix \"10\"\n"},
      {"other.fx", "OBJECT Settings\n{\n  set WetDryMix \"10\"\n}\n"},
      {"value.fx", "set FXHandle \"Chorus\"\n"},
      {"long.fx", "OBJECT " + std::string(5000, 'F') + "\n{\n}\n"},
  };
  platform::SetDebugStderr(false);
  for (const auto& f : files) {
    dir.Write(f.name, f.bytes);
    const size_t chains = service->GetChainList().size();
    EXPECT_EQ(service->LoadFXHandle(dir.File(f.name), true), nullptr) << f.name;
    EXPECT_EQ(service->GetChainList().size(), chains) << f.name;
    EXPECT_EQ(Param(*service, nullptr, kEffectChorus, 0), "70.000000") << f.name;
  }
  EXPECT_EQ(service->LoadFXHandle(dir.File("missing.fx"), false), nullptr);
  EXPECT_EQ(service->LoadFXHandle("", false), nullptr);
  EXPECT_TRUE(service->GetChainList().empty());
  platform::SetDebugStderr(true);
}

TEST_F(FXChains, ChainsOnPlayingBuffers) {
  Start();
  SoundHandle* h = service->CreateSound(AddTone("tone.wav"));
  DXSoundBuffer* b = static_cast<SoundHandleDX*>(h)->buffer;
  ASSERT_NE(b, nullptr);
  service->SetVolume(h, 0.5f);
  service->PlaySound(h, true);
  Render(10);
  FXHandle* chain = service->CreateFXHandle();
  service->AddEffect(chain, kEffectEcho);
  service->AddEffect(chain, kEffectGargle);
  service->SetEffectParameter(chain, kEffectEcho, 0, "30");
  service->AttachFXHandle(h, chain);
  ASSERT_TRUE(b->fxCapable);
  EXPECT_TRUE(service->IsPlaying(h));
  uint32_t status = 0;
  b->GetBuffer()->GetStatus(&status);
  EXPECT_TRUE(status & platform::DSBSTATUS_LOOPING);
  EXPECT_EQ(b->GetVolume(), -1008);  // the new buffer kept the volume

  auto echoParams = [&](platform::DSFXEcho* out) {
    void* object = nullptr;
    if (b->GetBuffer()->GetObjectInPath(platform::GUID_DSFX_STANDARD_ECHO, 0, platform::IID_IDirectSoundFXEcho8,
                                        &object) != platform::DS_OK)
      return false;
    auto* echo = static_cast<platform::IDirectSoundFXEcho8*>(object);
    const bool ok = echo->GetAllParameters(out) == platform::DS_OK;
    echo->Release();
    return ok;
  };
  platform::DSFXEcho echo{};
  ASSERT_TRUE(echoParams(&echo));
  EXPECT_EQ(echo.wetDryMix, 30.0f);
  // A changed parameter is applied on the next full update.
  service->SetEffectParameter(chain, kEffectEcho, 0, "60");
  service->Update(3.0f);
  ASSERT_TRUE(echoParams(&echo));
  EXPECT_EQ(echo.wetDryMix, 60.0f);
  // Removing an effect it does not hold still marks the chain changed.
  auto* dx = static_cast<FXHandleDX*>(chain);
  service->RemoveEffect(chain, kEffectReverb);
  EXPECT_TRUE(dx->structureChanged);
  service->RemoveEffect(chain, kEffectEcho);
  service->Update(3.0f);
  EXPECT_FALSE(dx->structureChanged);
  EXPECT_FALSE(echoParams(&echo));

  // An empty chain removes the effects and the sound carries on.
  FXHandle* empty = service->CreateFXHandle();
  service->AttachFXHandle(h, empty);
  void* object = nullptr;
  EXPECT_NE(b->GetBuffer()->GetObjectInPath(platform::GUID_DSFX_STANDARD_GARGLE, 0,
                                            platform::IID_IDirectSoundFXGargle8, &object),
            platform::DS_OK);
  EXPECT_TRUE(service->IsPlaying(h));
  EXPECT_NE(Render(4)[0], 0);

  // A released chain is detached from every handle using it.
  service->AttachFXHandle(h, chain);
  service->ReleaseFXHandle(chain);
  EXPECT_EQ(static_cast<SoundHandleDX*>(h)->chain, nullptr);
  service->Update(3.0f);  // must not touch the released chain
  service->ReleaseFXHandle(chain);  // unknown now: nothing happens
  EXPECT_EQ(service->GetChainList().size(), 1u);
  service->AddEffect(nullptr, 0);
  service->RemoveEffect(nullptr, 0);
  EXPECT_FALSE(service->HasEffect(nullptr, 0));
  EXPECT_FALSE(service->HasEffect(empty, 9));
}

}  // namespace
}  // namespace soundtest
