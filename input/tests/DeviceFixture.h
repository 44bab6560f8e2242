#pragma once
// The fixture of the buffered-device tests: a headless window, the input
// object and one created, acquired device, torn down in reverse order.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "InputTestSupport.h"
#include "platform/window/InputDevices.h"

namespace itest {

template <class Device, class Packet>
class DeviceFixture : public ::testing::Test {
 protected:
  using Record = decltype(Of(std::declval<const Packet&>()));

  void SetUp() override {
    hwnd = StartHeadlessWindow();
    ASSERT_NE(hwnd, nullptr);
    void* object = nullptr;
    ASSERT_EQ(platform::DirectInput8Create(nullptr, platform::DIRECTINPUT_VERSION, platform::IID_IDirectInput8A,
                                           &object, nullptr),
              platform::DI_OK);
    input = static_cast<platform::IDirectInput8*>(object);
    device = std::make_unique<Device>(hwnd);
    ASSERT_EQ(device->Create(input), platform::DI_OK);
    ASSERT_TRUE(device->IsAcquired());
  }
  void TearDown() override {
    device.reset();
    if (input) input->Release();
    platform::ShutdownWindowSystem();
  }

  // One buffered read, as comparable records.
  std::vector<Record> Read() {
    Packet* packets = nullptr;
    const uint32_t n = device->ReadBufferedData(&packets);
    std::vector<Record> out;
    for (uint32_t i = 0; i < n; ++i) out.push_back(Of(packets[i]));
    return out;
  }

  platform::HWND hwnd = nullptr;
  platform::IDirectInput8* input = nullptr;
  std::unique_ptr<Device> device;
};

}  // namespace itest
