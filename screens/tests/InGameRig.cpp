#include "screens/tests/InGameRig.h"

#include <gtest/gtest.h>


#include "engine/config/CommandRegistry.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "game/GameKV9.h"
#include "game/KV9GamePlot.h"
#include "scene/KV9InputManager.h"
#include "game/world/KV9GameScenario.h"
#include "gui/core/GUIButton.h"
#include "gui/core/GUICheckBox.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUITextBox.h"
#include "gui/core/GUIScene.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/actions/GUIActions.h"
#include "gui/plugin/GUIInputSocket.h"
#include "gui/plugin/PanelisDescriptors.h"
#include "gui/plugin/WidgetSpawns.h"
#include "screens/ScreenActions.h"
#include "simulation/Simulation.h"
#include "simulation/tests/kit/FrameDriver.h"

namespace ingame {

InGameRig::InGameRig() : directory_(RunTreeData()) {
  InstallScreenActions();
  world_ = std::make_unique<gametest::GameWorld>();
  cKV9_GlobalWrapper& t = world_->table;
  t.SetGraphics(&renderer_);
  t.entityManager->SetResourcePath(RunTreeData());
  // What the GUI plug-in's packs bring when the library manager starts it:
  // the widget spawns, the commands and the GUI's own actions.
  for (int32_t kind = GUIKIND_WORLD; kind <= GUIKIND_DROPDOWN; ++kind)
    t.actionFactory->RegisterSpawn(WidgetSpawnOfKind(kind));
  GUI_OCPack pack;
  t.commandRegistry->RegisterAll(*pack.GetCommandMap());
  for (uint32_t i = 0; cAction_Base* action = CreateGUIAction(i); ++i) {
    if (!t.actionFactory->RegisterAction(action, action->IsActive())) delete action;
  }
  gui_.SetWrapperBlockRef(&t.clientRect);
  gui_.SetRendererRef(&t.graphics);
  gui_.SetPhysicsRef(&t.physics);
  gui_.SetInputRef(&t.input);
  gui_.SetSoundRef(&t.sound);
  gui_.SetEntityManagerRef(&t.entityManager);
  gui_.SetActionFactoryRef(&t.actionFactory);
  gui_.SetLanguageManagerRef(&t.languageManager);
  if (gui_.Init()) t.SetGUI(&gui_);
  widgets_ = std::make_unique<GuiSimulationWidgets>(&t);
}

InGameRig::~InGameRig() {
  // The interface goes while the game's entities still exist.
  gui_.DestroyWorld();
  widgets_.reset();
  world_->table.SetGUI(nullptr);
  world_.reset();
}

cKV9_GamePlot* InGameRig::Plot() { return dynamic_cast<cKV9_GamePlot*>(Table().gamePlot); }

cKV9_GameScenario* InGameRig::Scenario() { return dynamic_cast<cKV9_GameScenario*>(Table().scenario); }

bool InGameRig::StartNewGame(const std::string& location) {
  cKV9_GlobalWrapper& t = Table();
  if (!t.gui) {
    failure_ = "the GUI did not start";
    return false;
  }
  if (status::Failed(world_->Init())) {
    failure_ = "the game manager did not start";
    return false;
  }
  // The input plug-in's receiver as the program links it once the game
  // manager has started: the GUI first, then the game manager; the loading
  // sequence's entities add theirs behind.
  if (cKV9_InputManager* input = t.inputManager) {
    input->AddMouseSocketFront(gui_.GetInputSocket());
    input->AddKeySocketFront(gui_.GetInputSocket());
    input->AddMouseSocket(world_->manager.get());
    input->AddKeySocket(world_->manager.get());
  }
  if (status::Failed(world_->manager->InitGameSystem())) {
    failure_ = "loading failed: " + world_->manager->GetLoadingFailure();
    return false;
  }
  // The world the loading screen makes, and the front end in it.
  GUIEntity* made = nullptr;
  if (status::Failed(gui_.SpawnWidget(GUIKIND_WORLD, &made)) || !(guiWorld_ = dynamic_cast<GUIWorld*>(made))) {
    failure_ = "no GUI world";
    return false;
  }
  guiWorld_->SetGUI(&gui_);
  guiWorld_->SetDefaultFont(nullptr);
  guiWorld_->SetName("TheWorld");
  guiWorld_->MoveBy(-10.0f, 7.5f, 0.0f, true);
  gui_.SetWorld(guiWorld_);
  if (!gui_.LoadGUIFile("main.gui")) {
    failure_ = "main.gui did not load";
    return false;
  }
  cKV9_GameScenario* scenario = Scenario();
  if (!scenario || !t.game) {
    failure_ = "no scenario or game entity";
    return false;
  }
  bool found = false;
  for (const auto& record : scenario->GetLocations()) {
    if (record->name == location) found = scenario->SelectLocationByName(record->name, record->continent);
  }
  if (!found) {
    failure_ = "no location \"" + location + "\"";
    return false;
  }
  // What START on the location choice runs once the choice is valid.
  cAction_Base* start = t.actionFactory->GetAction("StartScenario");
  const CoreStatus started = start ? start->Execute(nullptr, 0, "new random") : status::Fail;
  if (start) t.actionFactory->ReleaseAction(start);
  if (status::Failed(started)) {
    failure_ = "the new game did not start";
    return false;
  }
  Frames(1);
  return true;
}

void InGameRig::Frames(int count) {
  for (int i = 0; i < count; ++i) {
    cKV9_GlobalWrapper& t = Table();
    gui_.Update(kFrameSeconds);
    if (t.simulation) {
      simkit::RunFrame(world_->clock, *world_->manager, t.simulation->clock, kFrameSeconds);
    } else {
      world_->clock.AdvanceSeconds(kFrameSeconds);
      world_->manager->Update(false);
      t.entityManager->Update(world_->manager->GetFrameTime());
    }
    renderer_.RenderFrame();
  }
}

std::vector<fake3d::DrawCall> InGameRig::NextFrameDraws() {
  renderer_.draws.clear();
  Frames(1);
  return renderer_.draws;
}

void InGameRig::Send(MousePacket packet) {
  packet.x = x_;
  packet.y = y_;
  packet.timeStamp = platform::GetTickCount();
  if (Table().inputManager) Table().inputManager->OnMousePacket(&packet);
  Frames(1);
}

void InGameRig::MoveTo(int x, int y) {
  MousePacket p;
  p.dx = x - x_;
  p.dy = y - y_;
  x_ = x;
  y_ = y;
  p.held = held_;
  Send(p);
}

void InGameRig::Press(int button) {
  MousePacket p;
  p.pressed = static_cast<uint8_t>(1u << button);
  p.held = held_;
  held_ |= p.pressed;
  Send(p);
}

void InGameRig::Release(int button) {
  MousePacket p;
  p.released = static_cast<uint8_t>(1u << button);
  held_ &= static_cast<uint8_t>(~p.released);
  p.held = held_;
  Send(p);
}

void InGameRig::Key(uint8_t dik) {
  for (uint32_t released : {0u, 1u}) {
    KeyboardPacket p;
    p.scanCode = dik;
    p.released = released;
    p.timeStamp = platform::GetTickCount();
    if (Table().inputManager) Table().inputManager->OnKeyPacket(&p);
    Frames(1);
  }
}

GUIEntity* InGameRig::PickAt(int x, int y) {
  GUIWorld* world = gui_.GetWorld();
  if (!world) return nullptr;
  const auto& modal = gui_.GetModalScenes();
  GUIEntity* root = modal.empty() ? static_cast<GUIEntity*>(world) : static_cast<GUIEntity*>(modal.front());
  MousePacket p;
  p.x = x;
  p.y = y;
  GUIEntity* hit = gui_.PickPerspective(root, &p);
  return hit == world ? nullptr : hit;
}

bool InGameRig::HoverWidget(const std::string& name) {
  GUIEntity* target = gui_.FindEntity(name);
  if (!target) return false;
  const auto inside = [&](int x, int y) {
    for (GUIEntity* e = PickAt(x, y); e; e = e->GetParent()) {
      if (e == target) return true;
    }
    return false;
  };
  // The first row where the pick lands on the widget or inside it; the
  // middle of that row's run, then the middle of the column's run below it.
  constexpr int kStep = 4;
  for (int y = kStep / 2; y < kScreenHeight; y += kStep) {
    int first = -1;
    int last = -1;
    for (int x = kStep / 2; x < kScreenWidth; x += kStep) {
      if (inside(x, y)) {
        if (first < 0) first = x;
        last = x;
      } else if (first >= 0) {
        break;
      }
    }
    if (first < 0) continue;
    const int x = (first + last) / 2;
    int bottom = y;
    while (bottom + kStep < kScreenHeight && inside(x, bottom + kStep)) bottom += kStep;
    MoveTo(x, (y + bottom) / 2);
    return true;
  }
  return false;
}

bool InGameRig::ClickWidget(const std::string& name) {
  if (!HoverWidget(name)) return false;
  Press();
  Release();
  return true;
}

bool InGameRig::PointOfCell(int32_t x, int32_t z, int* sx, int* sy) {
  cKV9_GamePlot* plot = Plot();
  if (!plot) return false;
  const auto on = [&](int px, int py) {
    int32_t cx = 0;
    int32_t cz = 0;
    return plot->PickCellAt(px, py, &cx, &cz) && cx == x && cz == z;
  };
  // Of the points on the cell under no widget, one with the cell also two
  // steps away on every side, so that a pick there is not on an edge.
  constexpr int kStep = 2;
  int bestScore = -1;
  for (int py = 0; py < kScreenHeight; py += kStep) {
    for (int px = 0; px < kScreenWidth; px += kStep) {
      if (!on(px, py) || PickAt(px, py)) continue;
      const int score = on(px - 2 * kStep, py) + on(px + 2 * kStep, py) + on(px, py - 2 * kStep) +
                        on(px, py + 2 * kStep);
      if (score > bestScore) {
        bestScore = score;
        *sx = px;
        *sy = py;
      }
      if (bestScore == 4) return true;
    }
  }
  return bestScore >= 0;
}

bool InGameRig::ClickCell(int32_t x, int32_t z) {
  int sx = 0;
  int sy = 0;
  if (!PointOfCell(x, z, &sx, &sy)) return false;
  MoveTo(sx, sy);
  Press();
  Release();
  return true;
}

bool InGameRig::DragCells(int32_t x0, int32_t z0, int32_t x1, int32_t z1) {
  int ax = 0, ay = 0, bx = 0, by = 0;
  if (!PointOfCell(x0, z0, &ax, &ay) || !PointOfCell(x1, z1, &bx, &by)) return false;
  MoveTo(ax, ay);
  Press();
  MoveTo(bx, by);
  Release();
  return true;
}

GUIEntity* InGameRig::Widget(const std::string& name) {
  GUIEntity* e = gui_.FindEntity(name);
  EXPECT_NE(e, nullptr) << "no widget " << name;
  return e;
}

std::string InGameRig::Text(const std::string& name) {
  GUIEntity* e = Widget(name);
  if (auto* text = dynamic_cast<GUIStaticText*>(e)) return text->GetText();
  if (auto* box = dynamic_cast<GUITextBox*>(e)) return box->GetText();
  if (auto* button = dynamic_cast<GUIButton*>(e)) return button->GetCaption() ? button->GetCaption()->GetText() : "";
  if (e) ADD_FAILURE() << "no text on " << name;
  return "<none>";
}

bool InGameRig::Visible(const std::string& name) {
  GUIEntity* e = Widget(name);
  GUIWorld* world = gui_.GetWorld();
  for (; e && e != world; e = e->GetParent()) {
    if (!e->IsVisible()) return false;
  }
  return e != nullptr && e == world;
}

bool InGameRig::Enabled(const std::string& name) {
  GUIEntity* e = Widget(name);
  return e && e->IsEnabled();
}

bool InGameRig::Checked(const std::string& name) {
  auto* box = dynamic_cast<GUICheckBox*>(Widget(name));
  EXPECT_NE(box, nullptr) << name << " is no check box";
  return box && box->IsChecked();
}

}  // namespace ingame
