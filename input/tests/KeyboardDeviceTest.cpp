#include <gtest/gtest.h>

#include <vector>

#include "input/KeyboardDevice.h"
#include "InputTestSupport.h"
#include "platform/window/KeyCodes.h"

using namespace platform;
using itest::Key;

namespace {

class KeyboardDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = itest::StartHeadlessWindow();
    ASSERT_NE(hwnd, nullptr);
    void* object = nullptr;
    ASSERT_EQ(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8A, &object, nullptr), DI_OK);
    input = static_cast<IDirectInput8*>(object);
    keyboard = std::make_unique<cDX8_KeyboardDevice>(hwnd);
    ASSERT_EQ(keyboard->Create(input), DI_OK);
    ASSERT_TRUE(keyboard->IsAcquired());
  }
  void TearDown() override {
    keyboard.reset();
    if (input) input->Release();
    ShutdownWindowSystem();
  }

  std::vector<Key> Read() {
    KeyboardPacket* packets = nullptr;
    uint32_t n = keyboard->ReadBufferedData(&packets);
    std::vector<Key> out;
    for (uint32_t i = 0; i < n; ++i) out.push_back(itest::Of(packets[i]));
    return out;
  }

  HWND hwnd = nullptr;
  IDirectInput8* input = nullptr;
  std::unique_ptr<cDX8_KeyboardDevice> keyboard;
};

TEST(KeyboardModifiers, EachKeyOfTheTableAndOthers) {
  struct Case {
    uint8_t before;
    uint8_t scanCode;
    bool down;
    uint8_t after;
  };
  const Case cases[] = {
      {0x00, DIK_RCONTROL, true, 0x01}, {0x01, DIK_RCONTROL, false, 0x00},
      {0x00, DIK_LCONTROL, true, 0x02}, {0xFF, DIK_LCONTROL, false, 0xFD},
      {0x00, DIK_RSHIFT, true, 0x04},   {0x04, DIK_RSHIFT, false, 0x00},
      {0x00, DIK_LSHIFT, true, 0x08},   {0x0C, DIK_LSHIFT, false, 0x04},
      {0x00, DIK_RMENU, true, 0x10},    {0x10, DIK_RMENU, false, 0x00},
      {0x00, DIK_LMENU, true, 0x20},    {0x20, DIK_LMENU, false, 0x00},
      {0x00, DIK_CAPITAL, true, 0x40},  {0x40, DIK_CAPITAL, true, 0x00},
      {0x40, DIK_CAPITAL, false, 0x40}, {0x00, DIK_CAPITAL, false, 0x00},
      {0x00, DIK_NUMLOCK, true, 0x80},  {0x80, DIK_NUMLOCK, true, 0x00},
      {0x80, DIK_NUMLOCK, false, 0x80}, {0x2A, DIK_A, true, 0x2A},
      {0x2A, DIK_A, false, 0x2A},       {0x00, DIK_RETURN, true, 0x00},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cDX8_KeyboardDevice::ApplyKey(c.before, c.scanCode, c.down), c.after)
        << "key " << int(c.scanCode) << (c.down ? " down" : " up") << " from " << int(c.before);
  }
}

TEST_F(KeyboardDevice, ConstructionAndCreation) {
  EXPECT_EQ(keyboard->GetName(), "VORN_KEYBOARD");
  EXPECT_EQ(keyboard->GetBufferSize(), 64);
  EXPECT_EQ(keyboard->GetModifiers(), 0);
  EXPECT_TRUE(keyboard->HasDevice());
  GUID guid{};
  EXPECT_EQ(keyboard->GetGUID(&guid), &guid);
  EXPECT_EQ(guid, GUID_SysKeyboard);
  cDX8_KeyboardDevice bare(hwnd);
  EXPECT_FALSE(bare.HasDevice());
  KeyboardPacket* untouched = nullptr;
  EXPECT_EQ(bare.ReadBufferedData(&untouched), 0u);
  EXPECT_EQ(untouched, nullptr);
  EXPECT_EQ(bare.Acquire(), E_FAIL);
  EXPECT_EQ(bare.Unacquire(), E_FAIL);
  EXPECT_EQ(bare.Flush(), E_FAIL);
  EXPECT_EQ(bare.Create(nullptr), DI_OK) << "no input object: nothing made, nothing reported";
  EXPECT_FALSE(bare.HasDevice());
}

TEST_F(KeyboardDevice, PacketsCarryCodeReleasedFlagTimeAndModifiers) {
  itest::KeyAt(100, DIK_LCONTROL, true);
  itest::KeyAt(110, DIK_A, true);
  itest::KeyAt(120, DIK_A, false);
  itest::KeyAt(130, DIK_LCONTROL, false);
  itest::KeyAt(140, DIK_LSHIFT, true);
  itest::KeyAt(150, DIK_RSHIFT, true);
  itest::KeyAt(160, DIK_LSHIFT, false);
  EXPECT_EQ(Read(), (std::vector<Key>{{DIK_LCONTROL, 0, 100, 0x02},
                                      {DIK_A, 0, 110, 0x02},
                                      {DIK_A, 1, 120, 0x02},
                                      {DIK_LCONTROL, 1, 130, 0x00},
                                      {DIK_LSHIFT, 0, 140, 0x08},
                                      {DIK_RSHIFT, 0, 150, 0x0C},
                                      {DIK_LSHIFT, 1, 160, 0x04}}));
  EXPECT_TRUE(Read().empty());
  itest::KeyAt(170, DIK_RSHIFT, false);
}

TEST_F(KeyboardDevice, CapsLockTogglesOnPressOnly) {
  itest::KeyAt(1, DIK_CAPITAL, true);
  itest::KeyAt(2, DIK_CAPITAL, false);
  itest::KeyAt(3, DIK_CAPITAL, true);
  itest::KeyAt(4, DIK_CAPITAL, false);
  itest::KeyAt(5, DIK_NUMLOCK, true);
  EXPECT_EQ(Read(), (std::vector<Key>{{DIK_CAPITAL, 0, 1, 0x40},
                                      {DIK_CAPITAL, 1, 2, 0x40},
                                      {DIK_CAPITAL, 0, 3, 0x00},
                                      {DIK_CAPITAL, 1, 4, 0x00},
                                      {DIK_NUMLOCK, 0, 5, 0x80}}));
  itest::KeyAt(6, DIK_NUMLOCK, false);
}

TEST_F(KeyboardDevice, OverflowedReadDeliversWhatItGot) {
  for (uint32_t i = 0; i < 70; ++i) itest::KeyAt(i, static_cast<uint8_t>(DIK_1 + i % 10), i % 2 == 0);
  std::vector<Key> got = Read();
  ASSERT_EQ(got.size(), 64u);
  EXPECT_EQ(got.front(), (Key{DIK_1, 0, 0, 0}));
  EXPECT_EQ(got.back().timeStamp, 63u);
  EXPECT_TRUE(Read().empty()) << "the lost events are gone";
}

// Modifiers released while the window was in the background never report
// their key-up; the re-acquire takes them from the key state instead.
TEST_F(KeyboardDevice, ReacquireRecomputesHeldModifiersFromKeyState) {
  itest::KeyAt(10, DIK_LCONTROL, true);
  itest::KeyAt(11, DIK_RMENU, true);
  itest::KeyAt(12, DIK_CAPITAL, true);
  itest::KeyAt(13, DIK_CAPITAL, false);
  ASSERT_EQ(Read().back().modifiers, 0x40 | 0x02 | 0x10);

  RaiseWindowEvent(hwnd, SystemEventKind::Deactivate);
  itest::KeyAt(20, DIK_LCONTROL, false);  // never reaches the device
  itest::KeyAt(21, DIK_LSHIFT, true);
  itest::KeyAt(22, DIK_NUMLOCK, true);  // held while acquiring: says nothing of its toggle
  EXPECT_TRUE(Read().empty()) << "lost: no packets, an acquire attempt fails in the background";
  EXPECT_TRUE(Read().empty());
  EXPECT_TRUE(keyboard->IsAcquired()) << "still counts as acquired, so each read tries again";

  RaiseWindowEvent(hwnd, SystemEventKind::Activate);
  EXPECT_TRUE(Read().empty()) << "this read re-acquires";
  EXPECT_EQ(keyboard->GetModifiers(), 0x40 | 0x10 | 0x08);
  itest::KeyAt(30, DIK_B, true);
  EXPECT_EQ(Read(), (std::vector<Key>{{DIK_B, 0, 30, 0x58}}));

  for (uint8_t k : {DIK_B, DIK_RMENU, DIK_LSHIFT, DIK_NUMLOCK}) itest::KeyAt(40, k, false);
  EXPECT_EQ(Read().back().modifiers, 0x40);
}

TEST_F(KeyboardDevice, UnacquireStopsReadingUntilAcquired) {
  EXPECT_GE(keyboard->SetAcquired(false), 0);
  EXPECT_FALSE(keyboard->IsAcquired());
  EXPECT_EQ(keyboard->Unacquire(), E_FAIL) << "flushing needs the device acquired";
  itest::KeyAt(5, DIK_Q, true);
  KeyboardPacket* packets = nullptr;
  EXPECT_EQ(keyboard->ReadBufferedData(&packets), 0u);
  EXPECT_EQ(packets, nullptr);
  EXPECT_EQ(keyboard->SetAcquired(true), DI_OK);
  itest::KeyAt(6, DIK_Q, false);
  EXPECT_EQ(Read(), (std::vector<Key>{{DIK_Q, 1, 6, 0}}));
}

TEST_F(KeyboardDevice, FailedCreationLeavesNoDevice) {
  cDX8_KeyboardDevice elsewhere(nullptr);  // no window to bind to
  EXPECT_EQ(elsewhere.Create(input), E_FAIL);
  EXPECT_FALSE(elsewhere.HasDevice());
  EXPECT_FALSE(elsewhere.IsAcquired());
}

}  // namespace
