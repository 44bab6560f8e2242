#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "platform/window/InputDevices.h"
#include "platform/window/KeyCodes.h"
#include "platform/tests/ScratchDir.h"
#include "platform/window/ScriptedInput.h"
#include "TestWindow.h"

using namespace platform;

namespace {

constexpr const char* kScript =
    "# a short session\r\n"
    "0    window activate\r\n"
    "\r\n"
    "100  key down LSHIFT\n"
    "100  key repeat lshift\n"
    "120  move 15 -4\n"
    "130  button down 1\n"
    "130  key up 0x2A\n"
    "400\twheel -2\n"
    "   500 key down 0x1e   \n"
    "900  window close\n";

TEST(ScriptedInput, ParsesEveryKindOfLine) {
  ScriptedInput script;
  ASSERT_EQ(script.Parse(kScript), status::Ok);
  const auto& ev = script.Events();
  ASSERT_EQ(ev.size(), 9u);
  EXPECT_EQ(ev[0].event.kind, SystemEventKind::Activate);
  EXPECT_EQ(ev[1].time, 100u);
  EXPECT_EQ(ev[1].event.dik, DIK_LSHIFT);
  EXPECT_TRUE(ev[1].event.down);
  EXPECT_TRUE(ev[2].event.repeat);
  EXPECT_EQ(ev[3].event.dx, 15);
  EXPECT_EQ(ev[3].event.dy, -4);
  EXPECT_EQ(ev[4].event.button, 1);
  EXPECT_EQ(ev[5].event.dik, DIK_LSHIFT);
  EXPECT_FALSE(ev[5].event.down);
  EXPECT_EQ(ev[6].event.wheel, -240);
  EXPECT_EQ(ev[7].event.dik, DIK_A);
  EXPECT_EQ(ev[8].event.kind, SystemEventKind::Close);
}

TEST(ScriptedInput, MalformedScriptsAreRefusedAndChangeNothing) {
  const struct {
    const char* text;
    const char* reason;
  } bad[] = {
      {"x key down A\n", "bad time"},
      {"-5 key down A\n", "bad time"},
      {"2147483648 key down A\n", "bad time"},
      {"99999999999999999999 key down A\n", "bad time"},
      {"10\n", "missing event"},
      {"10 jump\n", "unknown event"},
      {"10 key A\n", "key needs"},
      {"10 key press A\n", "key needs down"},
      {"10 key down NOSUCHKEY\n", "unknown key"},
      {"10 key down 0x00\n", "unknown key"},
      {"10 key down 30\n", "unknown key"},
      {"10 key down 0x\n", "unknown key"},
      {"10 key down 0x100\n", "unknown key"},
      {"10 key down 0xZZ\n", "unknown key"},
      {"10 key down A extra\n", "key needs"},
      {"10 move 1\n", "move needs"},
      {"10 move 1 40000\n", "bad motion"},
      {"10 move 1.5 2\n", "bad motion"},
      {"10 button down 8\n", "outside 0..7"},
      {"10 button hold 1\n", "button needs down"},
      {"10 wheel 0\n", "wheel notches"},
      {"10 wheel 101\n", "wheel notches"},
      {"10 window explode\n", "unknown window"},
      {"20 key down A\n10 key up A\n", "backwards"},
      {"10 key down A\x01\n", "control character"},
      {"10 \xff\xfe key\n", "unknown event"},
  };
  ScriptedInput script;
  ASSERT_EQ(script.Parse("5 key down A\n"), status::Ok);
  for (const auto& b : bad) {
    ScopedDebugCapture capture;
    EXPECT_EQ(script.Parse(b.text, "test.txt"), status::Fail) << b.text;
    EXPECT_TRUE(capture.Contains(b.reason)) << b.text << " -> " << capture.Text();
    EXPECT_TRUE(capture.Contains("test.txt line ")) << capture.Text();
    ASSERT_EQ(script.Events().size(), 1u) << "the loaded script stays";
  }
  ScopedDebugCapture capture;
  EXPECT_EQ(script.Parse(std::string(ScriptedInput::kMaxLineLength + 1, ' ')), status::Fail);
  EXPECT_TRUE(capture.Contains("too long"));
  EXPECT_EQ(script.Load("no/such/script.txt"), status::Fail);
  EXPECT_EQ(script.Events().size(), 1u);
}

TEST(ScriptedInput, PlaysOnTheTickClockIntoMessagesAndDevices) {
  TestClock clock;
  clock.SetCounter(2'000'000);  // tick 2000
  ASSERT_EQ(InitWindowSystem(WindowBackend::Headless), status::Ok);
  HWND hwnd = wtest::MakeWindow();
  ASSERT_NE(hwnd, nullptr);
  RaiseWindowEvent(hwnd, SystemEventKind::Deactivate);
  wtest::Drain();

  ScratchDir dir;
  ScriptedInput script;
  ASSERT_EQ(script.Load(dir.Write("input.txt", kScript)), status::Ok);

  void* object = nullptr;
  ASSERT_EQ(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8A, &object, nullptr), DI_OK);
  auto* in = static_cast<IDirectInput8*>(object);
  IDirectInputDevice8* kb = nullptr;
  ASSERT_EQ(in->CreateDevice(GUID_SysKeyboard, &kb, nullptr), DI_OK);
  ASSERT_EQ(kb->SetDataFormat(&c_dfDIKeyboard), DI_OK);
  ASSERT_EQ(kb->SetCooperativeLevel(hwnd, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND), DI_OK);
  DIPROPDWORD p{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, 16};
  ASSERT_EQ(kb->SetProperty(DIPROP_BUFFERSIZE, &p.diph), DI_OK);

  script.Start(hwnd);
  EXPECT_TRUE(script.HasPendingEvents());
  wtest::Log().clear();
  wtest::Drain();  // time 0: the window is activated by the script
  EXPECT_EQ(GetActiveWindow(), hwnd);
  EXPECT_EQ(script.Played(), 1u);
  ASSERT_EQ(kb->Acquire(), DI_OK);

  clock.AdvanceMicroseconds(130'000);  // the pumps inside the read play up to 130 ms
  DIDEVICEOBJECTDATA recs[8];
  uint32_t count = 8;
  ASSERT_EQ(kb->GetDeviceData(sizeof(recs[0]), recs, &count, 0), DI_OK);
  ASSERT_EQ(count, 2u) << "the repeat makes no record";
  EXPECT_EQ(recs[0].dwOfs, DIK_LSHIFT);
  EXPECT_EQ(recs[0].dwTimeStamp, 2100u) << "stamped with the scripted time";
  EXPECT_EQ(recs[1].dwData, 0u);
  EXPECT_EQ(recs[1].dwTimeStamp, 2130u);
  EXPECT_EQ(script.Played(), 6u);

  clock.AdvanceMicroseconds(1'000'000);
  EXPECT_TRUE(wtest::Drain()) << "the scripted close ends the run";
  EXPECT_TRUE(script.Finished());
  EXPECT_FALSE(script.HasPendingEvents());
  kb->Release();
  in->Release();
  script.Stop();
  ShutdownWindowSystem();
}

// A click comment aims the next release of button 0; other comments and
// other buttons take no aim.
TEST(ScriptedInput, ClickCommentsAimTheNextLeftRelease) {
  ScriptedInput script;
  ASSERT_EQ(script.Parse("# click btnOne: the first\n"
                         "10 button down 0\n"
                         "# a note\n"
                         "20 button up 1\n"
                         "30 button up 0\n"
                         "# click   cell  12 30 : the land\n"
                         "40 button up 0\n"
                         "50 button up 0\n"),
            status::Ok);
  const auto& ev = script.Events();
  ASSERT_EQ(ev.size(), 5u);
  const struct {
    size_t line;
    const char* target;
  } want[] = {{2, ""}, {4, ""}, {5, "btnOne"}, {7, "cell 12 30"}, {8, ""}};
  for (size_t i = 0; i < ev.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ev[i].line, want[i].line);
    EXPECT_EQ(ev[i].target, want[i].target);
  }
}

// Each aimed release is checked before it is raised, one pump after the
// events before it; a miss names the line, plays nothing more and quits
// with code 1.
TEST(ScriptedInput, AClickOffItsTargetStopsTheRunNamingTheLine) {
  TestClock clock;
  ASSERT_EQ(InitWindowSystem(WindowBackend::Headless), status::Ok);
  HWND hwnd = wtest::MakeWindow();
  ASSERT_NE(hwnd, nullptr);
  wtest::Drain();
  ScriptedInput script;
  ASSERT_EQ(script.Parse("0 move 5 5\n"
                         "# click btnGood: on target\n"
                         "0 button up 0\n"
                         "# click btnGood: planted wrong\n"
                         "100 button up 0\n"
                         "200 key down A\n",
                         "tour.input"),
            status::Ok);
  std::vector<std::string> asked;
  std::string on = "btnGood";
  script.SetClickCheck([&](const std::string& target, std::string* got) {
    asked.push_back(target);
    *got = on;
    return target == on;
  });
  script.Start(hwnd);
  EXPECT_FALSE(wtest::Drain());
  EXPECT_EQ(script.Played(), 1u) << "the aimed release waits for a pump after the move";
  EXPECT_TRUE(asked.empty());
  clock.AdvanceMicroseconds(1000);
  EXPECT_FALSE(wtest::Drain());
  EXPECT_EQ(script.Played(), 2u);
  EXPECT_EQ(asked, std::vector<std::string>{"btnGood"});
  EXPECT_TRUE(script.Failure().empty());

  on = "btnOther";
  clock.AdvanceMicroseconds(200'000);
  MSG msg;
  bool quit = false;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = true;
      EXPECT_EQ(static_cast<int>(msg.wParam), 1);
      break;
    }
    DispatchMessage(&msg);
  }
  EXPECT_TRUE(quit);
  EXPECT_EQ(script.Failure(), "tour.input line 5: the click aimed at btnGood lands on btnOther");
  EXPECT_EQ(script.Played(), 2u) << "neither the miss nor anything after it is played";
  EXPECT_FALSE(script.HasPendingEvents());
  script.Stop();
  ShutdownWindowSystem();
}

}  // namespace
