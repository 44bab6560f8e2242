// The game camera and the game cursor made by the start-up script and
// driven by packets through the game's input manager: orbit and zoom limits,
// double clicks against drags, keys while the overview is on, the bound
// camera keys, the mode the cursor shows, and the cursor's states and lock.
#include <gtest/gtest.h>

#include "engine/config/ConfigParser.h"
#include "engine/frame/ServiceScript.h"
#include "game/GameCommands.h"
#include "game/tests/CameraWorld.h"

namespace gametest {
namespace {

TEST(GameCamera, OrbitAndZoomLimits) {
  CameraWorld w;
  ASSERT_TRUE(w.ok && w.camera);
  struct Case {
    const char* name;
    float pitch, heading;
    float pitchMin, pitchMax;
    float wantPitch, wantHeading;
  } cases[] = {
      {"pitch above the hard limit", 95.0f, 370.0f, 15.0f, 90.0f, 89.0f, 10.0f},
      {"pitch below the limit", 5.0f, -90.0f, 15.0f, 90.0f, 15.0f, 270.0f},
      {"pitch inside", 30.0f, 720.0f, 10.0f, 80.0f, 30.0f, 0.0f},
      {"hard lower limit", 0.0f, 45.0f, -10.0f, 80.0f, 1.0f, 45.0f},
  };
  for (const Case& c : cases) {
    w.camera->SetPitchLimits(c.pitchMin, c.pitchMax);
    w.camera->SetOrbitAngles(c.pitch, c.heading);
    EXPECT_FLOAT_EQ(w.camera->GetPitch(), c.wantPitch) << c.name;
    EXPECT_NEAR(w.camera->GetHeading(), c.wantHeading, 1e-3f) << c.name;
    const JVector o = w.camera->GetOrbitDirection();
    EXPECT_NEAR(o.x * o.x + o.y * o.y + o.z * o.z, 1.0f, 1e-4f) << c.name;
    EXPECT_LT(o.y, 0.0f) << c.name;  // the eye sits above the target
  }
  w.camera->SetLimitsOn(false);
  w.camera->SetZoom(0.05f);
  EXPECT_FLOAT_EQ(w.camera->GetZoom(), 0.1f);
  w.camera->SetLimitsOn(true);
  w.camera->SetZoomLimits(20.0f, 40.0f);
  w.camera->SetZoom(100.0f);
  EXPECT_FLOAT_EQ(w.camera->GetZoom(), 40.0f);
}

TEST(GameCamera, DoubleClickAgainstTwoDrags) {
  struct Case {
    const char* name;
    uint32_t gap;
    bool doubleClick;
  } cases[] = {{"0.2 s apart", 200, true}, {"0.3 s apart", 300, false}, {"0.249 s apart", 249, true}};
  for (const Case& c : cases) {
    CameraWorld w;
    ASSERT_TRUE(w.ok && w.camera) << c.name;
    w.camera->LeaveFixedView(true, true);
    w.Mouse(0x1, 0, 1000);
    EXPECT_TRUE(w.camera->GetCommand(cEntity_GameCamera::kDrag).active) << c.name;
    w.Mouse(0, 0x1, 1100);
    EXPECT_FALSE(w.camera->GetCommand(cEntity_GameCamera::kDrag).active) << c.name;
    w.Mouse(0x1, 0, 1000 + c.gap);
    EXPECT_EQ(w.camera->GetCommand(cEntity_GameCamera::kDoubleClick).active != 0, c.doubleClick) << c.name;
    EXPECT_EQ(w.camera->GetCommand(cEntity_GameCamera::kDrag).active != 0, !c.doubleClick) << c.name;
  }
}

TEST(GameCamera, KeysWhileTheOverviewIsOn) {
  CameraWorld w;
  ASSERT_TRUE(w.ok && w.camera);
  constexpr uint8_t kUp = 0xC8;
  // Made locked: a key going down changes nothing...
  EXPECT_TRUE(w.camera->IsLocked());
  w.camera->SetCommandActive(0, true);
  w.Key(kUp, true);
  w.camera->SetCommandActive(0, false);
  w.Key(kUp, true);
  EXPECT_FALSE(w.camera->GetCommand(0).active);
  // ...but going up it still clears its command.
  w.camera->SetCommandActive(0, true);
  w.Key(kUp, false);
  EXPECT_FALSE(w.camera->GetCommand(0).active);

  w.camera->LeaveFixedView(true, true);
  EXPECT_FALSE(w.camera->IsLocked());
  struct Case {
    uint8_t scanCode;
    int command;
  } cases[] = {{0xC8, 0}, {0x50, 1}, {0xCB, 2}, {0x4D, 3}, {0xC7, 4}, {0x4F, 5}, {0xC9, 6}, {0x51, 7},
               {0x4A, 8}, {0x4E, 9}};
  for (const Case& c : cases) {
    w.Key(c.scanCode, true);
    EXPECT_TRUE(w.camera->GetCommand(c.command).active) << std::hex << int(c.scanCode);
    w.Key(c.scanCode, false);
    EXPECT_FALSE(w.camera->GetCommand(c.command).active) << std::hex << int(c.scanCode);
  }
  w.camera->EnterFixedView(false);
  EXPECT_TRUE(w.camera->IsLocked());
  EXPECT_FLOAT_EQ(w.camera->GetZoom(), 200.0f);
  EXPECT_FLOAT_EQ(w.camera->GetPitch(), 66.0f);
}

TEST(GameCamera, BoundKeysDriveTheirCommands) {
  CameraWorld w;
  ASSERT_TRUE(w.ok && w.camera);
  ASSERT_TRUE(w.config.Bind("camera_rot_right", "W"));
  ASSERT_TRUE(w.config.Bind("camera_forward", "X"));
  w.camera->RegisterKeyHandlers(&w.config);
  w.camera->LeaveFixedView(true, true);
  constexpr uint8_t kW = 0x11;
  constexpr uint8_t kX = 0x2D;
  w.Key(kW, true);
  EXPECT_TRUE(w.camera->GetCommand(cEntity_GameCamera::kRotateRight).active);
  w.Key(kW, false);
  EXPECT_FALSE(w.camera->GetCommand(cEntity_GameCamera::kRotateRight).active);
  w.Key(kX, true);
  EXPECT_TRUE(w.camera->GetCommand(cEntity_GameCamera::kForward).active);
}

TEST(GameCamera, TickMovesAndTellsTheCursor) {
  CameraWorld w;
  ASSERT_TRUE(w.ok && w.camera && w.cursor);
  w.camera->LeaveFixedView(true, true);
  const JVector before = w.camera->GetTarget();
  w.camera->SetCommandActive(cEntity_GameCamera::kForward, true);
  for (int i = 0; i < 20; ++i) w.camera->Tick(0.05f);
  const JVector after = w.camera->GetTarget();
  const JVector o = w.camera->GetOrbitDirection();
  // Forward is the orbit direction flattened.
  const float moved = (after.x - before.x) * o.x + (after.z - before.z) * o.z;
  EXPECT_GT(moved, 1.0f);
  ASSERT_NE(w.cursor->GetCurrentState(), nullptr);
  EXPECT_EQ(w.cursor->GetCurrentState()->name, "move");
  w.camera->SetCommandActive(cEntity_GameCamera::kForward, false);
  w.camera->SetCommandActive(cEntity_GameCamera::kRotateLeft, true);
  const float heading = w.camera->GetHeading();
  w.camera->Tick(0.1f);
  EXPECT_NEAR(w.camera->GetHeading(), heading + 3.0f, 1e-3f);
  EXPECT_EQ(w.cursor->GetCurrentState()->name, "rotate");
}

TEST(GameCursor, StatesStackAndLock) {
  CameraWorld w;
  ASSERT_TRUE(w.ok && w.cursor);
  EXPECT_EQ(w.cursor->GetBasePath(), "Interface\\Cursors\\");
  const auto& states = w.cursor->GetStateMap();
  ASSERT_EQ(states.size(), 6u);
  EXPECT_EQ(states.at("move")->modelPath, "Interface\\Cursors\\move.ssm");

  // A second statement for a filed name changes nothing and answers 0.
  auto* parser = w.config.GetParser();
  parser->SetCurrentObject(svcscript::AsObject(w.cursor));
  CStringArray again = {"state", "move", "true", "other.ssm"};
  EXPECT_EQ(GameCursorStateCommand(again, parser), status::Ok);
  EXPECT_EQ(states.at("move")->modelPath, "Interface\\Cursors\\move.ssm");
  EXPECT_EQ(states.at("move")->lock, 0);
  struct Shape {
    CStringArray tokens;
    CoreStatus want;
  } shapes[] = {
      {{"state", "a", "false"}, status::Fail},
      {{"state", "a", "false", "a.ssm", "x", "yes", "extra"}, status::Fail},
      {{"state", "b", "YES", "b.ssm", "spin", "true"}, status::Ok},
  };
  for (Shape& s : shapes) EXPECT_EQ(GameCursorStateCommand(s.tokens, parser), s.want) << s.tokens.size();
  EXPECT_EQ(states.at("b")->lock, 1);
  EXPECT_EQ(states.at("b")->secondFlag, 1);
  EXPECT_EQ(states.at("b")->extraText, "spin");

  w.cursor->PopCursorState();  // empty stack: nothing
  EXPECT_EQ(w.cursor->GetCurrentState(), nullptr);
  w.cursor->SetCursorState("move", false);
  w.cursor->SetCursorState("rotate", true);
  EXPECT_EQ(w.cursor->GetStackDepth(), 1u);
  w.cursor->SetCursorState("no such state", true);
  EXPECT_EQ(w.cursor->GetCurrentState()->name, "rotate");
  w.cursor->PopCursorState();
  EXPECT_EQ(w.cursor->GetCurrentState()->name, "move");
  EXPECT_EQ(w.cursor->GetStackDepth(), 0u);

  // A locking state locks; locking twice is refused; while locked mouse
  // packets are taken and the cursor stays.
  EXPECT_FALSE(w.cursor->IsLocked());
  w.cursor->SetCursorState("busy", false);
  EXPECT_TRUE(w.cursor->IsLocked());
  EXPECT_EQ(w.cursor->Lock(), status::Fail);
  const JVector at = w.cursor->GetPosition();
  MousePacket p;
  p.x = 10;
  p.y = 20;
  EXPECT_EQ(w.cursor->OnMouse(&p), status::Ok);
  const JVector still = w.cursor->GetPosition();
  EXPECT_EQ(still.x, at.x);
  EXPECT_EQ(still.y, at.y);
  EXPECT_EQ(w.cursor->Unlock(), status::Ok);
  EXPECT_EQ(w.cursor->Unlock(), status::Fail);
}

TEST(GameCursor, BasePathProperty) {
  CameraWorld w;
  ASSERT_TRUE(w.ok && w.cursor);
  auto* parser = w.config.GetParser();
  parser->SetCurrentObject(svcscript::AsObject(w.cursor));
  struct Case {
    CStringArray tokens;
    const char* want;
  } cases[] = {
      {{"property", "BASEPATH", "Art\\Pointers"}, "Art\\Pointers\\"},
      {{"property", "basepath", "Art\\Pointers\\"}, "Art\\Pointers\\"},
      {{"property", "BasePath", "Art/Pointers/", "extra"}, "Art/Pointers/"},
  };
  for (Case& c : cases) {
    EXPECT_EQ(GameCursorPropCommand(c.tokens, parser), status::Ok) << c.want;
    EXPECT_EQ(w.cursor->GetBasePath(), c.want);
  }
  EXPECT_EQ(JoinWindowsPath("A\\", "\\b.ssm"), "A\\b.ssm");
  EXPECT_EQ(JoinWindowsPath("A", "b.ssm"), "A\\b.ssm");
  EXPECT_EQ(JoinWindowsPath("", "b.ssm"), "b.ssm");
  // The block's object must be a game cursor.
  parser->SetCurrentObject(nullptr);
  CStringArray tokens = {"property", "basepath", "X"};
  EXPECT_EQ(GameCursorPropCommand(tokens, parser), status::Fail);
}

}  // namespace
}  // namespace gametest
