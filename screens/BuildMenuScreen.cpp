#include "screens/BuildMenuScreen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/StringUtil.h"
#include "construction/BOInstance.h"
#include "construction/BuildPlacement.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "construction/OID.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "gui/core/GUIButton.h"
#include "gui/core/GUIScrollBar.h"
#include "gui/core/GUIStaticText.h"
#include "scene/AudioManager.h"
#include "simulation/ContractManager.h"
#include "simulation/EventManager.h"

namespace {

constexpr CoreStatus kNotHandled = static_cast<CoreStatus>(0x80150003);
constexpr uint32_t kCategories = 7;
constexpr uint32_t kStorageCategory = 3;
constexpr int32_t kPage = 3;
constexpr float kSlide = 4.453125f;

const char* const kBarButtons[] = {"btnIGBuildMenu", "btnIGDestroy",     "btnIGInfo",      "btnIGContracts",
                                   "btnIGPurchaseLand", "btnIGMessages", "btnIGGameDialog"};

// The help topic a selected type starts: class, the type's name (none: any),
// topic.
struct HelpRow {
  uint8_t classCode;
  const char* name;
  uint32_t topic;
};
constexpr HelpRow kHelpRows[] = {
    {kClass_Terminal, nullptr, 2},         {kClass_Admin, nullptr, 3},
    {kClass_Storage, "hangar", 4},         {kClass_Storage, "cargo", 5},
    {kClass_Runway, nullptr, 6},           {kClass_Organizational, "control tower", 7},
    {kClass_Parking, nullptr, 8},          {kClass_Emergency, "fire station", 9},
    {kClass_Security, "police station", 10}, {kClass_Service, "turnaround", 11},
    {kClass_Service, "Plane Maintain", 12},
};

// The word and what follows it: the first word is cut at a blank or "|";
// the value runs to the next "|".
struct Words {
  std::string word;
  std::string value;
};

Words ParseWords(const std::string& params) {
  Words out;
  const size_t first = params.find_first_not_of(" |");
  if (first == std::string::npos) return out;
  const size_t end = params.find_first_of(" |", first);
  out.word = params.substr(first, end == std::string::npos ? std::string::npos : end - first);
  if (end == std::string::npos) return out;
  const std::string rest = params.substr(end + 1);
  out.value = rest.substr(0, rest.find('|'));
  return out;
}

// The first token of a value, cut at a blank or "|".
int32_t IndexOf(const std::string& value) {
  const size_t first = value.find_first_not_of(" |");
  if (first == std::string::npos) return -1;
  return std::atoi(value.substr(first, value.find_first_of(" |", first) - first).c_str());
}

}  // namespace

BuildMenuScreen::BuildMenuScreen(cCore_GlobalWrapper* table) : table_(dynamic_cast<cKV9_GlobalWrapper*>(table)) {
  Initialize();
}

void BuildMenuScreen::Initialize() {
  open = 0;
  moving = false;
  currentCategory = kNoCategory;
  std::fill(std::begin(shownOffset), std::end(shownOffset), 0);
  std::fill(std::begin(scrollValue), std::end(scrollValue), 0x7FFFFFFF);
  items.clear();
  Panelis* gui = table_ ? table_->gui : nullptr;
  if (!gui || !gui->GetWorld()) return;
  if (GUIEntity* panel = gui->FindEntity("scnBuildMenu")) panel->SetPositionX(20.0f, true);
  EnableBar(true);
}

void BuildMenuScreen::EnableBar(bool enabled) {
  Panelis* gui = table_ ? table_->gui : nullptr;
  for (const char* name : kBarButtons) {
    if (GUIEntity* button = gui ? gui->FindEntity(name) : nullptr) button->SetEnabled(enabled ? 1 : 0);
  }
}

void BuildMenuScreen::SetText(const char* widget, const std::string& text) {
  Panelis* gui = table_ ? table_->gui : nullptr;
  if (auto* label = gui ? dynamic_cast<GUIStaticText*>(gui->FindEntity(widget)) : nullptr) label->SetText(text, true);
}

int32_t BuildMenuScreen::ListOffset() const {
  if (currentCategory >= kCategories) return 0;
  const int64_t n = static_cast<int64_t>(items.size());
  return static_cast<int32_t>(std::max<int64_t>(0, n - scrollValue[currentCategory] - kPage));
}

cBuildableObject* BuildMenuScreen::ItemOnButton(int32_t button) const {
  if (currentCategory >= kCategories || button < 0 || button >= kItemButtons) return nullptr;
  const size_t index = static_cast<size_t>(ListOffset() + button);
  return index < items.size() ? items[index] : nullptr;
}

CoreStatus BuildMenuScreen::Execute(cEntity_Base* target, uintptr_t source, const std::string& params) {
  const Words words = ParseWords(params);
  const std::string& word = words.word;
  if (word.empty()) return kNotHandled;
  cEntity_BuildingManager* manager = table_ ? table_->buildingManager : nullptr;
  const bool inHand = manager && manager->GetPlacementObject();
  if (str::EqualsNoCase(word, "ToggleMenu")) return ToggleMenu(source);
  if (str::EqualsNoCase(word, "SetMoving")) {
    if (words.value.empty()) return kNotHandled;
    moving = str::EqualsNoCase(words.value, "true") || words.value == "1";
    if (auto* widget = dynamic_cast<GUIEntity*>(reinterpret_cast<cEntity_Base*>(source)))
      widget->RunPendingMultiAction();
    return 0;
  }
  if (str::EqualsNoCase(word, "ActivateCategory")) {
    const int32_t category = std::atoi(words.value.c_str());
    if (category >= 0 && static_cast<uint32_t>(category) < kCategories)
      ShowCategory(static_cast<uint32_t>(category), false);
    if (table_ && table_->gamePlot) table_->gamePlot->Placement().LeaveDemolishMode();
    return 0;
  }
  if (str::EqualsNoCase(word, "Update")) {
    if (currentCategory < kCategories && ListOffset() != shownOffset[currentCategory]) RefreshItemButtons();
    return 0;
  }
  if (str::EqualsNoCase(word, "MouseOver")) {
    if (!inHand) ShowInfo(ItemOnButton(IndexOf(words.value)));
    return 0;
  }
  if (str::EqualsNoCase(word, "MouseExit")) {
    if (!inHand) RefreshInfo();
    return 0;
  }
  if (str::EqualsNoCase(word, "SelectObject"))
    return SelectObject(dynamic_cast<GUIEntity*>(target), IndexOf(words.value));
  return kNotHandled;
}

CoreStatus BuildMenuScreen::ToggleMenu(uintptr_t source) {
  if (moving) return 0;
  if (currentCategory == kNoCategory) ShowCategory(0, true);
  Panelis* gui = table_ ? table_->gui : nullptr;
  GUIEntity* panel = gui ? gui->FindEntity("scnBuildMenu") : nullptr;
  if (!panel) return kNotHandled;
  cAction_Factory* factory = table_->actionFactory;
  cAction_Base* slide = factory ? factory->GetAction("MultiAction") : nullptr;
  cEntity_EventManager* events = table_->eventManager;
  char command[96];
  if (open) {
    std::snprintf(command, sizeof command, "1 MoveWidget %.6f 0.0 0.0 %.6f;BuildMenu SetMoving false", kSlide, kSlide);
  } else {
    if (events) events->ClearHelpWait(1, 1, 6);
    std::snprintf(command, sizeof command, "1 MoveWidget %.6f 0.0 0.0 %.6f;BuildMenu SetMoving false", -kSlide,
                  kSlide);
    if (table_->gamePlot) table_->gamePlot->Placement().LeaveDemolishMode();
    if (events) events->StartHelpTopic(1);
  }
  moving = true;
  open = open ? 0 : 1;
  EnableBar(!open);
  if (table_->audioManager) {
    const std::string root = table_->entityManager ? table_->entityManager->GetResourcePath() : std::string();
    table_->audioManager->PlaySound(root + "Sounds\\INT_ddown.wav", false, 0);
  }
  if (slide) {
    slide->Execute(panel, source, command);
    factory->ReleaseAction(slide);
  } else {
    // Without the sliding action the panel jumps: nothing will report the
    // end of a move.
    panel->MoveBy(open ? -kSlide : kSlide, 0.0f, 0.0f, true);
    moving = false;
  }
  if (open) RefreshStorageButton();
  return 0;
}

void BuildMenuScreen::RefreshStorageButton() {
  Panelis* gui = table_ ? table_->gui : nullptr;
  GUIEntity* button = gui ? gui->FindEntity("btnBMCStorageFacilities") : nullptr;
  if (!button) return;
  const uint8_t wanted = HasStorageItems() ? 1 : 0;
  if (*button->IsEnabledPtr() != wanted) button->SetEnabled(wanted);
}

bool BuildMenuScreen::HasStorageItems() {
  cEntity_BuildingManager* manager = table_ ? table_->buildingManager : nullptr;
  if (!manager) return false;
  const uint16_t ids = manager->GetTypeCount(kClass_Storage);
  for (uint16_t id = 0; id < ids; ++id) {
    for (uint8_t level = 0; level < kBuildingLevelCount; ++level) {
      cBuildableObject* type = manager->GetBuildingType(kClass_Storage, id, level);
      if (type && cBuildPlacement::TechLevelReached(manager, type->GetTechLevel())) return true;
    }
  }
  return false;
}

void BuildMenuScreen::CollectCategoryItems() {
  items.clear();
  cEntity_BuildingManager* manager = table_ ? table_->buildingManager : nullptr;
  if (!manager) return;
  cEntity_ContractManager* contracts = table_->contractManager;
  for (uint8_t cls = 0; cls < kBuildingClassCount; ++cls) {
    const uint16_t ids = manager->GetTypeCount(cls);
    for (uint16_t id = 0; id < ids; ++id) {
      for (uint8_t level = 0; level < kBuildingLevelCount; ++level) {
        cBuildableObject* type = manager->GetBuildingType(cls, id, level);
        if (!type || type->GetCategory() != currentCategory) continue;
        if (!cBuildPlacement::TechLevelReached(manager, type->GetTechLevel())) continue;
        // An amenity is offered only for a signed business not yet placed.
        if (cls == kClass_Amenity &&
            (!type->GetBusinessContract() || !contracts || !contracts->IsBusinessUnplaced(type->GetBusinessContract())))
          continue;
        items.push_back(type);
      }
    }
  }
}

void BuildMenuScreen::ShowCategory(uint32_t category, bool force) {
  if (category >= kCategories) return;
  if (category == kStorageCategory && !HasStorageItems()) return;
  if (category == currentCategory && !force) return;
  currentCategory = category;
  CollectCategoryItems();
  Panelis* gui = table_ ? table_->gui : nullptr;
  if (auto* bar = gui ? dynamic_cast<GUIScrollBar*>(gui->FindEntity("sbBMBuildings")) : nullptr) {
    bar->BindValue(&scrollValue[category]);
    bar->SetMax(static_cast<int32_t>(items.size()) - kPage);
    bar->SetPageSize(kPage);
    bar->SetEnabled(1);
    bar->SetSnapThumb(1);
    bar->SetValue(scrollValue[category]);
    bar->SetSnapThumb(0);
  }
  cEntity_BuildingManager* manager = table_ ? table_->buildingManager : nullptr;
  if (manager) SetText("sttBMCategory", manager->GetCategoryName(static_cast<uint8_t>(category)));
  if (category == 1 && table_->eventManager) table_->eventManager->StartHelpTopic(15);
  if (force) RefreshStorageButton();
  RefreshItemButtons();
}

void BuildMenuScreen::RefreshItemButtons() {
  if (currentCategory >= kCategories) return;
  shownOffset[currentCategory] = ListOffset();
  Panelis* gui = table_ ? table_->gui : nullptr;
  Core3D* graphics = table_ ? table_->graphics : nullptr;
  const std::string root = table_ && table_->entityManager ? table_->entityManager->GetResourcePath() : std::string();
  for (int32_t i = 0; i < kItemButtons; ++i) {
    char name[24];
    std::snprintf(name, sizeof name, "btnBMObject%d", i);
    auto* button = gui ? dynamic_cast<GUIButton*>(gui->FindEntity(name)) : nullptr;
    if (!button) continue;
    cBuildableObject* type = ItemOnButton(i);
    if (!type) {
      button->SetVisible(0);
      continue;
    }
    button->SetVisible(1);
    C3DBaseShader* look = graphics ? graphics->CreateShader(8, root + type->GetThumbnail()) : nullptr;
    for (int32_t state : {GUIBUTTON_MOUSEOVER, GUIBUTTON_NORMAL, GUIBUTTON_DEFAULT, GUIBUTTON_ACTIVE})
      button->SetStateShader(state, look);
    button->ApplyStateModel(GUIBUTTON_NORMAL);
    button->ApplyStateShader(GUIBUTTON_NORMAL);
    if (C3DModel* model = button->GetModel(); model && look) model->SetShader(0, look);
    // The button keeps its own references.
    if (look) graphics->ReleaseResource(look);
    char info[24];
    std::snprintf(info, sizeof info, "ShowInfo %d", i);
    button->BindAction("mouse1_click", "BuildMenu", info);
  }
}

void BuildMenuScreen::ShowInfo(cBuildableObject* type) {
  if (!type) return;
  SetText("sttBMName", type->GetName());
  char size[32];
  std::snprintf(size, sizeof size, "%d x %d", type->GetWidthRotated(0), type->GetLengthRotated(0));
  SetText("sttBMDimensions", size);
  char cost[48];
  std::snprintf(cost, sizeof cost, "$%.2f", static_cast<double>(type->GetBuildCost()));
  SetText("sttBMBuildCost", cost);
}

void BuildMenuScreen::RefreshInfo() {
  Panelis* gui = table_ ? table_->gui : nullptr;
  if (GUIEntity* highlight = gui ? gui->FindEntity("stcBMHighlight") : nullptr) highlight->SetVisible(0);
  SetText("sttBMDimensions", "");
  SetText("sttBMBuildCost", "");
  SetText("sttBMName", "");
}

CoreStatus BuildMenuScreen::SelectObject(GUIEntity* target, int32_t button) {
  cBuildableObject* type = ItemOnButton(button);
  cEntity_BuildingManager* manager = table_ ? table_->buildingManager : nullptr;
  if (!type || !manager || !table_->gamePlot) return kNotHandled;
  BOInstance* object = manager->SelectBuildingType(type->GetClass(), type->GetId(), type->GetLevel());
  if (!object) return kNotHandled;
  // Out of sight until the cursor brings it onto the plot.
  object->world.m[3][1] -= 255.0f;
  cBuildPlacement& hand = table_->gamePlot->Placement();
  hand.SetPlacementObject(object, true);
  Panelis* gui = table_->gui;
  if (GUIEntity* highlight = gui ? gui->FindEntity("stcBMHighlight") : nullptr) {
    highlight->SetVisible(1);
    if (target) highlight->SetPositionY(target->GetPositionY() - 0.078125f, true);
    highlight->SetScale(1.9140625f, button == 3 ? 0.8203125f : 1.9140625f, 1.0f, true);
  }
  hand.LeaveDemolishMode();
  for (const HelpRow& row : kHelpRows) {
    if (row.classCode != type->GetClass()) continue;
    if (row.name && manager->FindTypeIndexByName(row.classCode, row.name) != type->GetId()) continue;
    if (table_->eventManager) table_->eventManager->StartHelpTopic(row.topic);
    break;
  }
  return 0;
}

void BuildMenuScreen::StartRoadPlacement() {
  ShowCategory(5, true);
  cEntity_BuildingManager* manager = table_ ? table_->buildingManager : nullptr;
  if (!manager || !table_->gamePlot) return;
  const uint16_t id = manager->FindTypeIndexByName(kClass_Road, "Road");
  BOInstance* road = manager->SelectBuildingType(kClass_Road, id, 1);
  if (!road) return;
  road->world.m[3][1] -= 255.0f;
  table_->gamePlot->Placement().SetPlacementObject(road, true);
}
