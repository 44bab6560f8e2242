#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/window/InputDevices.h"
#include "platform/window/KeyCodes.h"
#include "platform/window/SystemEvents.h"
#include "TestDevices.h"
#include "TestWindow.h"

using namespace platform;

namespace {

using wtest::BufferSize;

struct Read {
  HRESULT hr;
  std::vector<DIDEVICEOBJECTDATA> records;
};

Read ReadAll(IDirectInputDevice8* d, uint32_t max = 64) {
  Read r;
  r.records.resize(max);
  uint32_t count = max;
  r.hr = d->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), r.records.data(), &count, 0);
  r.records.resize(count);
  return r;
}

class InputDevices : public wtest::DeviceTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(InitWindowSystem(WindowBackend::Headless), status::Ok);
    hwnd = wtest::MakeWindow();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_NO_FATAL_FAILURE(OpenDevices(32));
  }
};

TEST(InputObject, CreationIsRefusedCleanly) {
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8A, &object, nullptr),
            DIERR_NOTINITIALIZED);
  EXPECT_EQ(object, nullptr);
  ASSERT_EQ(InitWindowSystem(WindowBackend::Headless), status::Ok);
  EXPECT_EQ(DirectInput8Create(nullptr, 0x0700, IID_IDirectInput8A, &object, nullptr), DIERR_OLDDIRECTINPUTVERSION);
  EXPECT_EQ(DirectInput8Create(nullptr, 0x0900, IID_IDirectInput8A, &object, nullptr), DIERR_BETADIRECTINPUTVERSION);
  EXPECT_EQ(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, GUID_SysMouse, &object, nullptr), E_NOINTERFACE);
  EXPECT_EQ(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8A, nullptr, nullptr), E_POINTER);
  ASSERT_EQ(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8A, &object, nullptr), DI_OK);
  auto* in = static_cast<IDirectInput8*>(object);
  IDirectInputDevice8* d = nullptr;
  EXPECT_EQ(in->CreateDevice(IID_IDirectInput8A, &d, nullptr), DIERR_DEVICENOTREG);
  EXPECT_EQ(d, nullptr);
  EXPECT_EQ(in->Release(), 0u);
  ShutdownWindowSystem();
}

TEST_F(InputDevices, KeyRecordsCarryCodeDataTimeAndSequence) {
  EXPECT_EQ(ReadAll(keyboard).hr, DIERR_NOTACQUIRED);
  RaiseKey(DIK_A, true);  // before acquiring: not recorded
  RaiseKey(DIK_A, false);
  ASSERT_EQ(keyboard->Acquire(), DI_OK);
  EXPECT_EQ(keyboard->Acquire(), DI_NOEFFECT);
  clock.SetCounter(5'000'000);  // tick 5000
  RaiseKey(DIK_LSHIFT, true);
  clock.AdvanceMicroseconds(16'000);
  RaiseKey(DIK_UP, true);
  RaiseKey(DIK_UP, true, /*repeat=*/true);  // auto-repeat makes no record
  RaiseKey(DIK_UP, false);
  Read r = ReadAll(keyboard);
  ASSERT_EQ(r.hr, DI_OK);
  ASSERT_EQ(r.records.size(), 3u);
  EXPECT_EQ(r.records[0].dwOfs, DIK_LSHIFT);
  EXPECT_EQ(r.records[0].dwData, 0x80u);
  EXPECT_EQ(r.records[0].dwTimeStamp, 5000u);
  EXPECT_EQ(r.records[1].dwOfs, DIK_UP);
  EXPECT_EQ(r.records[1].dwTimeStamp, 5016u);
  EXPECT_EQ(r.records[2].dwData, 0u);
  EXPECT_LT(r.records[0].dwSequence, r.records[1].dwSequence);
  EXPECT_LT(r.records[1].dwSequence, r.records[2].dwSequence);
  EXPECT_TRUE(ReadAll(keyboard).records.empty());

  uint8_t state[256];
  ASSERT_EQ(keyboard->GetDeviceState(sizeof(state), state), DI_OK);
  EXPECT_EQ(state[DIK_LSHIFT], 0x80);
  EXPECT_EQ(state[DIK_UP], 0);
  EXPECT_EQ(keyboard->GetDeviceState(255, state), DIERR_INVALIDPARAM);
}

TEST_F(InputDevices, MouseRecordsAndState) {
  ASSERT_EQ(mouse->Acquire(), DI_OK);
  RaiseMouseMove(3, -4);
  RaiseMouseButton(1, true);
  RaiseMouseWheel(-240);
  RaiseMouseButton(1, false);
  RaiseMouseMove(0, 2);
  Read r = ReadAll(mouse);
  ASSERT_EQ(r.hr, DI_OK);
  ASSERT_EQ(r.records.size(), 6u);
  EXPECT_EQ(r.records[0].dwOfs, DIMOFS_X);
  EXPECT_EQ(static_cast<int32_t>(r.records[0].dwData), 3);
  EXPECT_EQ(r.records[1].dwOfs, DIMOFS_Y);
  EXPECT_EQ(static_cast<int32_t>(r.records[1].dwData), -4);
  EXPECT_EQ(r.records[0].dwSequence, r.records[1].dwSequence) << "one motion, one sequence number";
  EXPECT_EQ(r.records[2].dwOfs, DIMOFS_BUTTON1);
  EXPECT_EQ(r.records[2].dwData, 0x80u);
  EXPECT_EQ(r.records[3].dwOfs, DIMOFS_Z);
  EXPECT_EQ(static_cast<int32_t>(r.records[3].dwData), -240);
  EXPECT_EQ(r.records[4].dwData, 0u);
  EXPECT_EQ(r.records[5].dwOfs, DIMOFS_Y);

  RaiseMouseButton(0, true);
  DIMOUSESTATE2 state{};
  ASSERT_EQ(mouse->GetDeviceState(sizeof(state), &state), DI_OK);
  EXPECT_EQ(state.lX, 3);
  EXPECT_EQ(state.lY, -2);
  EXPECT_EQ(state.lZ, -240);
  EXPECT_EQ(state.rgbButtons[0], 0x80);
  EXPECT_EQ(state.rgbButtons[1], 0);
  ASSERT_EQ(mouse->GetDeviceState(sizeof(state), &state), DI_OK);
  EXPECT_EQ(state.lX, 0) << "motion is counted since the previous state read";
}

TEST_F(InputDevices, FullBufferKeepsOldestAndReportsOverflowOnce) {
  DIPROPDWORD p = BufferSize(4);
  ASSERT_EQ(keyboard->SetProperty(DIPROP_BUFFERSIZE, &p.diph), DI_OK);
  DIPROPDWORD got = BufferSize(0);
  ASSERT_EQ(keyboard->GetProperty(DIPROP_BUFFERSIZE, &got.diph), DI_OK);
  EXPECT_EQ(got.dwData, 4u);
  ASSERT_EQ(keyboard->Acquire(), DI_OK);
  const uint8_t keys[] = {DIK_1, DIK_2, DIK_3, DIK_4, DIK_5, DIK_6};
  for (uint8_t k : keys) RaiseKey(k, true);

  // A peek shows the records and the overflow but keeps both.
  DIDEVICEOBJECTDATA one[1];
  uint32_t count = 1;
  EXPECT_EQ(keyboard->GetDeviceData(sizeof(one[0]), one, &count, DIGDD_PEEK), DI_BUFFEROVERFLOW);
  Read r = ReadAll(keyboard);
  EXPECT_EQ(r.hr, DI_BUFFEROVERFLOW);
  ASSERT_EQ(r.records.size(), 4u);
  EXPECT_EQ(r.records.front().dwOfs, DIK_1);
  EXPECT_EQ(r.records.back().dwOfs, DIK_4);
  r = ReadAll(keyboard);
  EXPECT_EQ(r.hr, DI_OK);
  EXPECT_TRUE(r.records.empty());

  // A null array with INFINITE empties the buffer.
  RaiseKey(DIK_7, true);
  count = INFINITE;
  EXPECT_EQ(keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), nullptr, &count, 0), DI_OK);
  EXPECT_EQ(count, 1u);
  EXPECT_TRUE(ReadAll(keyboard).records.empty());
  for (uint8_t k : keys) RaiseKey(k, false);
}

TEST_F(InputDevices, DeactivationLosesForegroundDevices) {
  ASSERT_EQ(keyboard->Acquire(), DI_OK);
  ASSERT_EQ(mouse->Acquire(), DI_OK);
  IDirectInputDevice8* background = Make(GUID_SysKeyboard, c_dfDIKeyboard, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND, 8);
  ASSERT_EQ(background->Acquire(), DI_OK);
  RaiseKey(DIK_LCONTROL, true);
  RaiseWindowEvent(hwnd, SystemEventKind::Deactivate);
  RaiseKey(DIK_LCONTROL, false);  // released while in the background

  EXPECT_EQ(ReadAll(keyboard).hr, DIERR_INPUTLOST);
  EXPECT_EQ(ReadAll(keyboard).hr, DIERR_NOTACQUIRED);
  EXPECT_EQ(ReadAll(mouse).hr, DIERR_INPUTLOST);
  EXPECT_EQ(keyboard->Acquire(), DIERR_OTHERAPPHASPRIO);
  Read bg = ReadAll(background);
  EXPECT_EQ(bg.hr, DI_OK);
  EXPECT_EQ(bg.records.size(), 2u) << "a background device keeps recording";
  background->Release();

  RaiseWindowEvent(hwnd, SystemEventKind::Activate);
  ASSERT_EQ(keyboard->Acquire(), DI_OK);
  Read r = ReadAll(keyboard);
  EXPECT_EQ(r.hr, DI_OK);
  EXPECT_TRUE(r.records.empty()) << "records of the lost period are gone";
  uint8_t state[256];
  ASSERT_EQ(keyboard->GetDeviceState(sizeof(state), state), DI_OK);
  EXPECT_EQ(state[DIK_LCONTROL], 0) << "the state knows the key came up";

  RaiseWindowEvent(hwnd, SystemEventKind::Minimize);
  EXPECT_EQ(ReadAll(keyboard).hr, DIERR_INPUTLOST);
  EXPECT_EQ(keyboard->Unacquire(), DI_NOEFFECT);
  EXPECT_EQ(mouse->Unacquire(), DI_NOEFFECT);
}

TEST_F(InputDevices, BadSettingsAreRefused) {
  IDirectInputDevice8* d = nullptr;
  ASSERT_EQ(input->CreateDevice(GUID_SysMouse, &d, nullptr), DI_OK);
  EXPECT_EQ(d->Acquire(), DIERR_INVALIDPARAM) << "no data format yet";
  EXPECT_EQ(d->SetDataFormat(&c_dfDIKeyboard), DIERR_INVALIDPARAM);
  EXPECT_EQ(d->SetDataFormat(nullptr), E_POINTER);
  struct {
    HWND hwnd;
    uint32_t flags;
  } coop[] = {{hwnd, DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND},
              {hwnd, DISCL_FOREGROUND},
              {hwnd, DISCL_EXCLUSIVE},
              {hwnd, DISCL_EXCLUSIVE | DISCL_FOREGROUND | 0x100},
              {reinterpret_cast<HWND>(0x10), DISCL_EXCLUSIVE | DISCL_FOREGROUND}};
  for (const auto& c : coop) EXPECT_EQ(d->SetCooperativeLevel(c.hwnd, c.flags), DIERR_INVALIDPARAM) << c.flags;

  DIPROPDWORD bad[4] = {BufferSize(8), BufferSize(8), BufferSize(8), BufferSize(kMaxDeviceBufferSize + 1)};
  bad[0].diph.dwSize = 16;
  bad[1].diph.dwHeaderSize = 20;
  bad[2].diph.dwHow = DIPH_BYOFFSET;
  for (auto& p : bad) EXPECT_EQ(d->SetProperty(DIPROP_BUFFERSIZE, &p.diph), DIERR_INVALIDPARAM);
  EXPECT_EQ(d->SetProperty(DIPROP_BUFFERSIZE, nullptr), E_POINTER);

  ASSERT_EQ(d->SetDataFormat(&c_dfDIMouse2), DI_OK);
  ASSERT_EQ(d->Acquire(), DI_OK);  // default: non-exclusive background
  uint32_t count = 4;
  DIDEVICEOBJECTDATA rec[4];
  EXPECT_EQ(d->GetDeviceData(sizeof(rec[0]), rec, &count, 0), DIERR_NOTBUFFERED);
  EXPECT_EQ(count, 0u);
  DIPROPDWORD ok = BufferSize(8);
  EXPECT_EQ(d->SetProperty(DIPROP_BUFFERSIZE, &ok.diph), DIERR_ACQUIRED);
  EXPECT_EQ(d->SetDataFormat(&c_dfDIMouse2), DIERR_ACQUIRED);
  count = 4;
  EXPECT_EQ(mouse->GetDeviceData(16, rec, &count, 0), DIERR_INVALIDPARAM);
  EXPECT_EQ(mouse->GetDeviceData(sizeof(rec[0]), rec, nullptr, 0), E_POINTER);
  EXPECT_EQ(mouse->GetDeviceData(sizeof(rec[0]), rec, &count, 0x8), DIERR_INVALIDPARAM);
  EXPECT_EQ(d->Release(), 0u);
}

}  // namespace
