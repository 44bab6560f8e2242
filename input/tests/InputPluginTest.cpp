// The input library as the game reaches it: loaded at run time, found by the
// library manager, started on a window and pumped once a frame.
#include <gtest/gtest.h>

#include <vector>

#include "AllocationCounter.h"
#include "engine/config/ConfigManager.h"
#include "engine/services/CoreBaseDescriptor.h"
#include "engine/services/CoreInput.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/LibraryManager.h"
#include "InputTestSupport.h"
#include "platform/Clock.h"
#include "platform/Library.h"
#include "platform/window/KeyCodes.h"
#include "platform/window/ScriptedInput.h"

using namespace platform;
using itest::Delivered;
using itest::K;
using itest::M;

namespace {

TEST(InputPlugin, ExportsAndDescriptor) {
  LibraryHandle library = LoadLibrary(TACTOR_PATH);
  ASSERT_NE(library, nullptr) << LibraryError();
  auto getCoreDesc = reinterpret_cast<GetCoreDescFunc>(GetProcAddress(library, kGetCoreDescExport));
  auto getDescription = reinterpret_cast<GetDescriptionFunc>(GetProcAddress(library, kGetDescriptionExport));
  auto getVersion = reinterpret_cast<GetBaseAPIVersionFunc>(GetProcAddress(library, kGetBaseAPIVersionExport));
  ASSERT_NE(getCoreDesc, nullptr);
  ASSERT_NE(getDescription, nullptr);
  ASSERT_NE(getVersion, nullptr);

  EXPECT_EQ(getVersion(), 1.0f);
  ASSERT_NE(getDescription(), nullptr);
  EXPECT_GT(std::string(getDescription()).size(), 0u);
  CoreBaseDescriptor* desc = getCoreDesc(0);
  ASSERT_NE(desc, nullptr);
  EXPECT_EQ(getCoreDesc(0), desc) << "one descriptor, the same every time";
  EXPECT_EQ(getCoreDesc(1), nullptr);
  EXPECT_EQ(getCoreDesc(-1), nullptr);
  EXPECT_STREQ(desc->GetName(), "Input Description Class");
  EXPECT_STREQ(desc->GetDescription(), "Input Description Class");
  EXPECT_EQ(desc->GetVersion(), 2.0f);
  EXPECT_EQ(desc->GetBaseAPIVersion(), 1.0f);
  EXPECT_EQ(desc->GetServiceType(), eService_Input);

  CoreBase* module = desc->CreateCoreClass();
  ASSERT_NE(module, nullptr);
  EXPECT_NE(dynamic_cast<cCore_Base_DeviceManager*>(module), nullptr) << "one type across the library boundary";
  EXPECT_STREQ(module->GetName(), "[Input]");
  EXPECT_EQ(module->GetServiceType(), eService_Input);
  delete module;
  EXPECT_TRUE(FreeLibrary(library));
}

// The program's start-up and main loop, cut down to input: the library
// manager loads the plug-in from its library directory and starts it on a
// headless window; a scripted session of key and mouse events is played and
// every frame's packets reach the receiver.
TEST(InputPlugin, ScriptedSessionReachesTheReceiver) {
  TestClock clock;
  clock.SetCounter(5'000'000'000);  // tick 5,000,000
  HWND hwnd = itest::StartHeadlessWindow();
  ASSERT_NE(hwnd, nullptr);

  cCore_ConfigManager config;
  config.SetValue("App", "library_path", std::string("path=") + TACTOR_DIR);
  config.SetValue("App", "resource_path", std::string("path=") + TACTOR_DIR);
  config.SetValue("App", "MaxVersion", "9");
  config.SetValue("App", "MinVersion", "0");
  cCore_GlobalWrapper table;
  table.SetWindow(hwnd);
  cCore_LibraryManager libraries;
  ASSERT_EQ(libraries.Init(cCore_LibraryManager::kInput, &config, &table), status::Ok);
  CoreInput* input = table.input;
  ASSERT_NE(input, nullptr);
  auto* devices = dynamic_cast<cCore_Base_DeviceManager*>(input);
  ASSERT_NE(devices, nullptr);
  EXPECT_EQ(input->GetResourcePath(), TACTOR_DIR);

  itest::RecordingReceiver receiver;
  EXPECT_EQ(input->Update(0.0f), status::Fail) << "no receiver yet";
  input->SetClientRectRef(&table.clientRect);
  input->SetReceiver(&receiver);

  ScriptedInput script;
  ASSERT_EQ(script.Parse("# a short session\r\n"
                         "0   key down LSHIFT\r\n"
                         "5   key down A\r\n"
                         "5   move 15 -4\r\n"
                         "12  key up LSHIFT\n"
                         "12  button down 0\n"
                         "20  key down CAPITAL\n"
                         "25  key up CAPITAL\n"
                         "30  move 1000 0\n"
                         "30  button down 1\n"
                         "38  button up 0\n"
                         "40  wheel -2\n"
                         "45  key up A\n"
                         "50  move -2000 -2000\n"
                         "55  key down RCONTROL\n"
                         "60  key up RCONTROL\n"
                         "60  button up 1\n"),
            status::Ok);
  const uint32_t t0 = GetTickCount();
  script.Start(hwnd);

  // Frames of 10 ms: the main loop drains the window's messages, then the
  // input service is pumped first of all services. Once the first frame has
  // run, no frame may allocate.
  size_t frames = 0;
  size_t allocations = 0;
  while (!script.Finished() && frames < 100) {
    itest::Drain();
    if (frames > 0) itest::StartCountingAllocations();
    CoreStatus pumped = input->Update(0.01f);
    if (frames > 0) allocations += itest::StopCountingAllocations();
    EXPECT_EQ(pumped, status::Ok);
    clock.AdvanceMicroseconds(10'000);
    ++frames;
  }
  itest::Drain();
  EXPECT_EQ(input->Update(0.01f), status::Ok);
  EXPECT_EQ(allocations, 0u) << "over " << frames << " frames";
  EXPECT_EQ(frames, 7u);

  const uint8_t lshift = 0x08, caps = 0x40, rctrl = 0x01;
  const std::vector<Delivered> expected{
      K(DIK_LSHIFT, 0, t0 + 0, lshift),
      M(15, 0, 0, 415, 300, t0 + 5),  // a tie goes to the mouse
      M(0, -4, 0, 415, 296, t0 + 5),
      K(DIK_A, 0, t0 + 5, lshift),
      M(0, 0, 0, 415, 296, t0 + 12, 0x01, 0x00, 0x00),
      K(DIK_LSHIFT, 1, t0 + 12, 0),
      K(DIK_CAPITAL, 0, t0 + 20, caps),
      K(DIK_CAPITAL, 1, t0 + 25, caps),
      M(1000, 0, 0, 800, 296, t0 + 30, 0x00, 0x01, 0x00),  // kept inside the 800 x 600 area
      M(0, 0, 0, 800, 296, t0 + 30, 0x02, 0x01, 0x00),
      M(0, 0, 0, 800, 296, t0 + 38, 0x00, 0x02, 0x01),
      M(0, 0, -240, 800, 296, t0 + 40, 0x00, 0x02, 0x00),
      K(DIK_A, 1, t0 + 45, caps),
      M(-2000, 0, 0, 0, 296, t0 + 50, 0x00, 0x02, 0x00),
      M(0, -2000, 0, 0, 0, t0 + 50, 0x00, 0x02, 0x00),
      K(DIK_RCONTROL, 0, t0 + 55, caps | rctrl),
      M(0, 0, 0, 0, 0, t0 + 60, 0x00, 0x00, 0x02),
      K(DIK_RCONTROL, 1, t0 + 60, caps),
  };
  EXPECT_EQ(receiver.seen, expected);

  int32_t x = -1, y = -1;
  devices->GetMousePosition(&x, &y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);

  script.Stop();
  libraries.Shutdown(&table);
  EXPECT_EQ(table.input, nullptr);
  ShutdownWindowSystem();
}

// Frames keep to their storage however many events wait: the devices' arrays
// are sized once and the platform's queues keep theirs.
TEST(InputPlugin, BusyFramesDoNotAllocate) {
  HWND hwnd = itest::StartHeadlessWindow();
  ASSERT_NE(hwnd, nullptr);
  LibraryHandle library = LoadLibrary(TACTOR_PATH);
  ASSERT_NE(library, nullptr) << LibraryError();
  auto getCoreDesc = reinterpret_cast<GetCoreDescFunc>(GetProcAddress(library, kGetCoreDescExport));
  ASSERT_NE(getCoreDesc, nullptr);

  itest::StartCountingAllocations();
  CoreBase* module = getCoreDesc(0)->CreateCoreClass();
  EXPECT_GT(itest::StopCountingAllocations(), 0u) << "the counter sees the library's allocations";
  auto* input = dynamic_cast<CoreInput*>(module);
  ASSERT_NE(input, nullptr);
  ASSERT_EQ(input->Init(hwnd, nullptr, nullptr), status::Ok);
  itest::RecordingReceiver receiver;
  input->SetReceiver(&receiver);
  EXPECT_EQ(input->Update(0.0f), status::Ok);

  uint32_t t = 1;
  for (int frame = 0; frame < 5; ++frame) {
    for (int i = 0; i < 200; ++i, ++t) {
      if (i % 2) {
        itest::KeyAt(t, static_cast<uint8_t>(DIK_Q + i % 8), (i / 2) % 2 == 0);
      } else {
        itest::MoveAt(t, 3, -2);
      }
    }
    itest::Drain();
    receiver.seen.clear();
    itest::StartCountingAllocations();
    CoreStatus pumped = input->Update(0.016f);
    size_t allocations = itest::StopCountingAllocations();
    EXPECT_EQ(pumped, status::Ok);
    EXPECT_EQ(allocations, 0u) << "frame " << frame;
    EXPECT_EQ(receiver.seen.size(), 64u + 32u) << "full buffers, the rest lost to overflow";
  }
  delete module;
  EXPECT_TRUE(FreeLibrary(library));
  ShutdownWindowSystem();
}

}  // namespace
