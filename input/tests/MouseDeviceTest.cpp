#include <gtest/gtest.h>

#include <vector>

#include "input/MouseDevice.h"
#include "InputTestSupport.h"

using namespace platform;
using itest::Mouse;

namespace {

class MouseDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = itest::StartHeadlessWindow();
    ASSERT_NE(hwnd, nullptr);
    void* object = nullptr;
    ASSERT_EQ(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8A, &object, nullptr), DI_OK);
    input = static_cast<IDirectInput8*>(object);
    mouse = std::make_unique<cDX8_MouseDevice>(hwnd);
    ASSERT_EQ(mouse->Create(input), DI_OK);
    ASSERT_TRUE(mouse->IsAcquired());
  }
  void TearDown() override {
    mouse.reset();
    if (input) input->Release();
    ShutdownWindowSystem();
  }

  std::vector<Mouse> Read() {
    MousePacket* packets = nullptr;
    uint32_t n = mouse->ReadBufferedData(&packets);
    std::vector<Mouse> out;
    for (uint32_t i = 0; i < n; ++i) out.push_back(itest::Of(packets[i]));
    return out;
  }
  int32_t X() {
    int32_t x = -1, y = -1;
    mouse->GetPosition(&x, &y);
    return x;
  }

  HWND hwnd = nullptr;
  IDirectInput8* input = nullptr;
  std::unique_ptr<cDX8_MouseDevice> mouse;
};

TEST_F(MouseDevice, StartsInTheMiddleOfTheDrawingArea) {
  EXPECT_EQ(mouse->GetName(), "VORN_MOUSE");
  EXPECT_EQ(mouse->GetBufferSize(), 32);
  EXPECT_EQ(mouse->GetSensitivity(), 1.0f);
  GUID guid{};
  mouse->GetGUID(&guid);
  EXPECT_EQ(guid, GUID_SysMouse);
  EXPECT_EQ(mouse->GetAreaWidth(), 800);
  EXPECT_EQ(mouse->GetAreaHeight(), 600);
  int32_t x = 0, y = 0;
  mouse->GetPosition(&x, &y);
  EXPECT_EQ(x, 400);
  EXPECT_EQ(y, 300);
}

// Each motion is added to the position in full width and then kept within
// 0..W (W itself included); a delta too big for 16 bits still clamps to the
// edge it points at.
TEST_F(MouseDevice, MotionIsClampedToTheDrawingArea) {
  struct Case {
    int16_t start;
    int32_t dx;
    int32_t x;
  };
  const Case cases[] = {
      {1, -3, 0},         {800, 5, 800},      {400, 400, 800},   {400, 401, 800},     {400, -400, 0},
      {10, 65000, 800},   {10, -65000, 0},   {400, 70000, 800},   {-50, 20, 0},
      {2000, -100, 800},  {2000, -1300, 700}, {400, 2147483647, 800}, {400, -2147483647 - 1, 0},
  };
  uint32_t t = 0;
  for (const Case& c : cases) {
    mouse->SetPosition(c.start, 300);
    itest::MoveAt(++t, c.dx, 0);
    std::vector<Mouse> got = Read();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], (Mouse{c.dx, 0, 0, c.x, 300, t, 0, 0, 0})) << "start " << c.start << " dx " << c.dx;
    EXPECT_EQ(X(), c.x);
  }
}

TEST_F(MouseDevice, VerticalMotionAndWheel) {
  itest::MoveAt(5, 3, -4);
  itest::WheelAt(6, -240);
  itest::MoveAt(7, 0, 1000);
  EXPECT_EQ(Read(), (std::vector<Mouse>{{3, 0, 0, 403, 300, 5, 0, 0, 0},
                                        {0, -4, 0, 403, 296, 5, 0, 0, 0},
                                        {0, 0, -240, 403, 296, 6, 0, 0, 0},
                                        {0, 1000, 0, 403, 600, 7, 0, 0, 0}}));
}

TEST_F(MouseDevice, ButtonMasks) {
  itest::ButtonAt(1, 0, true);
  itest::ButtonAt(2, 1, true);
  itest::MoveAt(3, 1, 0);
  itest::ButtonAt(4, 0, false);
  itest::ButtonAt(5, 7, true);
  itest::ButtonAt(6, 1, false);
  itest::ButtonAt(7, 7, false);
  EXPECT_EQ(Read(), (std::vector<Mouse>{{0, 0, 0, 400, 300, 1, 0x01, 0x00, 0x00},
                                        {0, 0, 0, 400, 300, 2, 0x02, 0x01, 0x00},
                                        {1, 0, 0, 401, 300, 3, 0x00, 0x03, 0x00},
                                        {0, 0, 0, 401, 300, 4, 0x00, 0x02, 0x01},
                                        {0, 0, 0, 401, 300, 5, 0x80, 0x02, 0x00},
                                        {0, 0, 0, 401, 300, 6, 0x00, 0x80, 0x02},
                                        {0, 0, 0, 401, 300, 7, 0x00, 0x00, 0x80}}));
  EXPECT_EQ(mouse->GetHeldButtons(), 0);
}

TEST_F(MouseDevice, SetPositionStoresAsGivenAndTheNextMotionClamps) {
  mouse->SetPosition(-20, 900);
  int32_t x = 0, y = 0;
  mouse->GetPosition(&x, &y);
  EXPECT_EQ(x, -20);
  EXPECT_EQ(y, 900);
  itest::WheelAt(1, 120);
  EXPECT_EQ(Read(), (std::vector<Mouse>{{0, 0, 120, -20, 900, 1, 0, 0, 0}})) << "the wheel leaves the position";
  itest::MoveAt(2, 1, 1);
  std::vector<Mouse> got = Read();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].x, 0);
  EXPECT_EQ(got[1].y, 600);
}

// A button released while the device was not acquired never reports its
// release; the acquire takes the held mask from the button state instead.
TEST_F(MouseDevice, AcquireResyncsTheHeldButtons) {
  itest::ButtonAt(1, 0, true);
  itest::ButtonAt(2, 2, true);
  ASSERT_EQ(Read().size(), 2u);
  ASSERT_EQ(mouse->GetHeldButtons(), 0x05);
  mouse->SetPosition(10, 10);

  RaiseWindowEvent(hwnd, SystemEventKind::Deactivate);
  itest::ButtonAt(3, 0, false);  // never reaches the device
  itest::ButtonAt(4, 1, true);
  EXPECT_TRUE(Read().empty());
  RaiseWindowEvent(hwnd, SystemEventKind::Activate);
  EXPECT_TRUE(Read().empty()) << "this read re-acquires";
  EXPECT_EQ(mouse->GetHeldButtons(), 0x06);
  EXPECT_EQ(X(), 400) << "a re-acquire after a lost read re-centres";

  itest::MoveAt(5, 2, 0);
  EXPECT_EQ(Read(), (std::vector<Mouse>{{2, 0, 0, 402, 300, 5, 0, 0x06, 0}}));
  itest::ButtonAt(6, 1, false);
  itest::ButtonAt(6, 2, false);
}

TEST_F(MouseDevice, DrawingAreaFollowsTheWindow) {
  SystemEvent resize;
  resize.kind = SystemEventKind::Resize;
  resize.window = hwnd;
  resize.width = 300;
  resize.height = 200;
  RaiseSystemEvent(resize);
  itest::MoveAt(1, 1000, 1000);
  std::vector<Mouse> got = Read();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1].x, 300);
  EXPECT_EQ(got[1].y, 200);
  EXPECT_EQ(mouse->ResetState(), DI_OK);
  int32_t x = 0, y = 0;
  mouse->GetPosition(&x, &y);
  EXPECT_EQ(x, 150);
  EXPECT_EQ(y, 100);
}

}  // namespace
