#include "screens/ActionCreditsMenu.h"

#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "gui/core/GUIScene.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUIWorld.h"
#include "platform/Random.h"
#include "screens/CreditsTexts.h"
#include "screens/ScreenCommand.h"
#include "screens/ScreenWidgets.h"

namespace {

constexpr const char* kScreen = "ActionCreditsMenu";
constexpr float kShortPage = 6.0f;
constexpr float kLongPage = 10.0f;
constexpr const char* kPages[3] = {"scnQuillmoor", "scnOrbanet", "scnTessaline"};

struct AltLine {
  const char* name;
  float y;
  const char* text;
};
constexpr AltLine kAltLines[5] = {
    {"sttCAltHeader", -2.8046875f, "Alternate Art:"},
    {"sttCAltTeam1", -4.5618305f, credits::kAltArtLines[0]},
    {"sttCAltTeam2", -6.3189731f, credits::kAltArtLines[1]},
    {"sttCAltTeam3", -8.0761166f, credits::kAltArtLines[2]},
    {"sttCAltTeam4", -9.2475443f, credits::kAltArtLines[3]},
};

}  // namespace

ActionCreditsMenu::ActionCreditsMenu(cCore_GlobalWrapper* table) : cAction_Base("CreditsMenu"), table_(table) {
  updated = 1;
  Reset();
}

CoreStatus ActionCreditsMenu::Execute(cEntity_Base*, uintptr_t, const std::string& params) {
  auto* table = dynamic_cast<cKV9_GlobalWrapper*>(table_);
  if (!table || params.empty()) return screens::kNotHandled;
  const screens::Command command = screens::CutCommand(params, screens::kBlank);
  if (command.Is("show")) {
    GUIEntity* credits = table->gui ? table->gui->FindEntity("scnCredits") : nullptr;
    if (table->gui && table->gui->GetWorld() && (!credits || !credits->FindChild("scnAltArt"))) Reset();
    page = 0;
    timer = kShortPage;
    running = true;
    return status::Ok;
  }
  if (command.Is("hide")) {
    running = false;
    return status::Ok;
  }
  return screens::kNotHandled;
}

void ActionCreditsMenu::Reset() {
  page = 0;
  timer = kShortPage;
  running = false;
  auto* table = dynamic_cast<cKV9_GlobalWrapper*>(table_);
  Panelis* gui = table ? table->gui : nullptr;
  if (!gui || !gui->GetWorld()) return;
  GUIEntity* credits = gui->FindEntity("scnCredits");
  // Each world clear runs this again: one page per credits scene.
  if (credits && !credits->FindChild("scnAltArt")) BuildAltArtPage();
}

void ActionCreditsMenu::BuildAltArtPage() {
  auto* table = static_cast<cKV9_GlobalWrapper*>(table_);
  Panelis* gui = table->gui;
  GUIEntity* credits = gui->FindEntity("scnCredits");
  GUIEntity* made = nullptr;
  if (status::Failed(gui->SpawnWidget(GUIKIND_SCENE, &made)) || !made) return;
  auto* page = dynamic_cast<GUIScene*>(made);
  if (!page) return;
  page->SetName("scnAltArt");
  page->SetVisible(0);
  page->SetScale(12.0f, 15.0f, 1.0f, true);
  page->SetPositionY(-0.546875f, true);
  page->Initialize();
  credits->AddChild(page, true);
  page->SetParent(credits);
  GUIWorld* world = gui->GetWorld();
  for (const AltLine& line : kAltLines) {
    made = nullptr;
    if (status::Failed(gui->SpawnWidget(GUIKIND_STATICTEXT, &made))) continue;
    auto* text = dynamic_cast<GUIStaticText*>(made);
    if (!text) continue;
    text->SetName(line.name);
    text->SetFont(world ? world->GetDefaultFont() : nullptr);
    text->MoveBy(7.2265625f, line.y, -0.5f, true);
    text->SetTextScale(0.375f, 0.4f, 1.0f, true);
    text->SetText(line.text, true);
    text->SetSolid(0);
    text->UpdateBounds();
    text->SetTextAlign(2, true);
    page->AddChild(text, true);
    text->SetParent(page);
  }
}

void ActionCreditsMenu::Update(float seconds) {
  if (!running) return;
  timer -= seconds;
  if (!(timer < 0.0f)) return;
  page = page >= 2 ? 0 : page + 1;
  timer = page == 2 ? kLongPage : kShortPage;
  auto* table = dynamic_cast<cKV9_GlobalWrapper*>(table_);
  auto* credits = screens::FindWidget<GUIScene>(table ? table->gui : nullptr, "scnCredits", kScreen);
  if (!credits) return;
  const int32_t draw = platform::Rand() % 1000000;
  const bool altArt = draw == 0;
  if (!altArt) WriteTeamLines(credits, draw);
  for (int32_t i = 0; i < 3; ++i) {
    if (GUIEntity* scene = credits->FindChild(kPages[i])) scene->SetVisible(!altArt && page == i ? 1 : 0);
  }
  if (GUIEntity* alt = credits->FindChild("scnAltArt")) alt->SetVisible(altArt ? 1 : 0);
}

void ActionCreditsMenu::WriteTeamLines(GUIEntity* credits, int32_t draw) {
  static constexpr const char* kKeys[6] = {"Team1", "Team2", "Team3", "Team4", "Team5", "Team6"};
  for (int32_t i = 0; i < credits->GetChildCount(); ++i) {
    GUIEntity* scene = credits->GetChild(i);
    if (!scene || scene->GetKind() != GUIKIND_SCENE || scene->GetName().find("Quillmoor") == std::string::npos)
      continue;
    for (int32_t j = 0; j < scene->GetChildCount(); ++j) {
      auto* text = dynamic_cast<GUIStaticText*>(scene->GetChild(j));
      if (!text || text->GetKind() != GUIKIND_STATICTEXT) continue;
      const std::string name = text->GetName();
      if (draw == 1) {
        if (name.find("Team") != std::string::npos) text->SetText(credits::kAlternativeLine, true);
        continue;
      }
      for (int k = 0; k < 6; ++k) {
        if (name.find(kKeys[k]) != std::string::npos) {
          text->SetText(credits::kTeamLines[k], true);
          break;
        }
      }
    }
  }
}
