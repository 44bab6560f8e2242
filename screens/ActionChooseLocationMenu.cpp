#include "screens/ActionChooseLocationMenu.h"

#include <vector>

#include "base/StringUtil.h"
#include "engine/math/JVector.h"
#include "engine/services/GlobalWrapper.h"
#include "game/world/KV9GameScenario.h"
#include "game/world/LocationRecord.h"
#include "gui/core/GUIListBox.h"
#include "gui/core/GUIScene.h"
#include "gui/core/GUIStaticText.h"
#include "screens/ScreenCommand.h"
#include "screens/ScreenWidgets.h"

namespace {

constexpr const char* kScreen = "ActionChooseLocationMenu";
constexpr float kPi = 3.1415927f;

struct ContinentButton {
  const char* button;
  const char* continent;
};
constexpr ContinentButton kContinents[] = {
    {"btnAfrica", "Africa"}, {"btnNAmerica", "North America"}, {"btnSAmerica", "South America"},
    {"btnAustralia", "Australia/Oceania"}, {"btnAsia", "Asia"}, {"btnEurope", "Europe"},
};

// The hazard icons of "grpCLMHazards": which bit each shows, whether a new
// continent hides it and whether a location sets it.
struct HazardIcon {
  const char* icon;
  uint32_t bit;
  bool hiddenByContinent;
  bool setByLocation;
};
constexpr HazardIcon kHazards[] = {
    {"stBlizzardIcon", 0x01, true, true},     {"stHeatwaveIcon", 0x02, true, true},
    {"stRainIcon", 0x04, true, true},         {"stSnowIcon", 0x08, true, true},
    {"stSunIcon", 0x10, true, true},          {"stThunderstormIcon", 0x20, true, true},
    {"stTropStormIcon", 0, true, false},      {"stEarthquakeIcon", 0x40, false, true},
};

void Send(GUIEntity* widget, uint32_t message) {
  if (widget) widget->OnMessage(0, message, 0);
}

}  // namespace

ActionChooseLocationMenu::ActionChooseLocationMenu(cCore_GlobalWrapper* table)
    : cAction_Base("ChooseLocationMenu"), table_(table) {}

void ActionChooseLocationMenu::Reset() {
  continentName.clear();
  locationName.clear();
  referenceAngles[0] = referenceAngles[1] = referenceAngles[2] = 0.0f;
}

CoreStatus ActionChooseLocationMenu::Execute(cEntity_Base*, uintptr_t, const std::string& params) {
  if (!dynamic_cast<cKV9_GlobalWrapper*>(table_) || params.empty()) return screens::kNotHandled;
  const screens::Command command = screens::CutCommand(params, screens::kBlank);
  if (command.Is("SetContinent")) return SetContinent(command.rest);
  if (command.Is("SetLocation")) {
    // List lines carry the country on a second line.
    std::string_view name = command.rest;
    name = name.substr(0, name.find('\n'));
    return SetLocation(name);
  }
  if (command.Is("LoadContinents")) return status::Ok;
  if (command.Is("ValidateLocation")) {
    if (continentName.empty() || locationName.empty()) return screens::kNotHandled;
    continentName.clear();
    locationName.clear();
    return status::Ok;
  }
  return screens::kNotHandled;
}

CoreStatus ActionChooseLocationMenu::SetContinent(std::string_view name) {
  if (name.empty()) {
    continentName.clear();
    return status::Ok;
  }
  auto* table = static_cast<cKV9_GlobalWrapper*>(table_);
  Panelis* gui = table->gui;
  auto* scene = screens::FindWidget<GUIScene>(gui, "scnChooseLocationMenu", kScreen);
  if (str::EqualsNoCase(name, continentName)) return screens::kNotHandled;
  continentName = std::string(name);
  locationName.clear();
  auto* list = screens::FindChildWidget<GUIListBox>(scene, "lbCLMLocations", kScreen);
  if (!scene || !list) return screens::kNotHandled;
  list->ClearLines();
  std::vector<_LocationRecord*> locations;
  if (auto* scenario = dynamic_cast<cKV9_GameScenario*>(table->scenario))
    scenario->GetLocationsOfContinent(continentName, &locations);
  for (const _LocationRecord* location : locations) list->AddLine(location->name + "\n" + location->country);
  if (auto* title = screens::FindWidget<GUIStaticText>(gui, "tbCLMContinentName", kScreen))
    title->SetText(continentName, true);
  if (auto* population = screens::FindChildWidget<GUIStaticText>(scene, "sttCLMPopulation", kScreen))
    population->SetText("", true);
  for (const char* rating : {"sttCLMDomestic", "sttCLMInternational"}) {
    if (auto* text = screens::FindChildWidget<GUIStaticText>(scene, rating, kScreen)) text->SetVisible(0);
  }
  if (GUIEntity* hazards = scene->FindChild("grpCLMHazards")) {
    for (const HazardIcon& icon : kHazards) {
      if (icon.hiddenByContinent) Send(hazards->FindChild(icon.icon), screens::kMsgHide);
    }
  }
  for (const ContinentButton& button : kContinents) {
    if (auto* widget = screens::FindChildWidget<GUIEntity>(scene, button.button, kScreen))
      widget->SetEnabled(str::EqualsNoCase(button.continent, continentName) ? 0 : 1);
  }
  return status::Ok;
}

CoreStatus ActionChooseLocationMenu::SetLocation(std::string_view name) {
  if (name.empty()) {
    locationName.clear();
    return status::Ok;
  }
  auto* table = static_cast<cKV9_GlobalWrapper*>(table_);
  Panelis* gui = table->gui;
  auto* scene = screens::FindWidget<GUIScene>(gui, "scnChooseLocationMenu", kScreen);
  locationName = std::string(name);
  if (auto* title = screens::FindWidget<GUIStaticText>(gui, "tbCLMContinentName", kScreen))
    title->SetText(locationName, true);
  auto* scenario = dynamic_cast<cKV9_GameScenario*>(table->scenario);
  // Without a continent, or for a name the continent does not hold, the
  // scenario would keep the location chosen before: refuse, so that no
  // game starts on a location the player did not pick.
  if (!scenario || !scenario->SelectLocation(locationName, continentName)) {
    locationName.clear();
    return screens::kNotHandled;
  }
  auto* population = screens::FindChildWidget<GUIStaticText>(scene, "sttCLMPopulation", kScreen);
  if (!scene || !population) return screens::kNotHandled;
  population->SetText(std::to_string(static_cast<long>(scenario->GetPopulationOfLocation())), true);
  const struct {
    const char* text;
    uint8_t count;
  } ratings[] = {{"sttCLMDomestic", scenario->GetDomesticFlights()},
                 {"sttCLMInternational", scenario->GetInternationalFlights()}};
  for (const auto& rating : ratings) {
    if (auto* text = screens::FindChildWidget<GUIStaticText>(scene, rating.text, kScreen)) {
      text->SetText(std::string(rating.count, '0'), true);
      text->SetVisible(1);
    }
  }
  if (GUIEntity* hazards = scene->FindChild("grpCLMHazards")) {
    const uint32_t bits = scenario->GetHazards();
    for (const HazardIcon& icon : kHazards) {
      if (icon.setByLocation)
        Send(hazards->FindChild(icon.icon), (bits & icon.bit) ? screens::kMsgShow : screens::kMsgHide);
    }
  }
  return status::Ok;
}

void ActionChooseLocationMenu::GetTurnToward(JVector* amount, JVector* sign, float targetX, float targetY) {
  float magnitudes[2];
  float signs[2];
  const float targets[2] = {targetX, targetY};
  for (int axis = 0; axis < 2; ++axis) {
    float d = targets[axis] - referenceAngles[axis];
    float s = 1.0f;
    if (d == 0.0f) s = 0.0f;
    else if (d > kPi) {
      d = 2.0f * kPi - d;
      s = -1.0f;
    } else if (d < -kPi) {
      s = -1.0f;
      d = -d - 2.0f * kPi;
    }
    if (d < 0.0f) {
      d = -d;
      s = -s;
    }
    magnitudes[axis] = d;
    signs[axis] = s;
  }
  if (amount) *amount = JVector(magnitudes[0], magnitudes[1], 0.0f);
  if (sign) *sign = JVector(signs[0], signs[1], 0.0f);
}
