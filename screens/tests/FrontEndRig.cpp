#include "screens/tests/FrontEndRig.h"

#include <filesystem>

#include "engine/entity/ActionFactory.h"
#include "gui/core/GUIListBox.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUITextBox.h"
#include "platform/window/Window.h"
#include "screens/ActionOptionsMenu.h"

namespace frontend {

FrontEndRig::FrontEndRig() : scenarioHost(dir.Root().string(), DataDir() + "Locations\\") {
  std::filesystem::create_directories(dir.Root() / "Scenarios");
  rig.AddGUIActions();
  table.gui = &rig.gui;
  table.graphics = &renderer;
  table.configManager = &config;
  table.clientRect = platform::RECT{0, 0, 800, 600};
  table.entityManager->SetResourcePath(DataDir());
  scenario = std::make_unique<cKV9_GameScenario>(nullptr, &scenarioHost);
  table.scenario = scenario.get();
  game = std::make_unique<cEntity_GameKV9>(table.entityManager);
  table.game = game.get();
  audio = std::make_unique<RecordingAudio>(nullptr);
  table.audioManager = audio.get();
  ambient = std::make_unique<cEntity_AmbientManager>(nullptr);
  table.ambientManager = ambient.get();
  events = std::make_unique<cEntity_EventManager>(nullptr);
  table.eventManager = events.get();
  particles = std::make_unique<cEntity_ParticleFactoryManager>(nullptr);
  table.particleFactoryManager = particles.get();

  // The screens, registered as the game's action manager registers them.
  size_t count = 0;
  const ScreenActionRow* rows = GetScreenActionRows(&count);
  for (size_t i = 0; i < count; ++i) {
    if (!rows[i].make) continue;
    cAction_Base* action = rows[i].make(&table);
    if (!rig.factory.RegisterAction(action, action->IsActive())) delete action;
  }

  // "KV9.cfg" goes to the scratch folder, never the working data tree.
  if (auto* options = ActionOptionsMenu::GetInstance()) options->configFile = dir.File("KV9.cfg");

  // The world as the loading screen leaves it.
  GUIEntity* made = nullptr;
  EXPECT_EQ(rig.gui.SpawnWidget(GUIKIND_WORLD, &made), status::Ok);
  world = dynamic_cast<GUIWorld*>(made);
  world->SetGUI(&rig.gui);
  world->SetDefaultFont(nullptr);
  world->SetName("TheWorld");
  world->MoveBy(-10.0f, 7.5f, 0.0f, true);
  rig.gui.SetWorld(world);
}

FrontEndRig::~FrontEndRig() {
  // The screens outlive the table only inside the factory: take them out
  // first, while the managers they point at still exist.
  rig.gui.DestroyWorld();
  rig.manager.Update(0.0f);
  table.gui = nullptr;
  table.graphics = nullptr;
  table.configManager = nullptr;
  table.scenario = nullptr;
  table.game = nullptr;
  table.audioManager = nullptr;
  table.ambientManager = nullptr;
  table.eventManager = nullptr;
  table.particleFactoryManager = nullptr;
  if (gameManager) {
    gameManager->Shutdown();
    table.gameManager = nullptr;
  }
}

bool FrontEndRig::StartGameManager() {
  gameManager = std::make_unique<cKV9_GameManager>(table.entityManager);
  table.gameManager = gameManager.get();
  gameManager->SetStartupScript(dir.Write("startup.cfg", "timeservice TimeService {\n}\n"));
  return status::Succeeded(gameManager->Init(&config));
}

bool FrontEndRig::LoadMainMenu() {
  if (!rig.gui.LoadGUIFile(DataDir() + "main.gui")) return false;
  rig.gui.ResetInputState();
  world->UpdateTransform();
  GUIEntity* menu = rig.gui.FindEntity("scnMainMenu");
  if (!menu) return false;
  menu->SetVisible(1);
  return true;
}

cAction_Base* FrontEndRig::Action(const char* name) {
  std::string key = name;
  cAction_Base* action = rig.factory.GetAction(key);
  if (action) rig.factory.ReleaseAction(action);
  return action;
}

int32_t FrontEndRig::Run(const char* name, const std::string& params, cEntity_Base* receiver) {
  cAction_Base* action = Action(name);
  EXPECT_NE(action, nullptr) << name;
  return action ? action->Execute(receiver, 0, params) : status::Fail;
}

bool FrontEndRig::Visible(const std::string& name) {
  GUIEntity* e = rig.gui.FindEntity(name);
  EXPECT_NE(e, nullptr) << name;
  return e && e->IsVisible();
}

bool FrontEndRig::Shown(const std::string& name) {
  GUIEntity* e = rig.gui.FindEntity(name);
  EXPECT_NE(e, nullptr) << name;
  for (; e && e != world; e = e->GetParent()) {
    if (!e->IsVisible()) return false;
  }
  return e == world;
}

std::string FrontEndRig::Caption(const std::string& button) {
  auto* b = Find<GUIButton>(button);
  return b && b->GetCaption() ? b->GetCaption()->GetText() : std::string("<none>");
}

std::string FrontEndRig::Text(const std::string& name) {
  GUIEntity* e = rig.gui.FindEntity(name);
  if (auto* text = dynamic_cast<GUIStaticText*>(e)) return text->GetText();
  if (auto* box = dynamic_cast<GUITextBox*>(e)) return box->GetText();
  ADD_FAILURE() << "no text widget " << name;
  return "<none>";
}

std::vector<std::string> FrontEndRig::Lines(const std::string& list) {
  std::vector<std::string> lines;
  auto* l = Find<GUIListBox>(list);
  for (int32_t i = 0; l && i < l->GetLineCount(); ++i) lines.push_back(l->GetLine(i));
  return lines;
}

int64_t TakeQuitCode() {
  platform::MSG msg;
  int64_t code = -1000;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, platform::PM_REMOVE)) {
    if (msg.message == platform::WM_QUIT) code = static_cast<int32_t>(msg.wParam);
  }
  return code;
}

bool FrontEndRig::Checked(const std::string& box) {
  auto* b = Find<GUICheckBox>(box);
  return b && b->IsChecked();
}

}  // namespace frontend
