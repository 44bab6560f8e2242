#include "screens/ActionCampaignMenu.h"

#include <algorithm>
#include <vector>

#include "base/StringUtil.h"
#include "engine/files/Serializer.h"
#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DImage.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "game/GameKV9.h"
#include "game/KV9GameManager.h"
#include "game/world/KV9GameScenario.h"
#include "gui/core/GUIListBox.h"
#include "gui/core/GUIMLTextBox.h"
#include "gui/core/GUIScene.h"
#include "gui/core/GUIScrollBar.h"
#include "gui/core/GUIStatic.h"
#include "platform/DebugOutput.h"
#include "platform/Directory.h"
#include "platform/FileRead.h"
#include "platform/Paths.h"
#include "screens/CampaignData.h"
#include "screens/ScreenCommand.h"
#include "screens/ScreenWidgets.h"
#include "simulation/EventManager.h"

namespace {

constexpr const char* kScreen = "ActionCampaignMenu";
constexpr uint32_t kImageFlags = 8;

std::string SectionName(int32_t index) { return "scenario" + std::to_string(index); }

bool HasSection(const CDataFile& table, int32_t index) {
  return index >= 0 && table.FindSection(SectionName(index)) != nullptr;
}

}  // namespace

ActionCampaignMenu::ActionCampaignMenu(cCore_GlobalWrapper* table)
    : cAction_Base("CampaignMenu"), table_(dynamic_cast<cKV9_GlobalWrapper*>(table)) {}

void ActionCampaignMenu::Reset() {
  campaignName.clear();
  scenarioName.clear();
}

CoreStatus ActionCampaignMenu::Execute(cEntity_Base*, uintptr_t, const std::string& params) {
  if (!table_) return screens::kNotHandled;
  const screens::Command command = screens::CutCommand(params, screens::kBlank);
  if (command.word.empty()) return screens::kNotHandled;
  if (command.Is("Accept")) {
    Accept();
    return screens::kNotHandled;
  }
  if (command.Is("ListClicked")) {
    if (auto* list = screens::FindWidget<GUIListBox>(table_->gui, "lbCMList", kScreen))
      ShowScenarioDetails(list->GetSelection());
    return screens::kNotHandled;
  }
  if (command.Is("Show")) {
    Show();
    return screens::kNotHandled;
  }
  if (command.Is("SetCampaign")) return SetCampaign(command.rest);
  if (command.Is("SetScenario")) return SetScenario(command.rest);
  if (command.Is("LoadScenario")) return LoadScenario();
  if (command.Is("SetScenarioFile") || command.Is("LoadScenarios")) {
    std::string_view rest = command.rest;
    const std::string word = screens::NextWord(&rest, screens::kBar);
    if (word.empty()) return screens::kNotHandled;
    if (command.Is("SetScenarioFile")) return status::Ok;
    return screens::FindWidget<GUIListBox>(table_->gui, word, kScreen) ? status::Ok : screens::kNotHandled;
  }
  if (command.Is("LoadCampaigns")) return LoadCampaigns();
  return screens::kNotHandled;
}

std::string ActionCampaignMenu::ScenarioDirectory() const {
  return table_->gameManager ? table_->gameManager->GetScenarioDirectory() : std::string();
}

void ActionCampaignMenu::Show() {
  if (!listLoaded) {
    listLoaded = true;
    // Only a plain campaign name may join the path; an empty one is the
    // scenario directory itself.
    if (campaignName.empty() || campaign::IsPlainName(campaignName)) {
      std::string path = ScenarioDirectory() + campaignName;
      if (!campaignName.empty()) path += "\\";
      if (!scenarioList.Load(path + "scenarios.dat")) scenarioList.Clear();
    }
  }
  auto* list = screens::FindWidget<GUIListBox>(table_->gui, "lbCMList", kScreen);
  if (!list) return;
  list->ClearLines();
  for (int32_t n = 0; n < campaign::kMaxEntries && HasSection(scenarioList, n); ++n)
    list->AddLine(scenarioList.GetString("name", SectionName(n)));
  list->SetSelection(0);
  ShowScenarioDetails(0);
  auto* bar = screens::FindWidget<GUIScrollBar>(table_->gui, "sbCMListScrollbar", kScreen);
  if (!bar) return;
  // A zero text scale would divide by zero: one visible line then.
  const float lineHeight = list->GetTextScaleY();
  int32_t visible = lineHeight > 0.0f ? static_cast<int32_t>(list->ScaleY() / lineHeight) : 1;
  if (visible < 1) visible = 1;
  const int32_t maximum = std::max(0, list->GetLineCount() - visible);
  bar->SetMin(0);
  bar->SetMax(maximum);
  const uint8_t snap = bar->GetSnapThumb();
  bar->SetSnapThumb(1);
  bar->SetValue(maximum);
  bar->SetSnapThumb(snap);
  bar->SetDisplayWidget(list);
}

void ActionCampaignMenu::ShowScenarioDetails(int32_t index) {
  if (!HasSection(scenarioList, index)) return;
  const std::string section = SectionName(index);
  if (auto* text = screens::FindWidget<GUIMLTextBox>(table_->gui, "mlCMDescription", kScreen))
    text->SetText(scenarioList.GetString("description", section), true);
  auto* shot = screens::FindWidget<GUIStatic>(table_->gui, "stcCMScreenshot", kScreen);
  if (!shot) return;
  const std::string image = scenarioList.GetString("image", section);
  C3DImage* picture = nullptr;
  if (table_->graphics && campaign::IsPlainName(image) &&
      (campaignName.empty() || campaign::IsPlainName(campaignName))) {
    std::string path = ScenarioDirectory() + campaignName;
    if (!campaignName.empty()) path += "\\";
    picture = table_->graphics->CreateImage(kImageFlags, path + image);
  }
  auto* material = dynamic_cast<C3DMaterialShader*>(shot->GetShader());
  if (!picture || !material) {
    shot->SetShader(nullptr);
  } else {
    material->SetLayerImage(0, picture);
  }
  if (picture) picture->Release();  // the layer keeps its own reference
}

void ActionCampaignMenu::Accept() {
  auto* list = screens::FindWidget<GUIListBox>(table_->gui, "lbCMList", kScreen);
  if (!list) return;
  const int32_t index = list->GetSelection();
  if (!HasSection(scenarioList, index)) return;
  const std::string section = SectionName(index);
  const std::string save = scenarioList.GetString("savegame", section);
  if (!campaign::IsPlainName(save)) {
    platform::DebugPrintf("[%s] scenario %d: save name \"%s\" refused\n", kScreen, index, save.c_str());
    return;
  }
  auto* scenario = dynamic_cast<cKV9_GameScenario*>(table_->scenario);
  if (!scenario || !table_->game) return;
  {
    cSerializer file;
    file.Initialize(ScenarioDirectory() + save, false);
    const bool fits = scenario->CheckSaveHeader(&file);
    file.Close();
    if (!fits) return;
  }
  scenario->isScenarioFile = true;
  scenario->campaignGame = 1;
  scenario->SetName(scenarioList.GetString("name", section));
  if (table_->game->LoadGame(save, false) != status::Ok) return;
  scenario->SetWinText(scenarioList.GetString("win_text", section));
  scenario->SetLoseText(scenarioList.GetString("lose_text", section));
  scenario->SetDescription(scenarioList.GetString("description", section));
  cEntity_EventManager* events = table_->eventManager;
  for (int32_t n = 0; n < campaign::kMaxEntries; ++n) {
    const std::string key = "event" + std::to_string(n);
    if (!scenarioList.FindKey(key, section)) break;
    EventRecord event;
    if (events && campaign::ReadEvent(scenarioList, section, key, &event)) events->ScheduleEvent(event);
  }
  for (int32_t n = 0; n < campaign::kMaxEntries; ++n) {
    const std::string key = "criteria" + std::to_string(n);
    if (!scenarioList.FindKey(key, section)) break;
    EndGame condition;
    std::string building;
    if (events && campaign::ReadCriteria(scenarioList, section, key, &condition, &building)) {
      condition.text = building;
      events->AddEndGame(condition);
    }
  }
  scenario->ShowObjectives();
}

bool ActionCampaignMenu::ReadText(const std::string& path, std::string* text) const {
  platform::FileReadError why;
  if (platform::ReadFileText(path, campaign::kMaxTextFileBytes, text, &why)) return true;
  platform::DebugPrintf("[%s] %s %s\n", kScreen, path.c_str(), why.text.c_str());
  return false;
}

void ActionCampaignMenu::EnablePlay(bool on) {
  auto* play = screens::FindWidget<GUIEntity>(table_->gui, "btnCMPlay", kScreen);
  if (play) play->OnMessage(0, on ? screens::kMsgEnable : screens::kMsgDisable, 0);
}

CoreStatus ActionCampaignMenu::SetCampaign(std::string_view name) {
  EnablePlay(false);
  scenarioName.clear();
  if (name.empty()) {
    campaignName.clear();
    return status::Ok;
  }
  if (!campaign::IsPlainName(name)) {
    platform::DebugPrintf("[%s] campaign name refused\n", kScreen);
    return screens::kNotHandled;
  }
  campaignName = std::string(name);
  auto* scene = screens::FindWidget<GUIScene>(table_->gui, "scnCampaignMenu", kScreen);
  auto* list = screens::FindChildWidget<GUIListBox>(scene, "lbCMScenarios", kScreen);
  if (!scene || !list) return screens::kNotHandled;
  list->ClearLines();
  std::string text;
  if (!ReadText(ScenarioDirectory() + campaignName + "\\" + campaignName + ".kvc", &text))
    return screens::kNotHandled;
  const campaign::CampaignFile file = campaign::ParseCampaignText(text);
  for (const std::string& scenario : file.scenarios) list->AddLine(scenario);
  auto* description = screens::FindChildWidget<GUIMLTextBox>(scene, "mltbCMScenarioDescription", kScreen);
  if (!description) return screens::kNotHandled;
  description->SetText(file.description, true);
  return status::Ok;
}

CoreStatus ActionCampaignMenu::SetScenario(std::string_view name) {
  if (name.empty()) {
    EnablePlay(false);
    scenarioName.clear();
    return status::Ok;
  }
  if (!campaign::IsPlainName(name) || !campaign::IsPlainName(campaignName)) {
    platform::DebugPrintf("[%s] scenario name refused\n", kScreen);
    return screens::kNotHandled;
  }
  scenarioName = std::string(name);
  auto* scene = screens::FindWidget<GUIScene>(table_->gui, "scnCampaignMenu", kScreen);
  if (!scene) return screens::kNotHandled;
  std::string text;
  if (!ReadText(ScenarioDirectory() + campaignName + "\\" + scenarioName + "\\" + scenarioName + ".kvs", &text))
    return screens::kNotHandled;
  auto* description = screens::FindChildWidget<GUIMLTextBox>(scene, "mltbCMScenarioDescription", kScreen);
  if (!description) return screens::kNotHandled;
  description->SetText(campaign::ParseScenarioText(text), true);
  EnablePlay(true);
  return status::Ok;
}

CoreStatus ActionCampaignMenu::LoadScenario() {
  if (scenarioName.empty()) return screens::kNotHandled;
  auto* scenario = dynamic_cast<cKV9_GameScenario*>(table_->scenario);
  if (!scenario || !table_->game) return screens::kNotHandled;
  scenario->isScenarioFile = true;
  return table_->game->LoadGame(scenarioName, false) == status::Ok ? status::Ok : screens::kNotHandled;
}

CoreStatus ActionCampaignMenu::LoadCampaigns() {
  auto* scene = screens::FindWidget<GUIScene>(table_->gui, "scnCampaignMenu", kScreen);
  auto* list = screens::FindChildWidget<GUIListBox>(scene, "lbCMCampaigns", kScreen);
  if (!scene || !list) return screens::kNotHandled;
  list->ClearLines();
  std::vector<platform::DirEntry> entries;
  std::string folder;
  if (!platform::ResolvePath(ScenarioDirectory(), &folder) || !platform::ListDirectory(folder, &entries))
    return screens::kNotHandled;
  std::vector<std::string> names;
  for (const platform::DirEntry& entry : entries) {
    if (entry.isDirectory && entry.name != "." && entry.name != "..") names.push_back(entry.name);
  }
  std::stable_sort(names.begin(), names.end());
  for (const std::string& name : names) list->AddLine(name);
  return status::Ok;
}
