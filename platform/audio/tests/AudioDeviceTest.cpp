// Device, buffer and effect-slot behaviour on the recording output.
#include <cmath>
#include <cstdlib>
#include <string>

#include "AudioTestUtil.h"
#include "platform/Clock.h"
#include "platform/audio/AudioEffects.h"

namespace audiotest {
namespace {

using DeviceTest = RecordingDevice;

struct Enumerated {
  std::vector<bool> hasGuid;
  std::vector<std::string> names;
  SoundGuid last{};
};

bool Collect(const SoundGuid* guid, const char* description, const char*, void* context) {
  auto* e = static_cast<Enumerated*>(context);
  e->hasGuid.push_back(guid != nullptr);
  e->names.emplace_back(description);
  if (guid) e->last = *guid;
  return true;
}

TEST_F(DeviceTest, EnumeratesDefaultAndOutputAndOpensByGuid) {
  Enumerated e;
  ASSERT_EQ(DirectSoundEnumerateA(Collect, &e), DS_OK);
  ASSERT_EQ(e.names.size(), 2u);
  EXPECT_FALSE(e.hasGuid[0]);
  EXPECT_TRUE(e.hasGuid[1]);
  EXPECT_EQ(e.names[1], "Recording Audio Output");

  IDirectSound8* other = nullptr;
  ASSERT_EQ(DirectSoundCreate8(&e.last, &other, nullptr), DS_OK);
  other->Release();
  SoundGuid unknown = e.last;
  unknown.bytes[0] ^= 0xFF;
  EXPECT_EQ(DirectSoundCreate8(&unknown, &other, nullptr), DSERR_NODRIVER);
  EXPECT_EQ(other, nullptr);
  int dummy = 0;
  EXPECT_EQ(DirectSoundCreate8(nullptr, &other, &dummy), DSERR_NOAGGREGATION);
}

TEST_F(DeviceTest, RefusesBadBufferDescriptions) {
  const WAVEFORMATEX mono = Pcm(22050, 1, 16);
  const WAVEFORMATEX stereo = Pcm(22050, 2, 16);
  WAVEFORMATEX adpcm = mono;
  adpcm.formatTag = 2;
  WAVEFORMATEX bits24 = Pcm(22050, 1, 24);
  WAVEFORMATEX threeChannels = Pcm(22050, 3, 16);
  WAVEFORMATEX slowRate = Pcm(50, 1, 16);
  WAVEFORMATEX badAlign = mono;
  badAlign.blockAlign = 4;
  WAVEFORMATEX badRate = mono;
  badRate.avgBytesPerSec = 0;
  struct Case {
    const char* what;
    uint32_t size, flags, bytes;
    const WAVEFORMATEX* format;
    CoreStatus expected;
  } cases[] = {
      {"size field", 20, kPlain, 1000, &mono, DSERR_INVALIDPARAM},
      {"no format", kBufferDescSize, kPlain, 1000, nullptr, DSERR_INVALIDPARAM},
      {"not PCM", kBufferDescSize, kPlain, 1000, &adpcm, DSERR_BADFORMAT},
      {"24 bits", kBufferDescSize, kPlain, 1000, &bits24, DSERR_BADFORMAT},
      {"3 channels", kBufferDescSize, kPlain, 1000, &threeChannels, DSERR_BADFORMAT},
      {"rate", kBufferDescSize, kPlain, 1000, &slowRate, DSERR_BADFORMAT},
      {"block align", kBufferDescSize, kPlain, 1000, &badAlign, DSERR_BADFORMAT},
      {"byte rate", kBufferDescSize, kPlain, 1000, &badRate, DSERR_BADFORMAT},
      {"too small", kBufferDescSize, kPlain, 2, &mono, DSERR_INVALIDPARAM},
      {"too large", kBufferDescSize, kPlain, DSBSIZE_MAX + 1, &mono, DSERR_INVALIDPARAM},
      {"3D stereo", kBufferDescSize, k3D, 1000, &stereo, DSERR_INVALIDPARAM},
      {"3D with pan", kBufferDescSize, k3D | DSBCAPS_CTRLPAN, 1000, &mono, DSERR_INVALIDPARAM},
      {"primary with data", kBufferDescSize, DSBCAPS_PRIMARYBUFFER, 1000, nullptr, DSERR_INVALIDPARAM},
  };
  for (const Case& c : cases) {
    DSBUFFERDESC desc;
    desc.size = c.size;
    desc.flags = c.flags;
    desc.bufferBytes = c.bytes;
    desc.format = c.format;
    IDirectSoundBuffer8* b = reinterpret_cast<IDirectSoundBuffer8*>(&desc);
    EXPECT_EQ(device->CreateSoundBuffer(&desc, &b, nullptr), c.expected) << c.what;
    EXPECT_EQ(b, nullptr) << c.what;
  }

  IDirectSound8* fresh = nullptr;
  ASSERT_EQ(DirectSoundCreate8(nullptr, &fresh, nullptr), DS_OK);
  DSBUFFERDESC desc;
  desc.bufferBytes = 1000;
  desc.format = &mono;
  IDirectSoundBuffer8* b = nullptr;
  EXPECT_EQ(fresh->CreateSoundBuffer(&desc, &b, nullptr), DSERR_PRIOLEVELNEEDED);
  fresh->Release();
}

TEST_F(DeviceTest, PrimaryFormatNeedsPriorityAndReadsBack) {
  WAVEFORMATEX got{};
  uint32_t written = 0;
  ASSERT_EQ(primary->GetFormat(&got, sizeof got, &written), DS_OK);
  EXPECT_EQ(written, 18u);
  EXPECT_EQ(got.samplesPerSec, 44100u);
  EXPECT_EQ(got.channels, 2);
  EXPECT_EQ(got.bitsPerSample, 16);
  EXPECT_EQ(got.avgBytesPerSec, 176400u);

  const WAVEFORMATEX mono8 = Pcm(22050, 1, 8);
  ASSERT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
  EXPECT_EQ(primary->SetFormat(&mono8), DSERR_PRIOLEVELNEEDED);
  ASSERT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
  WAVEFORMATEX bad = mono8;
  bad.bitsPerSample = 12;
  EXPECT_EQ(primary->SetFormat(&bad), DSERR_BADFORMAT);
  ASSERT_EQ(primary->SetFormat(&mono8), DS_OK);
  ASSERT_EQ(primary->GetFormat(&got, sizeof got, nullptr), DS_OK);
  EXPECT_EQ(got.samplesPerSec, 22050u);
  EXPECT_EQ(got.channels, 1);
  EXPECT_EQ(got.bitsPerSample, 8);
  EXPECT_EQ(Render(10).size(), 10u);  // mono output now

  DSCAPS caps;
  ASSERT_EQ(device->GetCaps(&caps), DS_OK);
  EXPECT_EQ(caps.maxSecondarySampleRate, DSBFREQUENCY_MAX);
  EXPECT_EQ(caps.primaryBuffers, 1u);
}

TEST_F(DeviceTest, LockWrapsAndLockedDataIsNotMixed) {
  const WAVEFORMATEX mono = Pcm(44100, 1, 16);
  IDirectSoundBuffer8* b = MakeBuffer(kPlain, mono, 100, 1000);
  void* p1 = nullptr;
  void* p2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  ASSERT_EQ(b->Lock(150, 100, &p1, &n1, &p2, &n2, 0), DS_OK);
  EXPECT_EQ(n1, 50u);
  EXPECT_EQ(n2, 50u);
  ASSERT_NE(p2, nullptr);
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  std::vector<int16_t> locked = Render(4);
  EXPECT_EQ(locked, std::vector<int16_t>(8, 0));
  EXPECT_EQ(b->Unlock(p2, n2, p1, n1 + 1), DS_OK);  // parts may come back in any order
  EXPECT_EQ(Render(1)[0], 1000);

  EXPECT_EQ(b->Lock(200, 1, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(b->Lock(0, 201, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDPARAM);
  int16_t stray = 0;
  EXPECT_EQ(b->Unlock(&stray, 2, nullptr, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(primary->Lock(0, 4, &p1, &n1, &p2, &n2, 0), DSERR_INVALIDCALL);
}

TEST_F(DeviceTest, OneShotEndsAndLoopWraps) {
  const WAVEFORMATEX mono = Pcm(44100, 1, 16);
  IDirectSoundBuffer8* once = MakeBuffer(kPlain, mono, 100, 2000);
  IDirectSoundBuffer8* loop = MakeBuffer(kPlain, mono, 30, 300);
  ASSERT_EQ(once->Play(0, 0, 0), DS_OK);
  ASSERT_EQ(loop->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(Status(once), DSBSTATUS_PLAYING | DSBSTATUS_LOCSOFTWARE);
  EXPECT_EQ(Status(loop), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING | DSBSTATUS_LOCSOFTWARE);

  std::vector<int16_t> out = Render(60);
  EXPECT_EQ(out[0], 2300);
  uint32_t play = 0, write = 0;
  ASSERT_EQ(once->GetCurrentPosition(&play, &write), DS_OK);
  EXPECT_EQ(play, 120u);
  EXPECT_EQ(write, (play + 441 * 2) % 200);  // 10 ms ahead, wrapped
  ASSERT_EQ(loop->GetCurrentPosition(&play, nullptr), DS_OK);
  EXPECT_EQ(play, 0u);  // 60 frames = two turns of 30

  out = Render(60);
  EXPECT_EQ(out[2 * 39], 2300);  // frame 99 of the one-shot
  EXPECT_EQ(out[2 * 40], 300);   // the one-shot has ended
  EXPECT_EQ(Status(once), 0u);
  ASSERT_EQ(once->GetCurrentPosition(&play, nullptr), DS_OK);
  EXPECT_EQ(play, 0u);
  EXPECT_NE(Status(loop), 0u);

  ASSERT_EQ(loop->SetCurrentPosition(20), DS_OK);
  ASSERT_EQ(loop->GetCurrentPosition(&play, nullptr), DS_OK);
  EXPECT_EQ(play, 20u);
  EXPECT_EQ(loop->SetCurrentPosition(60), DSERR_INVALIDPARAM);
  ASSERT_EQ(loop->Stop(), DS_OK);
  EXPECT_EQ(Status(loop), 0u);
  EXPECT_EQ(Render(1)[0], 0);
  EXPECT_EQ(loop->Play(1, 0, 0), DSERR_INVALIDPARAM);
}

TEST_F(DeviceTest, ControlsCheckRangesAndCreationFlags) {
  const WAVEFORMATEX mono = Pcm(22050, 1, 16);
  IDirectSoundBuffer8* plain = MakeBuffer(kPlain, mono, 100, 0);
  IDirectSoundBuffer8* bare = MakeBuffer(0, mono, 100, 0);
  int32_t v = 0;
  uint32_t f = 0;
  EXPECT_EQ(plain->SetVolume(-10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(plain->SetVolume(1), DSERR_INVALIDPARAM);
  ASSERT_EQ(plain->SetVolume(-1234), DS_OK);
  ASSERT_EQ(plain->GetVolume(&v), DS_OK);
  EXPECT_EQ(v, -1234);
  EXPECT_EQ(plain->SetPan(10001), DSERR_INVALIDPARAM);
  ASSERT_EQ(plain->SetPan(-10000), DS_OK);
  ASSERT_EQ(plain->GetPan(&v), DS_OK);
  EXPECT_EQ(v, -10000);
  ASSERT_EQ(plain->GetFrequency(&f), DS_OK);
  EXPECT_EQ(f, 22050u);
  EXPECT_EQ(plain->SetFrequency(99), DSERR_INVALIDPARAM);
  EXPECT_EQ(plain->SetFrequency(200001), DSERR_INVALIDPARAM);
  ASSERT_EQ(plain->SetFrequency(11025), DS_OK);
  ASSERT_EQ(plain->GetFrequency(&f), DS_OK);
  EXPECT_EQ(f, 11025u);
  ASSERT_EQ(plain->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
  ASSERT_EQ(plain->GetFrequency(&f), DS_OK);
  EXPECT_EQ(f, 22050u);

  EXPECT_EQ(bare->SetVolume(0), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(bare->SetPan(0), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(bare->SetFrequency(22050), DSERR_CONTROLUNAVAIL);
  EXPECT_EQ(bare->SetFX(0, nullptr, nullptr), DSERR_CONTROLUNAVAIL);
  void* none = nullptr;
  EXPECT_EQ(bare->QueryInterface(IID_IDirectSound3DBuffer, &none), DSERR_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
}

TEST_F(DeviceTest, DuplicateSharesDataButNotSettings) {
  const WAVEFORMATEX mono = Pcm(44100, 1, 16);
  IDirectSoundBuffer8* original = MakeBuffer(kPlain, mono, 50, 1000);
  IDirectSoundBuffer8* copy = nullptr;
  ASSERT_EQ(device->DuplicateSoundBuffer(original, &copy), DS_OK);
  owned.push_back(copy);
  Fill(original, std::vector<uint8_t>(100, 0x10));  // 0x1010 = 4112 in every sample
  ASSERT_EQ(copy->SetPan(10000), DS_OK);  // right only
  ASSERT_EQ(copy->Play(0, 0, 0), DS_OK);
  const std::vector<int16_t> out = Render(1);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 4112);
  EXPECT_EQ(Status(original), 0u);

  IDirectSoundBuffer8* fx = MakeBuffer(kFx, mono, 50, 0);
  IDirectSoundBuffer8* none = nullptr;
  EXPECT_EQ(device->DuplicateSoundBuffer(fx, &none), DSERR_INVALIDCALL);
  EXPECT_EQ(device->DuplicateSoundBuffer(primary, &none), DSERR_INVALIDPARAM);
  EXPECT_EQ(none, nullptr);
}

TEST_F(DeviceTest, LostBuffersRefusePlayUntilRestored) {
  IDirectSoundBuffer8* b = MakeBuffer(kPlain, Pcm(44100, 1, 16), 50, 500);
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  LoseAudioBuffers();
  EXPECT_EQ(Status(b), DSBSTATUS_BUFFERLOST);
  EXPECT_EQ(b->Play(0, 0, 0), DSERR_BUFFERLOST);
  void* p = nullptr;
  uint32_t n = 0;
  EXPECT_EQ(b->Lock(0, 4, &p, &n, nullptr, nullptr, 0), DSERR_BUFFERLOST);
  ASSERT_EQ(b->Restore(), DS_OK);
  EXPECT_EQ(Status(b), 0u);
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  EXPECT_EQ(Render(1)[0], 500);
}

TEST_F(DeviceTest, EffectSlotsFollowTheRequestedOrder) {
  const WAVEFORMATEX mono = Pcm(44100, 1, 16);
  IDirectSoundBuffer8* b = MakeBuffer(kFx, mono, 100, 0);
  DSEFFECTDESC chain[3];
  chain[0].effectClass = GUID_DSFX_STANDARD_ECHO;
  chain[1].effectClass = GUID_DSFX_WAVES_REVERB;
  chain[2].effectClass = GUID_DSFX_STANDARD_ECHO;
  uint32_t results[3] = {};
  ASSERT_EQ(b->SetFX(3, chain, results), DS_OK);
  EXPECT_EQ(results[0], DSFXR_LOCSOFTWARE);

  IDirectSoundFXEcho8* second = nullptr;
  ASSERT_EQ(b->GetObjectInPath(GUID_DSFX_STANDARD_ECHO, 1, IID_IDirectSoundFXEcho8, reinterpret_cast<void**>(&second)),
            DS_OK);
  DSFXEcho echo{};
  ASSERT_EQ(second->GetAllParameters(&echo), DS_OK);
  EXPECT_FLOAT_EQ(echo.leftDelay, 333.0f);
  echo.feedback = 40;
  ASSERT_EQ(second->SetAllParameters(&echo), DS_OK);
  DSFXEcho bad = echo;
  bad.leftDelay = 0.5f;
  EXPECT_EQ(second->SetAllParameters(&bad), DSERR_INVALIDPARAM);
  ASSERT_EQ(second->GetAllParameters(&echo), DS_OK);
  EXPECT_FLOAT_EQ(echo.feedback, 40.0f);
  EXPECT_FLOAT_EQ(echo.leftDelay, 333.0f);
  second->Release();

  void* out = nullptr;
  EXPECT_EQ(b->GetObjectInPath(GUID_DSFX_STANDARD_ECHO, 2, IID_IDirectSoundFXEcho8, &out), DSERR_OBJECTNOTFOUND);
  EXPECT_EQ(b->GetObjectInPath(GUID_DSFX_WAVES_REVERB, 0, IID_IDirectSoundFXEcho8, &out), DSERR_NOINTERFACE);
  EXPECT_EQ(b->GetObjectInPath(GUID_DSFX_STANDARD_GARGLE, 0, IID_IDirectSoundFXGargle8, &out),
            DSERR_OBJECTNOTFOUND);

  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(b->SetFX(0, nullptr, nullptr), DSERR_INVALIDCALL);
  ASSERT_EQ(b->Stop(), DS_OK);
  // Hardware placement is not available; the buffer is left without effects.
  chain[1].flags = DSFX_LOCHARDWARE;
  EXPECT_EQ(b->SetFX(2, chain, results), DSERR_FXUNAVAILABLE);
  EXPECT_EQ(results[0], DSFXR_LOCSOFTWARE);
  EXPECT_EQ(results[1], DSFXR_FAILED);
  EXPECT_EQ(b->GetObjectInPath(GUID_DSFX_STANDARD_ECHO, 0, IID_IDirectSoundFXEcho8, &out), DSERR_OBJECTNOTFOUND);
  DSEFFECTDESC unknown;
  unknown.effectClass = IID_IDirectSound8;
  EXPECT_EQ(b->SetFX(1, &unknown, results), DSERR_FXUNAVAILABLE);
  EXPECT_EQ(results[0], DSFXR_UNKNOWN);
}

TEST_F(DeviceTest, DeferredThreeDSettingsWaitForCommit) {
  IDirectSound3DListener8* listener = nullptr;
  ASSERT_EQ(primary->QueryInterface(IID_IDirectSound3DListener, reinterpret_cast<void**>(&listener)), DS_OK);
  IDirectSoundBuffer8* b = MakeBuffer(k3D, Pcm(44100, 1, 16), 100, 8000);
  IDirectSound3DBuffer8* b3 = nullptr;
  ASSERT_EQ(b->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&b3)), DS_OK);

  ASSERT_EQ(b3->SetPosition(4, 0, 0, DS3D_DEFERRED), DS_OK);
  ASSERT_EQ(listener->SetRolloffFactor(2, DS3D_DEFERRED), DS_OK);
  SoundVector p;
  float rolloff = 0;
  ASSERT_EQ(b3->GetPosition(&p), DS_OK);
  ASSERT_EQ(listener->GetRolloffFactor(&rolloff), DS_OK);
  EXPECT_EQ(p.x, 0.0f);
  EXPECT_EQ(rolloff, 1.0f);
  ASSERT_EQ(listener->CommitDeferredSettings(), DS_OK);
  ASSERT_EQ(b3->GetPosition(&p), DS_OK);
  ASSERT_EQ(listener->GetRolloffFactor(&rolloff), DS_OK);
  EXPECT_EQ(p.x, 4.0f);
  EXPECT_EQ(rolloff, 2.0f);

  EXPECT_EQ(b3->SetMinDistance(0, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
  EXPECT_EQ(b3->SetMaxDistance(std::nanf(""), DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
  EXPECT_EQ(b3->SetMode(3, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
  EXPECT_EQ(b3->SetPosition(1, 2, 3, 7), DSERR_INVALIDPARAM);
  EXPECT_EQ(listener->SetOrientation(0, 1, 0, 0, 2, 0, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);  // parallel
  EXPECT_EQ(listener->SetOrientation(0, 0, 0, 0, 1, 0, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
  ASSERT_EQ(listener->SetRolloffFactor(1, DS3D_IMMEDIATE), DS_OK);

  // Source 4 units to the right, minimum distance 1, roll-off 1: a quarter
  // of the level, all of it on the right.
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  std::vector<int16_t> out = Render(1);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 2000);
  // Turning the listener to face the source centres it.
  ASSERT_EQ(listener->SetOrientation(1, 0, 0, 0, 1, 0, DS3D_IMMEDIATE), DS_OK);
  out = Render(1);
  EXPECT_EQ(out[0], 2000);
  EXPECT_EQ(out[1], 2000);
  // Beyond the maximum distance with MUTE3DATMAXDISTANCE: silence.
  ASSERT_EQ(b3->SetMaxDistance(3, DS3D_IMMEDIATE), DS_OK);
  out = Render(1);
  EXPECT_EQ(out[0], 0);
  ASSERT_EQ(b3->SetMode(DS3DMODE_DISABLE, DS3D_IMMEDIATE), DS_OK);
  EXPECT_EQ(Render(1)[0], 8000);
  b3->Release();
  listener->Release();
}

TEST(AudioErrorNames, KnownAndUnknownCodes) {
  EXPECT_STREQ(DXGetErrorString8(DSERR_BUFFERLOST), "DSERR_BUFFERLOST");
  EXPECT_STREQ(DXGetErrorString8(DSERR_INVALIDPARAM), "E_INVALIDARG");
  EXPECT_STREQ(DXGetErrorString8(0x12345), "Unknown");
}

TEST(NullOutput, PlaybackAdvancesWithTheClock) {
  TestClock clock;
  SetAudioOutputKind(AudioOutputKind::Null);
  IDirectSound8* device = nullptr;
  ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
  ASSERT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
  const WAVEFORMATEX mono = Pcm(22050, 1, 16);
  DSBUFFERDESC desc;
  desc.bufferBytes = 2205 * 2;  // 100 ms
  desc.format = &mono;
  IDirectSoundBuffer8* b = nullptr;
  ASSERT_EQ(device->CreateSoundBuffer(&desc, &b, nullptr), DS_OK);
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  clock.AdvanceSeconds(0.05);
  uint32_t status = 0, play = 0;
  ASSERT_EQ(b->GetStatus(&status), DS_OK);
  EXPECT_EQ(status & DSBSTATUS_PLAYING, DSBSTATUS_PLAYING);
  ASSERT_EQ(b->GetCurrentPosition(&play, nullptr), DS_OK);
  EXPECT_NEAR(play, 2205u, 4u);
  clock.AdvanceSeconds(0.06);
  ASSERT_EQ(b->GetStatus(&status), DS_OK);
  EXPECT_EQ(status, 0u);
  b->Release();
  device->Release();
  SetAudioOutputKind(AudioOutputKind::Recording);
}

TEST(SdlOutput, OpensOnTheDummyDriver) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  SetAudioOutputKind(AudioOutputKind::Sdl);
  IDirectSound8* device = nullptr;
  ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
  ASSERT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
  DSBUFFERDESC desc;
  desc.flags = DSBCAPS_PRIMARYBUFFER;
  IDirectSoundBuffer8* primary = nullptr;
  ASSERT_EQ(device->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
  const WAVEFORMATEX format = Pcm(48000, 2, 16);
  EXPECT_EQ(primary->SetFormat(&format), DS_OK);
  primary->Release();
  device->Release();
  SetAudioOutputKind(AudioOutputKind::Recording);
}

}  // namespace
}  // namespace audiotest
