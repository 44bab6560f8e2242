// The build menu's per-category scenes: one hidden scene "scnBM<category>"
// under "scnBMCategories" per category, holding one button per building type
// whose look and enabled state follow the technology level of the type.
#include <cstdio>
#include <string>

#include "construction/BuildPlacement.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/GameNeighbours.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "gui/core/GUIButton.h"
#include "gui/core/GUIEntity.h"
#include "simulation/ActionBuildMenu.h"

namespace {

constexpr const char* kFallbackShader = "Interface\\Common\\Button.jsm";
constexpr float kDepth = 0.1f;

std::string ButtonName(uint8_t level, const std::string& typeName) {
  char text[32];
  std::snprintf(text, sizeof text, "Level %d ", static_cast<int>(level));
  return text + typeName;
}

// The thumbnail's shader, or the common button look when it does not load.
C3DBaseShader* LoadButtonShader(Core3D* graphics, const std::string& root, const std::string& name) {
  if (!graphics) return nullptr;
  C3DBaseShader* shader = name.empty() ? nullptr : graphics->CreateShader(8, root + name);
  return shader ? shader : graphics->CreateShader(8, root + kFallbackShader);
}

// "x.jsm" -> "x_bw.jsm"; a name without ".jsm" gets the suffix appended.
std::string BlackAndWhiteName(const std::string& thumbnail) {
  const std::string ext = ".jsm";
  if (thumbnail.size() >= ext.size() && thumbnail.compare(thumbnail.size() - ext.size(), ext.size(), ext) == 0)
    return thumbnail.substr(0, thumbnail.size() - ext.size()) + "_bw.jsm";
  return thumbnail.empty() ? thumbnail : thumbnail + "_bw.jsm";
}

void ShowButtonState(GUIButton* button, bool reached) {
  const int32_t state = reached ? GUIBUTTON_NORMAL : GUIBUTTON_DISABLED;
  button->ApplyStateModel(state);
  button->ApplyStateShader(state);
  button->SetEnabled(reached ? 1 : 0);
}

}  // namespace

bool cBuildPlacement::TechLevelReached(cEntity_BuildingManager* manager, uint32_t level) {
  // The flags cover levels 0-15; a type asking for more stays locked.
  return manager && level < kTechnologyFlagCount && manager->GetTechFlag(level);
}

int32_t cBuildPlacement::CreateBuildMenu() {
  cEntity_BuildingManager* manager = Manager();
  Panelis* gui = table_ ? table_->gui : nullptr;
  if (!manager || !gui) return 1;
  GUIEntity* categories = gui->FindEntity("scnBMCategories");
  if (!categories) return 1;
  categories->DestroyAllChildren();
  GUIEntity* scenes[kCategoryCount] = {};
  for (uint8_t c = 0; c < kCategoryCount; ++c) {
    GUIEntity* scene = nullptr;
    if (gui->SpawnWidget(GUIKIND_SCENE, &scene) < 0 || !scene) continue;
    scene->SetName("scnBM" + manager->GetCategoryName(c));
    scene->SetVisible(0);
    scene->SetScale(2.109375f, 6.2890625f, 1.0f, false);
    scene->SetDepth(kDepth);
    scene->Initialize();
    categories->AddChild(scene, true);
    scenes[c] = scene;
  }
  Core3D* graphics = table_->graphics;
  const std::string root = table_->entityManager ? table_->entityManager->GetResourcePath() : std::string();
  for (uint8_t cls = 0; cls < kBuildingClassCount; ++cls) {
    const uint16_t ids = manager->GetTypeIdCount(cls);
    for (uint16_t id = 0; id < ids; ++id) {
      for (uint8_t level = 0; level < kBuildingLevelCount; ++level) {
        cBuildableObject* type = manager->GetBuildingType(cls, id, level);
        if (!type) continue;
        const uint8_t category = type->GetCategory();
        GUIEntity* scene = category < kCategoryCount ? scenes[category] : nullptr;
        GUIEntity* made = nullptr;
        if (!scene || gui->SpawnWidget(GUIKIND_BUTTON, &made) < 0) continue;
        auto* button = dynamic_cast<GUIButton*>(made);
        if (!button) {
          gui->DestroyEntity(made);
          continue;
        }
        button->CreateCaption();
        button->CreateTooltip();
        button->SetCaption("", false);
        button->SetTooltipText("");
        const std::string* typeName = manager->GetTypeName(cls, id);
        const std::string name = ButtonName(level, typeName ? *typeName : type->GetName());
        button->SetName(name);
        button->SetScale(2.0703125f, 2.0703125f, 1.0f, false);
        button->SetDepth(kDepth);
        button->SetUVCoords(0.0f, 0.0f, 0.828f, 0.828f);
        button->Initialize();
        C3DBaseShader* look = LoadButtonShader(graphics, root, type->GetThumbnail());
        for (int32_t state : {GUIBUTTON_MOUSEOVER, GUIBUTTON_NORMAL, GUIBUTTON_DEFAULT, GUIBUTTON_ACTIVE})
          button->SetStateShader(state, look);
        C3DBaseShader* grey = LoadButtonShader(graphics, root, BlackAndWhiteName(type->GetThumbnail()));
        button->SetStateShader(GUIBUTTON_DISABLED, grey);
        // The button holds its own references to the looks.
        if (graphics && look) graphics->ReleaseResource(look);
        if (graphics && grey) graphics->ReleaseResource(grey);
        ShowButtonState(button, TechLevelReached(manager, type->GetTechLevel()));
        char select[48];
        std::snprintf(select, sizeof select, "SelectBuilding %d %d %d", cls, id, level);
        button->BindAction("mouse0_click", "BuildMenu", select);
        button->BindAction("mouseover_enter", "BuildMenu", "SetHelp " + name);
        button->BindAction("mouseover_exit", "BuildMenu", "ClearHelp");
        button->SetVisible(0);
        scene->AddChild(button, true);
      }
    }
  }
  return 1;
}

void cBuildPlacement::RefreshBuildMenu() {
  cEntity_BuildingManager* manager = Manager();
  Panelis* gui = table_ ? table_->gui : nullptr;
  if (!manager) return;
  GUIEntity* categories = gui ? gui->FindEntity("scnBMCategories") : nullptr;
  for (uint8_t cls = 0; categories && cls < kBuildingClassCount; ++cls) {
    const uint16_t ids = manager->GetTypeIdCount(cls);
    for (uint16_t id = 0; id < ids; ++id) {
      for (uint8_t level = 0; level < kBuildingLevelCount; ++level) {
        cBuildableObject* type = manager->GetBuildingType(cls, id, level);
        if (!type) continue;
        GUIEntity* scene = categories->FindChild("scnBM" + manager->GetCategoryName(type->GetCategory()));
        const std::string* typeName = manager->GetTypeName(cls, id);
        auto* button = scene ? dynamic_cast<GUIButton*>(
                                   scene->FindChild(ButtonName(level, typeName ? *typeName : type->GetName())))
                             : nullptr;
        if (button) ShowButtonState(button, TechLevelReached(manager, type->GetTechLevel()));
      }
    }
  }
  if (ActionBuildMenu* menu = BuildMenuOf(table_)) menu->ShowCategory(menu->currentCategory, true);
}
