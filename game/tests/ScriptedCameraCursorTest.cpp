// The game camera and cursor driven the way the program drives them: a
// scripted input session raises key, mouse and wheel events on a headless
// window; the real input plug-in, loaded by the library manager, turns them
// into packets for the game's input manager, whose mouse list starts with
// the GUI's socket (which the cursor follows) as the program sets it up; the
// game manager's frame ticks the camera through the time service.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/services/CoreInput.h"
#include "engine/services/LibraryManager.h"
#include "game/tests/CameraWorld.h"
#include "gui/plugin/GUI.h"
#include "gui/plugin/GUIInputSocket.h"
#include "input/tests/InputTestSupport.h"
#include "platform/window/ScriptedInput.h"

namespace gametest {
namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;
constexpr int64_t kFrameMicroseconds = 50'000;

// One session: the headless window, the game world with its camera and
// cursor, the GUI service and the input plug-in.
class ScriptedRig {
 public:
  ScriptedRig() {
    window_ = itest::StartHeadlessWindow();  // an 800 x 600 drawing area
    if (!window_ || !w.ok || !w.camera || !w.cursor) return;
    w.table.SetWindow(window_);
    gui_.SetRendererRef(&w.table.graphics);
    gui_.SetWrapperBlockRef(&w.table.clientRect);
    if (!gui_.Init()) return;
    w.table.SetGUI(&gui_);
    gui_.SetCursorSocket(w.cursor);
    // The program's socket order: the GUI first in both lists.
    w.table.inputManager->AddMouseSocketFront(gui_.GetInputSocket());
    w.table.inputManager->AddKeySocketFront(gui_.GetInputSocket());

    w.config.SetValue("App", "library_path", std::string("path=") + TACTOR_DIR);
    w.config.SetValue("App", "resource_path", "path=" + DataDir());
    if (status::Failed(libraries_.Init(cCore_LibraryManager::kInput, &w.config, &w.table)) || !w.table.input) return;
    w.table.input->SetClientRectRef(&w.table.clientRect);
    w.table.input->SetReceiver(w.table.inputManager);
    // The time service measures a frame from the one before: one frame
    // first, so the script's frames are each 50 ms long.
    Frame();
    ready_ = true;
  }

  ~ScriptedRig() {
    script_.Stop();
    if (w.table.inputManager && gui_.GetInputSocket()) {
      w.table.inputManager->RemoveMouseSocket(gui_.GetInputSocket());
      w.table.inputManager->RemoveKeySocket(gui_.GetInputSocket());
    }
    w.table.SetGUI(nullptr);
    libraries_.Shutdown(&w.table);
    platform::ShutdownWindowSystem();
  }
  ScriptedRig(const ScriptedRig&) = delete;
  ScriptedRig& operator=(const ScriptedRig&) = delete;

  bool Ready() const { return ready_; }
  // The camera out of the overview (made locked in it): heading 0, pitch 20,
  // zoom 20 with limits 4..70, pitch limits 15..90.
  cEntity_GameCamera* FreeCamera() {
    w.camera->LeaveFixedView(true, true);
    return w.camera;
  }

  // Starts the script now and runs frames of 50 ms until it has played,
  // then `after` frames more.
  bool Play(const std::string& text, int after = 2) {
    script_.Stop();
    if (status::Failed(script_.Parse(text))) return false;
    script_.Start(window_);
    for (int frame = 0; frame < 1000 && !script_.Finished(); ++frame) Frame();
    for (int frame = 0; frame < after; ++frame) Frame();
    return script_.Finished();
  }

  // The main loop's order: the window's messages, then the input plug-in,
  // then the game frame (the time service ticks the camera).
  void Frame() {
    itest::Drain();
    w.table.input->Update(0.05f);
    w.manager->Update();
    w.clock.AdvanceMicroseconds(kFrameMicroseconds);
  }

  // Where the cursor stands for a pointer at window pixel (x, y): on its
  // orthographic camera's ray through that pixel.
  JVector CursorAt(int32_t x, int32_t y) {
    JVector start, second;
    cEntity_BaseCamera* camera = w.cursor->GetCamera();
    if (camera) camera->ScreenToRay(float(x), float(y), float(kWidth), float(kHeight), &start, &second);
    return second;
  }
  void PointerAt(int32_t* x, int32_t* y) { devices()->GetMousePosition(x, y); }
  cCore_Base_DeviceManager* devices() { return w.table.inputDevices; }
  cCore_Base_InputMGR& input() { return *w.table.inputManager; }

  CameraWorld w;

 private:
  GUI gui_;
  cCore_LibraryManager libraries_;
  platform::ScriptedInput script_;
  platform::HWND window_ = nullptr;
  bool ready_ = false;
};

void ExpectAt(const JVector& got, const JVector& want, const std::string& what) {
  EXPECT_NEAR(got.x, want.x, 1e-3f) << what;
  EXPECT_NEAR(got.y, want.y, 1e-3f) << what;
  EXPECT_NEAR(got.z, want.z, 1e-3f) << what;
}

// The free camera: keys and the wheel reach its commands; a held key acts
// on every tick; the camera tells the cursor its mode.
TEST(ScriptedCamera, KeysAndWheelDriveTheCommands) {
  struct Case {
    const char* name;
    bool limitsOn;
    const char* script;
    float heading, pitch, zoom;
    bool moved;
    const char* mode;  // the cursor state the camera asked for
  } cases[] = {
      {"Up held moves forward", true, "0 key down UP\n1000 key up UP\n", 0, 20, 20, true, "move"},
      {"keypad 8 moves forward too", true, "0 key down NUMPAD8\n1000 key up NUMPAD8\n", 0, 20, 20, true, "move"},
      {"Left held strafes", true, "0 key down LEFT\n1000 key up LEFT\n", 0, 20, 20, true, "move"},
      {"Home held a second turns left 30 degrees", true, "0 key down HOME\n1000 key up HOME\n", 30, 20, 20, false,
       "rotate"},
      {"End held a second turns right 30 degrees", true, "0 key down END\n1000 key up END\n", 330, 20, 20, false,
       "rotate"},
      {"Page Down held pitches to the 89 degree stop", true, "0 key down NEXT\n4000 key up NEXT\n", 0, 89, 20, false,
       "pitch"},
      {"Page Up held pitches to the 15 degree limit", true, "0 key down PRIOR\n4000 key up PRIOR\n", 0, 15, 20, false,
       "pitch"},
      {"keypad minus held a second zooms out 30", true, "0 key down SUBTRACT\n1000 key up SUBTRACT\n", 0, 20, 50,
       false, "zoom"},
      {"keypad plus held zooms in to the limit 4", true, "0 key down ADD\n2000 key up ADD\n", 0, 20, 4, false, "zoom"},
      {"one notch away zooms in a tenth", true, "0 wheel 1\n", 0, 20, 18, false, "zoom"},
      {"one notch back zooms out a tenth", true, "0 wheel -1\n", 0, 20, 22, false, "zoom"},
      {"a hundred notches stop at the limit 4", true, "0 wheel 100\n", 0, 20, 4, false, "zoom"},
      {"a hundred notches back stop at the limit 70", true, "0 wheel -100\n", 0, 20, 70, false, "zoom"},
      {"without limits ten notches stop at 0.1", false, "0 wheel 10\n", 0, 20, 0.1f, false, "zoom"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedRig rig;
    ASSERT_TRUE(rig.Ready());
    cEntity_GameCamera* camera = rig.FreeCamera();
    camera->SetLimitsOn(c.limitsOn);
    const JVector before = camera->GetTarget();
    ASSERT_TRUE(rig.Play(c.script));
    EXPECT_NEAR(camera->GetHeading(), c.heading, 0.5f);
    EXPECT_NEAR(camera->GetPitch(), c.pitch, 0.5f);
    EXPECT_NEAR(camera->GetZoom(), c.zoom, 0.01f);
    const JVector after = camera->GetTarget();
    EXPECT_EQ(std::hypot(after.x - before.x, after.z - before.z) > 1.0f, c.moved);
    ASSERT_NE(rig.w.cursor->GetCurrentState(), nullptr);
    EXPECT_EQ(rig.w.cursor->GetCurrentState()->name, c.mode);
    // Every key came back up, so no command is left running.
    for (int i = 0; i < cEntity_GameCamera::kCommandCount; ++i) EXPECT_FALSE(camera->GetCommand(i).active) << i;
  }
}

// While the overview is on the camera is locked: a key going down changes
// nothing, but a key held from before still stops when it comes up.
TEST(ScriptedCamera, TheOverviewIgnoresKeysGoingDownOnly) {
  struct Case {
    const char* name;
    bool heldBefore;
    const char* script;
    bool activeAfter;
  } cases[] = {
      {"Up going down is ignored", false, "0 key down UP\n", false},
      {"Up held from before stops when it comes up", true, "0 key up UP\n", false},
      {"Up held from before keeps running while another key goes down", true, "0 key down HOME\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedRig rig;
    ASSERT_TRUE(rig.Ready());
    cEntity_GameCamera* camera = rig.w.camera;
    ASSERT_TRUE(camera->IsLocked());
    camera->SetCommandActive(cEntity_GameCamera::kForward, c.heldBefore);
    ASSERT_TRUE(rig.Play(c.script, 0));
    EXPECT_EQ(camera->GetCommand(cEntity_GameCamera::kForward).active != 0, c.activeAfter);
    EXPECT_FALSE(camera->GetCommand(cEntity_GameCamera::kRotateLeft).active);
  }
}

// Left presses: one less than 0.25 s after the last flies to the ground
// point under the pointer, turning towards it; a later one starts another
// drag. The buttons capture the mouse for the camera, which then hands the
// packets to the cursor itself.
TEST(ScriptedCamera, ClicksDragsAndCapture) {
  // The presses are made with the pointer here.
  constexpr int32_t kClickX = 550, kClickY = 200;
  struct Case {
    const char* name;
    const char* script;
    bool flying;
    bool dragging;
    bool rotating;
    bool captured;
  } cases[] = {
      {"two presses 0.2 s apart fly", "0 move 150 -100\n0 button down 0\n50 button up 0\n200 button down 0\n"
       "250 button up 0\n", true, false, false, false},
      {"two presses 0.249 s apart fly", "0 move 150 -100\n0 button down 0\n50 button up 0\n249 button down 0\n"
       "260 button up 0\n", true, false, false, false},
      {"two presses 0.25 s apart drag twice", "0 move 150 -100\n0 button down 0\n50 button up 0\n250 button down 0\n",
       false, true, false, true},
      {"two presses 0.3 s apart drag twice", "0 move 150 -100\n0 button down 0\n50 button up 0\n300 button down 0\n",
       false, true, false, true},
      {"the right button held turns and captures", "0 button down 1\n", false, false, true, true},
      {"Escape releases the capture", "0 button down 1\n50 key down ESCAPE\n50 key up ESCAPE\n", false, false, true,
       false},
      {"releasing the right button releases the capture", "0 button down 1\n100 button up 1\n", false, false, false,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedRig rig;
    ASSERT_TRUE(rig.Ready());
    cEntity_GameCamera* camera = rig.FreeCamera();
    // The ground point under the click: the camera's pick ray through the
    // pointer cut with the plane at the target's height.
    const JVector from = camera->GetTarget();
    JVector start, second;
    ASSERT_EQ(camera->ScreenToRay(float(kClickX), float(kClickY), float(kWidth), float(kHeight), &start, &second),
              status::Ok);
    const float t = (from.y - start.y) / (second.y - start.y);
    const JVector ground(start.x + (second.x - start.x) * t, from.y, start.z + (second.z - start.z) * t);

    ASSERT_TRUE(rig.Play(c.script, 1));
    EXPECT_EQ(camera->IsMoving(), c.flying);
    EXPECT_EQ(camera->GetCommand(cEntity_GameCamera::kDrag).active != 0, c.dragging);
    EXPECT_EQ(camera->GetCommand(cEntity_GameCamera::kMouseRotate).active != 0, c.rotating);
    EXPECT_EQ(rig.input().GetCapturedSocket() == camera, c.captured);
    // Captured or not, the cursor stands under the pointer.
    int32_t x = 0, y = 0;
    rig.PointerAt(&x, &y);
    ExpectAt(rig.w.cursor->GetPosition(), rig.CursorAt(x, y), "cursor");
    if (!c.flying) continue;
    // Three seconds on, the camera looks at the clicked point, facing the
    // way it flew.
    for (int frame = 0; frame < 60; ++frame) rig.Frame();
    const JVector at = camera->GetTarget();
    EXPECT_NEAR(at.x, ground.x, 0.05f);
    EXPECT_NEAR(at.z, ground.z, 0.05f);
    const float way = std::atan2(ground.x - from.x, ground.z - from.z) * cEntity_GameCamera::kToDegrees;
    // (Degrees go to radians and back through the game's own two constants,
    // which differ from exact inverses by 0.06 per cent.)
    EXPECT_NEAR(std::remainder(camera->GetHeading() - way, 360.0f), 0.0f, 0.5f);
    EXPECT_GT(std::hypot(ground.x - from.x, ground.z - from.z), 1.0f) << "the click was off the middle";
  }
}

// A pointer in the band a few pixels wide along the window's border moves
// the camera towards it; the plug-in keeps the pointer inside the window.
TEST(ScriptedCamera, ThePointerNearAnEdgeMovesTheCamera) {
  struct Case {
    const char* name;
    const char* script;
    int32_t x, y;
    bool edge;
  } cases[] = {
      {"where a button near the right border sits", "0 move 350 0\n", 750, 300, false},
      {"on the inner rectangle's right side", "0 move 395 0\n", 795, 300, false},
      {"one pixel past it", "0 move 396 0\n", 796, 300, true},
      {"pushed far past the left window edge", "0 move -4000 0\n", 0, 300, true},
      {"pushed past the bottom edge", "0 move 0 4000\n", 400, 600, true},
      {"on the inner rectangle's top side", "0 move 0 -296\n", 400, 4, false},
      {"one pixel above it", "0 move 0 -297\n", 400, 3, true},
      {"back in the middle after the edge", "0 move 4000 0\n100 move -400 0\n", 400, 300, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedRig rig;
    ASSERT_TRUE(rig.Ready());
    cEntity_GameCamera* camera = rig.FreeCamera();
    // Ten frames more: the camera's motion is smoothed over its last ten
    // ticks, so an edge left behind has stopped pushing by then.
    ASSERT_TRUE(rig.Play(c.script, cEntity_GameCamera::kHistory));
    int32_t x = 0, y = 0;
    rig.PointerAt(&x, &y);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(camera->GetCommand(cEntity_GameCamera::kEdge).active != 0, c.edge);
    // Held there for a second: the target moves only past the edge.
    const JVector before = camera->GetTarget();
    for (int frame = 0; frame < 20; ++frame) rig.Frame();
    const JVector after = camera->GetTarget();
    EXPECT_EQ(std::hypot(after.x - before.x, after.z - before.z) > 1.0f, c.edge);
  }
}

// The edge band follows the client area's size wherever the window stands:
// a few pixels at 800 x 600, scaled with the window.
TEST(ScriptedCamera, TheEdgeBandFollowsTheWindowSize) {
  struct Case {
    const char* name;
    platform::RECT client;  // window coordinates, as the service table keeps them
    platform::RECT inner;   // client pixels
  } cases[] = {
      {"800 x 600 at the desktop's corner", {0, 0, 800, 600}, {4, 4, 795, 595}},
      {"800 x 600 moved across the desktop", {112, 84, 912, 684}, {4, 4, 795, 595}},
      {"1024 x 768", {0, 0, 1024, 768}, {5, 5, 1018, 762}},
      {"640 x 480", {200, 100, 840, 580}, {3, 3, 636, 476}},
      {"a sliver", {0, 0, 10, 10}, {1, 1, 8, 8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const platform::RECT inner = cEntity_GameCamera::InnerRectFor(c.client);
    EXPECT_EQ(inner.left, c.inner.left);
    EXPECT_EQ(inner.top, c.inner.top);
    EXPECT_EQ(inner.right, c.inner.right);
    EXPECT_EQ(inner.bottom, c.inner.bottom);
  }
}

// The cursor stands under the pointer, which the plug-in keeps inside the
// window whatever the motion.
TEST(ScriptedCursor, FollowsThePointerInsideTheWindow) {
  struct Case {
    const char* name;
    const char* script;
    int32_t x, y;
  } cases[] = {
      {"a small move from the middle", "0 move 15 -4\n", 415, 296},
      {"past the bottom right corner", "0 move 4000 4000\n", 800, 600},
      {"past the top left corner", "0 move -4000 -4000\n", 0, 0},
      {"past the top right corner", "0 move 4000 -4000\n", 800, 0},
      {"out and back in", "0 move -4000 0\n10 move 25 0\n", 25, 300},
      {"moves summed over one frame", "0 move 10 0\n10 move 10 5\n20 move -5 5\n", 415, 310},
  };
  ScriptedRig rig;
  ASSERT_TRUE(rig.Ready());
  const JVector middle = rig.CursorAt(400, 300);
  const JVector topLeft = rig.CursorAt(0, 0);
  const JVector bottomRight = rig.CursorAt(800, 600);
  // The pixel-to-world map is the orthographic one: the corners lie either
  // side of the middle at equal distances, and apart.
  ExpectAt(JVector(topLeft.x + bottomRight.x, topLeft.y + bottomRight.y, topLeft.z + bottomRight.z),
           JVector(2 * middle.x, 2 * middle.y, 2 * middle.z), "corners about the middle");
  EXPECT_GT(std::fabs(topLeft.x - bottomRight.x), 1.0f);
  EXPECT_GT(std::fabs(topLeft.y - bottomRight.y), 1.0f);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rig.devices()->SetMousePosition(400, 300);
    ASSERT_TRUE(rig.Play(c.script, 0));
    int32_t x = 0, y = 0;
    rig.PointerAt(&x, &y);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
    ExpectAt(rig.w.cursor->GetPosition(), rig.CursorAt(c.x, c.y), "cursor");
    EXPECT_TRUE(rig.w.cursor->IsVisible());
  }
}

// Hiding keeps the cursor out of sight while it still follows; a locked
// cursor stays where it was locked, a second lock is refused and keeps the
// first place, and unlocking puts the pointer back there.
TEST(ScriptedCursor, HiddenAndLocked) {
  enum class Act { None, Hide, Show, Lock, Unlock };
  struct Step {
    const char* name;
    Act act;
    CoreStatus actResult;
    const char* script;
    int32_t cursorX, cursorY;  // the pixel the cursor stands on afterwards
    bool visible;
  } steps[] = {
      {"follows", Act::None, status::Ok, "0 move -300 -200\n", 100, 100, true},
      {"hidden, still follows", Act::Hide, status::Ok, "0 move 50 0\n", 150, 100, false},
      {"shown again", Act::Show, status::Ok, "0 move 0 50\n", 150, 150, true},
      {"locked: stays", Act::Lock, status::Ok, "0 move 300 300\n", 150, 150, true},
      {"locked twice: refused, stays", Act::Lock, status::Fail, "0 move 10 10\n", 150, 150, true},
      {"unlocked: the pointer is back where it was locked", Act::Unlock, status::Ok, "0 move 10 0\n", 160, 150, true},
      {"unlocked twice: refused", Act::Unlock, status::Fail, "0 move 0 10\n", 160, 160, true},
  };
  ScriptedRig rig;
  ASSERT_TRUE(rig.Ready());
  cEntity_GameCursor* cursor = rig.w.cursor;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    CoreStatus result = status::Ok;
    switch (s.act) {
      case Act::None: break;
      case Act::Hide: cursor->Hide(); break;
      case Act::Show: cursor->Show(); break;
      case Act::Lock: result = cursor->Lock(); break;
      case Act::Unlock: result = cursor->Unlock(); break;
    }
    EXPECT_EQ(result, s.actResult);
    ASSERT_TRUE(rig.Play(s.script, 0));
    ExpectAt(cursor->GetPosition(), rig.CursorAt(s.cursorX, s.cursorY), "cursor");
    EXPECT_EQ(cursor->IsVisible(), s.visible);
    int32_t savedX = 0, savedY = 0;
    cursor->GetSavedPointer(&savedX, &savedY);
    if (cursor->IsLocked()) {
      EXPECT_EQ(savedX, 150);
      EXPECT_EQ(savedY, 150);
    }
  }
}

}  // namespace
}  // namespace gametest
