#include "screens/ScreenActions.h"

#include <new>

#include "screens/ActionCampaignMenu.h"
#include "screens/ActionDemolishDialog.h"
#include "screens/ActionChooseLocationMenu.h"
#include "screens/ActionCreditsMenu.h"
#include "screens/ActionExitGame.h"
#include "screens/ActionMainMenu.h"
#include "screens/ActionOptionsMenu.h"
#include "screens/ActionStartScenario.h"
#include "screens/BuildMenuScreen.h"

namespace {

template <typename Action>
cAction_Base* Make(cCore_GlobalWrapper* table) {
  return new (std::nothrow) Action(table);
}

constexpr ScreenActionRow kRows[] = {
    {"AirlineContractProposal", nullptr},
    {"AirportInfoScreen", nullptr},
    {"BuildMenu", &Make<BuildMenuScreen>},
    {"CampaignMenu", &Make<ActionCampaignMenu>},
    {"ChooseLocationMenu", &Make<ActionChooseLocationMenu>},
    {"Console", nullptr},
    {"ContractMenu", nullptr},
    {"DemolishDialog", &Make<ActionDemolishDialog>},
    {"EditCamera", nullptr},
    {"ExitGame", &Make<ActionExitGame>},
    {"BusinessContractProposal", nullptr},
    {"IGAwards", nullptr},
    {"IGLoadMenu", nullptr},
    {"IGObjectInfo", nullptr},
    {"IGTermObjectInfo", nullptr},
    {"IGOptionsMenu", nullptr},
    {"IGEventsDlg", nullptr},
    {"CreditsMenu", &Make<ActionCreditsMenu>},
    {"InGame", nullptr},
    {"InGameDialog", nullptr},
    {"InsideTerminal", nullptr},
    {"LoadMenu", nullptr},
    {"MainMenu", &Make<ActionMainMenu>},
    {"OptionsMenu", &Make<ActionOptionsMenu>},
    {"PDA", nullptr},
    {"PurchaseLand", nullptr},
    {"SaveDialog", nullptr},
    {"StartScenario", &Make<ActionStartScenario>},
    {"ZoningDialog", nullptr},
    {"MiscDialog", nullptr},
};

}  // namespace

const ScreenActionRow* GetScreenActionRows(size_t* count) {
  if (count) *count = sizeof(kRows) / sizeof(kRows[0]);
  return kRows;
}

void InstallScreenActions() {
  size_t count = 0;
  const ScreenActionRow* rows = GetScreenActionRows(&count);
  cKV9_ActionManager::SetScreenActions(rows, count);
}
