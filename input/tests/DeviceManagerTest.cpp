#include <gtest/gtest.h>

#include <vector>

#include "input/DeviceManager.h"
#include "input/DeviceManagerDesc.h"
#include "InputTestSupport.h"
#include "platform/window/KeyCodes.h"

using namespace platform;
using itest::Delivered;
using itest::K;
using itest::M;

namespace {

class DeviceManager : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = itest::StartHeadlessWindow();
    ASSERT_NE(hwnd, nullptr);
    ASSERT_EQ(manager.Init(hwnd, nullptr, nullptr), DI_OK);
    ASSERT_TRUE(manager.IsEnabled());
    manager.SetReceiver(&receiver);
  }
  void TearDown() override { ShutdownWindowSystem(); }

  std::vector<Delivered> Frame() {
    EXPECT_EQ(manager.Update(0.016f), DI_OK);
    itest::Drain();
    return receiver.Take();
  }

  HWND hwnd = nullptr;
  cDX8_DeviceManager manager;
  itest::RecordingReceiver receiver;
};

TEST_F(DeviceManager, MergesByTimeStampWithTiesToTheMouse) {
  itest::MoveAt(10, 1, 0);
  itest::KeyAt(15, DIK_A, true);
  itest::MoveAt(20, 2, 0);
  itest::KeyAt(30, DIK_A, false);
  itest::MoveAt(30, 3, 0);
  EXPECT_EQ(Frame(), (std::vector<Delivered>{M(1, 0, 0, 401, 300, 10), K(DIK_A, 0, 15, 0), M(2, 0, 0, 403, 300, 20),
                                             M(3, 0, 0, 406, 300, 30), K(DIK_A, 1, 30, 0)}));
  EXPECT_TRUE(Frame().empty());
}

// The tick count wraps after 49 days; stamps on either side of the wrap
// still merge in the order they happened.
TEST_F(DeviceManager, MergeSurvivesTheTickCountWrapping) {
  itest::MoveAt(0xFFFFFFF0u, 0, 1);
  itest::KeyAt(0xFFFFFFF8u, DIK_Z, true);
  itest::KeyAt(0x00000008u, DIK_Z, false);
  itest::MoveAt(0x00000010u, 0, 1);
  itest::KeyAt(0x00000010u, DIK_X, true);
  EXPECT_EQ(Frame(), (std::vector<Delivered>{M(0, 1, 0, 400, 301, 0xFFFFFFF0u), K(DIK_Z, 0, 0xFFFFFFF8u, 0),
                                             K(DIK_Z, 1, 8, 0), M(0, 1, 0, 400, 302, 16), K(DIK_X, 0, 16, 0)}));
  itest::KeyAt(0x20, DIK_X, false);
}

TEST_F(DeviceManager, NothingIsReadWithoutAReceiver) {
  cDX8_DeviceManager other;
  ASSERT_EQ(other.Init(hwnd, nullptr, nullptr), DI_OK);
  itest::KeyAt(5, DIK_S, true);
  EXPECT_EQ(other.Update(0.0f), E_FAIL);
  other.SetReceiver(&receiver);
  EXPECT_EQ(other.Update(0.0f), DI_OK);
  EXPECT_EQ(receiver.Take(), (std::vector<Delivered>{K(DIK_S, 0, 5, 0)})) << "the event waited in the device";
  itest::KeyAt(6, DIK_S, false);
}

TEST_F(DeviceManager, ModuleDescriptorAndLookups) {
  EXPECT_STREQ(manager.GetName(), "[Input]");
  EXPECT_STREQ(manager.GetDescription(), "The Input Library");
  EXPECT_EQ(manager.GetServiceType(), eService_Input);
  EXPECT_TRUE(static_cast<CoreBase&>(manager).Init());
  EXPECT_TRUE(manager.ApplyConfig());
  CoreBaseConfigMap* options = reinterpret_cast<CoreBaseConfigMap*>(&manager);
  EXPECT_EQ(manager.GetConfig(&options), 0u);
  EXPECT_EQ(options, reinterpret_cast<CoreBaseConfigMap*>(&manager)) << "nothing is given out";
  EXPECT_EQ(manager.ReservedA(), 0);
  EXPECT_EQ(manager.ReservedB(), 0);
  EXPECT_EQ(manager.ReservedC(), 0);
  EXPECT_EQ(manager.ReservedE(nullptr), 0);

  cCore_DX8_DeviceMGR_DESC& desc = cCore_DX8_DeviceMGR_DESC::Instance();
  EXPECT_STREQ(desc.GetName(), "Input Description Class");
  EXPECT_STREQ(desc.GetDescription(), "Input Description Class");
  EXPECT_EQ(desc.GetVersion(), 2.0f);
  EXPECT_EQ(desc.GetBaseAPIVersion(), 1.0f);
  EXPECT_EQ(desc.GetServiceType(), eService_Input);
  CoreBase* made = desc.CreateCoreClass();
  ASSERT_NE(made, nullptr);
  EXPECT_NE(dynamic_cast<cDX8_DeviceManager*>(made), nullptr);
  delete made;

  GUID guid{};
  EXPECT_EQ(manager.GetDeviceGUID(manager.GetMouse(), &guid), DI_OK);
  EXPECT_EQ(guid, GUID_SysMouse);
  EXPECT_EQ(manager.GetDeviceGUID(manager.GetKeyboard(), &guid), DI_OK);
  EXPECT_EQ(guid, GUID_SysKeyboard);
  cDX8_KeyboardDevice stranger(hwnd);
  GUID untouched{1, 2, 3, {4}};
  EXPECT_EQ(manager.GetDeviceGUID(&stranger, &untouched), E_FAIL);
  EXPECT_EQ(untouched, (GUID{1, 2, 3, {4}}));
  EXPECT_EQ(manager.GetDeviceGUID(nullptr, &untouched), E_FAIL);
  cCore_Base_BaseDevice* found = nullptr;
  EXPECT_EQ(manager.FindDevice(&guid, &found), E_FAIL);
  EXPECT_EQ(manager.FindDevice(nullptr, nullptr), E_FAIL);
  EXPECT_EQ(found, nullptr);
}

TEST_F(DeviceManager, MousePositionIsForwardedIn16Bits) {
  manager.SetMousePosition(70000, -5);
  int32_t x = 0, y = 0;
  manager.GetMousePosition(&x, &y);
  EXPECT_EQ(x, 70000 - 65536);
  EXPECT_EQ(y, -5);
  itest::MoveAt(1, 1, 1);
  std::vector<Delivered> got = Frame();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1], M(0, 1, 0, 800, 0, 1));
}

TEST_F(DeviceManager, UnacquireAndRestore) {
  manager.SetMousePosition(5, 5);
  EXPECT_GE(manager.UnacquireDevices(), 0);
  EXPECT_FALSE(manager.GetMouse()->IsAcquired());
  EXPECT_FALSE(manager.GetKeyboard()->IsAcquired());
  int32_t x = 0, y = 0;
  manager.GetMousePosition(&x, &y);
  EXPECT_EQ(x, 400) << "flushing an acquired mouse re-centres it";
  itest::KeyAt(1, DIK_W, true);  // not recorded while unacquired
  EXPECT_TRUE(Frame().empty());
  EXPECT_EQ(manager.UnacquireDevices(), E_FAIL) << "nothing to flush";

  EXPECT_EQ(manager.RestoreDevices(), DI_OK);
  itest::KeyAt(2, DIK_W, false);
  EXPECT_EQ(Frame(), (std::vector<Delivered>{K(DIK_W, 1, 2, 0)}));
}

TEST_F(DeviceManager, UpdateRecreatesADeviceThatLostItsSystemDevice) {
  manager.GetMouse()->Clear();
  ASSERT_FALSE(manager.GetMouse()->HasDevice());
  EXPECT_TRUE(Frame().empty());
  EXPECT_TRUE(manager.GetMouse()->HasDevice());
  EXPECT_TRUE(manager.GetMouse()->IsAcquired());
  itest::ButtonAt(3, 1, true);
  EXPECT_EQ(Frame(), (std::vector<Delivered>{M(0, 0, 0, 400, 300, 3, 0x02, 0, 0)}));
  itest::ButtonAt(4, 1, false);
}

TEST_F(DeviceManager, LostFocusPausesInputUntilTheWindowIsBack) {
  itest::KeyAt(1, DIK_LSHIFT, true);
  EXPECT_EQ(Frame().size(), 1u);
  RaiseWindowEvent(hwnd, SystemEventKind::Deactivate);
  itest::KeyAt(2, DIK_LSHIFT, false);
  EXPECT_TRUE(Frame().empty());
  RaiseWindowEvent(hwnd, SystemEventKind::Activate);
  EXPECT_TRUE(Frame().empty()) << "this frame acquires again";
  itest::KeyAt(3, DIK_C, true);
  EXPECT_EQ(Frame(), (std::vector<Delivered>{K(DIK_C, 0, 3, 0)})) << "the shift released meanwhile is not held";
  itest::KeyAt(4, DIK_C, false);
}

// A start that failed leaves devices missing or without system devices:
// every operation answers a failure instead of touching them.
TEST(DeviceManagerStart, FailedStartsAreRefusedEverywhere) {
  itest::RecordingReceiver receiver;
  {
    ShutdownWindowSystem();  // no input object can be made
    cDX8_DeviceManager manager;
    manager.SetReceiver(&receiver);
    EXPECT_EQ(manager.Init(nullptr, nullptr, nullptr), E_FAIL);
    EXPECT_FALSE(manager.IsEnabled());
    EXPECT_EQ(manager.GetMouse(), nullptr);
    EXPECT_EQ(manager.Update(0.0f), E_FAIL);
    EXPECT_EQ(manager.RestoreDevices(), E_FAIL);
    EXPECT_EQ(manager.UnacquireDevices(), E_FAIL);
    manager.SetMousePosition(1, 2);
    int32_t x = 77, y = 88;
    manager.GetMousePosition(&x, &y);
    EXPECT_EQ(x, 77);
    EXPECT_EQ(y, 88);
    GUID guid{};
    EXPECT_EQ(manager.GetDeviceGUID(nullptr, &guid), E_FAIL);
  }
  {
    HWND hwnd = itest::StartHeadlessWindow();
    ASSERT_NE(hwnd, nullptr);
    cDX8_DeviceManager manager;
    manager.SetReceiver(&receiver);
    // No window to bind to: the devices exist but have no system device.
    EXPECT_EQ(manager.Init(nullptr, nullptr, nullptr), E_FAIL);
    EXPECT_FALSE(manager.IsEnabled());
    ASSERT_NE(manager.GetMouse(), nullptr);
    EXPECT_FALSE(manager.GetMouse()->HasDevice());
    itest::KeyAt(1, DIK_A, true);
    EXPECT_EQ(manager.Update(0.0f), E_FAIL);
    EXPECT_FALSE(manager.GetKeyboard()->HasDevice()) << "the restore attempt failed again";
    EXPECT_TRUE(receiver.Take().empty());
    GUID guid{};
    EXPECT_EQ(manager.GetDeviceGUID(manager.GetMouse(), &guid), E_FAIL) << "not listed after a failed start";
    EXPECT_EQ(manager.Init(hwnd, nullptr, nullptr), E_FAIL) << "a second start is refused";
    itest::KeyAt(2, DIK_A, false);
    ShutdownWindowSystem();
  }
}

}  // namespace
