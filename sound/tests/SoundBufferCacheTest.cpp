// The buffer cache: reuse of idle buffers, copies of busy ones, the limit of
// four busy copies, paused buffers and the idle timer of copies.
#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "sound/DXSoundBuffer.h"
#include "sound/SoundHandleDX.h"
#include "sound/tests/SoundServiceTestUtil.h"

namespace soundtest {
namespace {

DXSoundBuffer* BufferOf(SoundHandle* h) { return h ? static_cast<SoundHandleDX*>(h)->buffer : nullptr; }

using SoundBufferCache = ServiceTest;

TEST_F(SoundBufferCache, BusyCopiesAndTheFarthestOne) {
  Start();
  const std::string tone = AddTone("tone.wav");
  SoundHandle* h[4];
  for (int i = 0; i < 4; ++i) {
    h[i] = service->CreateSoundAt(tone, JVector(10.0f * (i + 1), 0, 0), false, false);
    ASSERT_NE(BufferOf(h[i]), nullptr) << i;
    ASSERT_TRUE(service->PlaySound(h[i], true));
  }
  // One loaded buffer and three copies, counted by the busy ones found.
  ASSERT_EQ(service->GetBufferCache().size(), 4u);
  EXPECT_EQ(BufferOf(h[0])->duplicateCount, 0);
  EXPECT_EQ(BufferOf(h[1])->duplicateCount, 2);
  EXPECT_EQ(BufferOf(h[2])->duplicateCount, 3);
  EXPECT_EQ(BufferOf(h[3])->duplicateCount, 4);
  for (SoundHandle* each : h) EXPECT_EQ(BufferOf(each)->fileName, tone);

  // Four busy: a request without a requester gets nothing.
  SoundHandle* plain = service->CreateSound(tone);
  EXPECT_EQ(BufferOf(plain), nullptr);
  // A farther requester gets nothing either; a nearer one takes the farthest.
  SoundHandle* far = service->CreateSoundAt(tone, JVector(0, 0, 99), false, false);
  EXPECT_TRUE(service->PlaySound(far, true));
  EXPECT_EQ(BufferOf(far), nullptr);
  DXSoundBuffer* farthest = BufferOf(h[3]);
  SoundHandle* near = service->CreateSoundAt(tone, JVector(0, 5, 0), false, false);
  EXPECT_TRUE(service->PlaySound(near, false));
  EXPECT_EQ(BufferOf(near), farthest);
  EXPECT_EQ(BufferOf(h[3]), nullptr);
  EXPECT_EQ(farthest->owner, static_cast<SoundHandleDX*>(near));
  EXPECT_EQ(service->GetBufferCache().size(), 4u);
  // The looping handle that lost its buffer gets one back when one is free.
  service->StopSound(h[0]);
  service->Update(3.0f);
  EXPECT_NE(BufferOf(h[3]), nullptr);
  EXPECT_EQ(BufferOf(h[0]), nullptr);  // the stopped one was idle: taken
}

TEST_F(SoundBufferCache, IdleBuffersAreReusedPausedOnesAreNot) {
  Start();
  const std::string tone = AddTone("tone.wav", 50);
  SoundHandle* first = service->CreateSound(tone);
  service->PlaySound(first, false);
  Render(60);
  service->Update(0.5f);  // refreshes the playing flags
  SoundHandle* second = service->CreateSound(tone);
  EXPECT_EQ(service->GetBufferCache().size(), 1u);
  EXPECT_EQ(BufferOf(first), nullptr);
  ASSERT_NE(BufferOf(second), nullptr);

  // Paused by the handle or with all sounds: still busy, so a copy is made.
  service->PlaySound(second, true);
  service->Pause(second);
  SoundHandle* third = service->CreateSound(tone);
  EXPECT_NE(BufferOf(third), BufferOf(second));
  EXPECT_EQ(service->GetBufferCache().size(), 2u);
  service->PlaySound(third, true);
  service->PauseAllSounds(true);
  SoundHandle* fourth = service->CreateSound(tone);
  EXPECT_NE(BufferOf(fourth), nullptr);
  EXPECT_NE(BufferOf(fourth), BufferOf(third));
  EXPECT_NE(BufferOf(fourth), BufferOf(second));
  EXPECT_EQ(service->GetBufferCache().size(), 3u);

  EXPECT_EQ(SoundMgrDX8::HashName("Sounds\\Tone.WAV"), SoundMgrDX8::HashName("sounds\\tone.wav"));
  // A name differing only in case is another file for the cache.
  AddTone("TONE.wav", 50);
  SoundHandle* other = service->CreateSound(dir.File("TONE.wav"));
  EXPECT_EQ(service->GetBufferCache().size(), 4u);
  EXPECT_NE(BufferOf(other), nullptr);
}

TEST_F(SoundBufferCache, IdleCopiesGoAfterFourMinutes) {
  platform::TestClock clock;
  Start();
  const std::string tone = AddTone("tone.wav", 100);
  SoundHandle* a = service->CreateSound(tone);
  SoundHandle* b = service->CreateSound(tone);
  service->PlaySound(a, false);
  service->PlaySound(b, false);
  ASSERT_EQ(service->GetBufferCache().size(), 2u);
  DXSoundBuffer* loaded = BufferOf(a);
  Render(200);  // both end
  clock.AdvanceSeconds(239.0);
  service->Update(3.0f);
  EXPECT_EQ(service->GetBufferCache().size(), 2u);
  clock.AdvanceSeconds(2.0);
  service->Update(3.0f);
  // The copy is gone (its handle lost it); the loaded buffer stays for good.
  ASSERT_EQ(service->GetBufferCache().size(), 1u);
  EXPECT_EQ(service->GetBufferCache().front(), loaded);
  EXPECT_EQ(BufferOf(b), nullptr);
  clock.AdvanceSeconds(3600.0);
  service->Update(3.0f);
  EXPECT_EQ(service->GetBufferCache().size(), 1u);
  // A copy that keeps playing keeps its deadline moving.
  service->PlaySound(a, true);
  service->PlaySound(b, true);
  for (int i = 0; i < 5; ++i) {
    clock.AdvanceSeconds(200.0);
    service->Update(3.0f);
  }
  EXPECT_EQ(service->GetBufferCache().size(), 2u);
}

TEST_F(SoundBufferCache, LostBuffersAreRestoredOnPlay) {
  Start();
  SoundHandle* h = service->CreateSound(AddTone("tone.wav", 100));
  platform::LoseAudioBuffers();
  service->PlaySound(h, false);  // restores, does not play
  EXPECT_EQ(Render(4)[0], 0);
  service->PlaySound(h, false);
  EXPECT_EQ(Render(4)[0], 16000);
}

}  // namespace
}  // namespace soundtest
