#pragma once
// The fixture of the input-device tests: the input object, a foreground
// keyboard and an exclusive foreground mouse on a window. Each test file
// sets up the window layer and the window its own way, then opens the
// devices.
#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/window/InputDevices.h"
#include "TestWindow.h"

namespace wtest {

// A property block that sets or reads a device's buffer size.
inline platform::DIPROPDWORD BufferSize(uint32_t size) {
  platform::DIPROPDWORD p{};
  p.diph = {sizeof(platform::DIPROPDWORD), sizeof(platform::DIPROPHEADER), 0, platform::DIPH_DEVICE};
  p.dwData = size;
  return p;
}

class DeviceTest : public ::testing::Test {
 protected:
  // Makes the input object and both devices for `hwnd` (a keyboard of 64
  // records, a mouse of `mouseBufferSize`), neither acquired.
  void OpenDevices(uint32_t mouseBufferSize) {
    void* object = nullptr;
    ASSERT_EQ(platform::DirectInput8Create(nullptr, platform::DIRECTINPUT_VERSION, platform::IID_IDirectInput8A,
                                           &object, nullptr),
              platform::DI_OK);
    input = static_cast<platform::IDirectInput8*>(object);
    keyboard = Make(platform::GUID_SysKeyboard, platform::c_dfDIKeyboard,
                    platform::DISCL_NONEXCLUSIVE | platform::DISCL_FOREGROUND, 64);
    mouse = Make(platform::GUID_SysMouse, platform::c_dfDIMouse2, platform::DISCL_EXCLUSIVE | platform::DISCL_FOREGROUND,
                 mouseBufferSize);
  }
  void TearDown() override {
    if (keyboard) keyboard->Release();
    if (mouse) mouse->Release();
    if (input) input->Release();
    platform::ShutdownWindowSystem();
  }
  platform::IDirectInputDevice8* Make(const platform::GUID& guid, const platform::DIDATAFORMAT& format, uint32_t flags,
                                      uint32_t size) {
    platform::IDirectInputDevice8* d = nullptr;
    EXPECT_EQ(input->CreateDevice(guid, &d, nullptr), platform::DI_OK);
    EXPECT_EQ(d->SetDataFormat(&format), platform::DI_OK);
    EXPECT_EQ(d->SetCooperativeLevel(hwnd, flags), platform::DI_OK);
    platform::DIPROPDWORD p = BufferSize(size);
    EXPECT_EQ(d->SetProperty(platform::DIPROP_BUFFERSIZE, &p.diph), platform::DI_OK);
    return d;
  }

  platform::TestClock clock;
  platform::HWND hwnd = nullptr;
  platform::IDirectInput8* input = nullptr;
  platform::IDirectInputDevice8* keyboard = nullptr;
  platform::IDirectInputDevice8* mouse = nullptr;
};

}  // namespace wtest
