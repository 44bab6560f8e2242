#pragma once
// The in-game screens on the game itself, for every in-game screen test: the
// real GUI service on the recording renderer, the game's own spawn table
// with the real managers on the run tree's data, the screen actions
// registered as the game registers them, the front end's "main.gui" in the
// world the loading screen makes, and a new game started on a named
// location, which loads "ingame.gui" as the game does. Frames run on the
// test clock with the kit's frame driver; input goes to the game's input
// manager as the input plug-in hands it over, so the GUI sees it first and
// the plot and the camera get what it leaves.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/services/tests/FakeCore3D.h"
#include "game/GuiSimulationWidgets.h"
#include "game/tests/GameTestWorld.h"
#include "game/world/tests/WorldCore3D.h"
#include "gui/plugin/GUI.h"

class GUIEntity;
class GUIWorld;
class cKV9_GamePlot;
class cKV9_GameScenario;

namespace ingame {

// The run tree's resource folder, with a trailing separator.
inline std::string RunTreeData() { return GAME_DATA_DIR; }

class InGameRig {
 public:
  static constexpr int kScreenWidth = 800;
  static constexpr int kScreenHeight = 600;
  static constexpr float kFrameSeconds = 1.0f / 60.0f;

  InGameRig();
  ~InGameRig();
  InGameRig(const InGameRig&) = delete;
  InGameRig& operator=(const InGameRig&) = delete;

  // The loading sequence on the game's spawn table, "main.gui" loaded, then
  // the location of that name chosen and the new game started as START on
  // the location choice starts it, and a first frame. The game starts in
  // the land view's fixed camera. False with Failure() set.
  bool StartNewGame(const std::string& location);
  const std::string& Failure() const { return failure_; }

  // Frames of kFrameSeconds on the test clock: the GUI, the game manager,
  // the renderer's frame and the entity manager, in the program's order.
  void Frames(int count = 1);
  // The draws the renderer records during the next frame.
  std::vector<fake3d::DrawCall> NextFrameDraws();

  // Input, a frame after each packet so the screens react as in a run.
  void MoveTo(int x, int y);
  void Press(int button = 0);
  void Release(int button = 0);
  void Key(uint8_t dik);
  // Moves the pointer onto the widget (a point where the GUI picks it or a
  // child of it); false when it is nowhere to be picked.
  bool HoverWidget(const std::string& name);
  // HoverWidget, then a left click there.
  bool ClickWidget(const std::string& name);
  // The screen point where the plot picks the view cell (x, z) under no
  // widget; false when none does.
  bool PointOfCell(int32_t x, int32_t z, int* sx, int* sy);
  bool ClickCell(int32_t x, int32_t z);
  // A left drag from one cell to another (press, move, release).
  bool DragCells(int32_t x0, int32_t z0, int32_t x1, int32_t z1);

  // Widget state by name; a missing widget fails the test.
  GUIEntity* Widget(const std::string& name);
  // The text of a static text or a text box, or a button's caption.
  std::string Text(const std::string& name);
  // Visible itself and through every parent up to the world.
  bool Visible(const std::string& name);
  bool Enabled(const std::string& name);
  bool Checked(const std::string& name);
  // The widget (or a child of it) under the screen point.
  GUIEntity* PickAt(int x, int y);

  gametest::GameWorld& World() { return *world_; }
  cKV9_GlobalWrapper& Table() { return world_->table; }
  cKV9_GamePlot* Plot();
  cKV9_GameScenario* Scenario();
  GUI& Gui() { return gui_; }
  worldfake::WorldCore3D& Renderer() { return renderer_; }
  int PointerX() const { return x_; }
  int PointerY() const { return y_; }

 private:
  void Send(MousePacket packet);

  gametest::WorkingDirectory directory_;
  worldfake::WorldCore3D renderer_;
  GUI gui_;
  std::unique_ptr<gametest::GameWorld> world_;
  // The simulation's and the building hand's widget requests go to the GUI,
  // as in the program.
  std::unique_ptr<GuiSimulationWidgets> widgets_;
  GUIWorld* guiWorld_ = nullptr;
  int x_ = kScreenWidth / 2;
  int y_ = kScreenHeight / 2;
  uint8_t held_ = 0;
  std::string failure_;
};

}  // namespace ingame
