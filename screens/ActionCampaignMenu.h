#pragma once
// "CampaignMenu": the campaign screen. Lists the scenarios of the scenario
// list "scenarios.dat", shows the chosen one's description and screenshot,
// and starts it from its prepared save with its texts, timed events and end
// conditions. An older path browses campaign folders with plain-text
// campaign (".kvc") and scenario (".kvs") files.
#include <memory>
#include <string>
#include <string_view>

#include "engine/entity/ActionBase.h"
#include "engine/entity/Singleton.h"
#include "engine/files/DataFile.h"

class cCore_GlobalWrapper;
class cKV9_GlobalWrapper;

class ActionCampaignMenu : public cAction_Base, public Singleton<ActionCampaignMenu> {
 public:
  explicit ActionCampaignMenu(cCore_GlobalWrapper* table);

  CoreStatus Execute(cEntity_Base* sender, uintptr_t code, const std::string& params) override;
  // Forgets the chosen campaign and scenario.
  void Reset() override;
  // The description and screenshot of scenario `index` of the list.
  void ShowScenarioDetails(int32_t index);

  std::string campaignName;
  std::string scenarioName;
  // The scenario list, read by the first "Show" of the run.
  CDataFile scenarioList;
  bool listLoaded = false;

 private:
  void Show();
  void Accept();
  CoreStatus SetCampaign(std::string_view name);
  CoreStatus SetScenario(std::string_view name);
  CoreStatus LoadScenario();
  CoreStatus LoadCampaigns();
  std::string ScenarioDirectory() const;
  // The text of a campaign or scenario file; false when it cannot be read.
  bool ReadText(const std::string& path, std::string* text) const;
  void EnablePlay(bool on);

  cKV9_GlobalWrapper* table_ = nullptr;
};
