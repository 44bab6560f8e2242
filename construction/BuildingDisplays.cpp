// What placed buildings show above their roofs (construction, fire,
// breakdown and discontent icons, turning in place), the "default"
// animations of the building models in use, and the placement tint.
#include <algorithm>

#include "base/StringUtil.h"
#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "engine/config/ConfigManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DModel.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/StatManager.h"

namespace {

struct IconSource {
  const char* model;
  const char* shader;
};

constexpr IconSource kIcons[kStatusGroupCount] = {
    {"polymesh_planeCC_ConstructionIcon", "Interface\\Icons\\construction_icon.jsm"},
    {"polymesh_planeCC_FireIcon", "Interface\\Icons\\fire_icon.jsm"},
    {"polymesh_planeCC_BreakdownIcon", "Interface\\Icons\\breakdown_icon.jsm"},
    {"polymesh_planeCC_MadEmployeeIcon", "Interface\\Icons\\mademployee_icon.jsm"},
};

}  // namespace

void cEntity_BuildingManager::SetUpStatusModels() {
  Core3D* graphics = table_ ? table_->graphics : nullptr;
  if (!graphics) return;
  const std::string base = GetManager() ? GetManager()->GetResourcePath() : std::string();
  for (uint32_t kind = 0; kind < kStatusGroupCount; ++kind) {
    if (statusModels[kind]) continue;
    C3DModel* model = graphics->CreateModel(40, kIcons[kind].model);
    if (!model) continue;
    model->SetWidth(1.0f);
    model->SetHeight(1.0f);
    if (C3DBaseShader* shader = graphics->CreateShader(8, base + kIcons[kind].shader)) {
      model->SetShader(0, shader);
      // The model holds the shader from here on.
      graphics->ReleaseResource(shader);
    }
    statusModels[kind] = model;
  }
}

void cEntity_BuildingManager::BuildIconMatrix(BOInstance* instance, float spin) {
  if (!instance) return;
  cBuildableObject* type = instance->GetType();
  const int32_t cx = type ? type->GetCentreX() : 0;
  const int32_t cy = type ? type->GetCentreY() : 0;
  int32_t tx = cx, tz = cy;
  switch (instance->rotation & 3) {
    case 1: tx = cy; tz = -cx; break;
    case 2: tx = -cx; tz = -cy; break;
    case 3: tx = -cy; tz = cx; break;
    default: break;
  }
  const float s = table_ && table_->gamePlot ? table_->gamePlot->GetViewCellSize() : 1.0f;
  const float height = type ? type->GetIconHeight() : 2.0f;
  JMatrix m = JMatrix::Identity();
  if (spin != 0.0f) JMath_MatrixRotateY(m, spin);
  JMath_MatrixTranslate(m, instance->world.m[3][0], instance->world.m[3][1], instance->world.m[3][2]);
  JMath_MatrixTranslate(m, static_cast<float>(tx) * s, height + 0.6f, static_cast<float>(tz) * s);
  instance->iconMatrix = m;
}

// Shows or hides the icon of `kind` on the building; false when nothing
// changed.
static bool ShowIcon(cEntity_BuildingManager& manager, uint32_t kind, BOInstance* instance, bool show) {
  auto& list = manager.statusGroups[kind];
  auto it = std::find(list.begin(), list.end(), instance);
  C3DModel* model = manager.statusModels[kind];
  if (it != list.end()) {
    if (show) return false;
    if (model) model->RemoveInstance(&instance->iconMatrix);
    list.erase(it);
    return true;
  }
  if (!show) return false;
  list.push_back(instance);
  manager.BuildIconMatrix(instance, 0.0f);
  if (model) model->AddInstance(&instance->iconMatrix);
  return true;
}

// The pattern the three trouble displays share: nothing while the building
// is under construction; showing one first hides the other two. False when
// the display is not to be touched.
static bool PrepareTroubleDisplay(cEntity_BuildingManager& manager, uint32_t kind, BOInstance* instance,
                                  bool show) {
  if (!instance || instance->constructionTimeLeft != 0) return false;
  if (show) {
    for (uint32_t other = cEntity_BuildingManager::kIcon_Fire; other < kStatusGroupCount; ++other)
      if (other != kind) ShowIcon(manager, other, instance, false);
  }
  return true;
}

void cEntity_BuildingManager::UpdateInstanceParticles(BOInstance* instance, bool show) {
  if (!PrepareTroubleDisplay(*this, kIcon_Fire, instance, show)) return;
  std::string setting;
  const bool found = table_ && table_->configManager && table_->configManager->GetString("App", "Particles", setting);
  if (!found || str::EqualsNoCase(setting, "true")) {
    instance->SetOnFire(show, table_);
    return;
  }
  ShowIcon(*this, kIcon_Fire, instance, show);
}

void cEntity_BuildingManager::UpdateInstanceFireIcon(BOInstance* instance, bool show) {
  if (PrepareTroubleDisplay(*this, kIcon_Fire, instance, show)) ShowIcon(*this, kIcon_Fire, instance, show);
}

void cEntity_BuildingManager::UpdateInstanceBreakdownIcon(BOInstance* instance, bool show) {
  if (PrepareTroubleDisplay(*this, kIcon_Breakdown, instance, show)) ShowIcon(*this, kIcon_Breakdown, instance, show);
}

void cEntity_BuildingManager::SetMadEmployeeIcon(BOInstance* instance, bool show) {
  if (PrepareTroubleDisplay(*this, kIcon_Discontent, instance, show)) ShowIcon(*this, kIcon_Discontent, instance, show);
}

bool cEntity_BuildingManager::PlayDefaultAnimation(BOInstance* instance, uint8_t* index) {
  C3DModel* model = instance && instance->GetType() ? instance->GetType()->GetModelObject() : nullptr;
  if (!model) return false;
  const int32_t count = model->GetAnimationCount();
  for (int32_t i = 0; i < count; ++i) {
    if (model->GetAnimationName(i) != "default") continue;
    model->PlayAnimation(i, 1.0f, 1.0f, true, false);
    if (index) *index = static_cast<uint8_t>(i);
    return true;
  }
  return false;
}

void cEntity_BuildingManager::AddModelUse(BOInstance* instance, uint8_t index) {
  if (!instance || !instance->GetType()) return;
  modelUseFlag = 1;
  for (ModelUse& use : modelUses) {
    if (use.type && SameType(use.type->GetTypeWord(), instance->word)) {
      ++use.count;
      return;
    }
  }
  modelUses.push_back(ModelUse{instance->GetType(), index, 1});
}

void cEntity_BuildingManager::RemoveModelUse(BOInstance* instance) {
  if (!instance) return;
  for (auto it = modelUses.begin(); it != modelUses.end(); ++it) {
    if (!it->type || !SameType(it->type->GetTypeWord(), instance->word)) continue;
    if (--it->count == 0) modelUses.erase(it);
    return;
  }
}

bool cEntity_BuildingManager::UpdatePlacementTint(int32_t x, int32_t y) {
  BOInstance* object = GetPlacementObject();
  if (!object || !object->GetType()) return false;
  if (x == -1) x = object->x;
  if (y == -1) y = object->y;
  bool valid = x >= 0 && y >= 0 && x <= 0xFFFF && y <= 0xFFFF &&
               CanPlaceAt(object, static_cast<uint16_t>(x), static_cast<uint16_t>(y));
  cEntity_StatManager* stats = table_ ? table_->statManager : nullptr;
  const double cash = stats ? stats->block.cash : 0.0;
  valid = valid && static_cast<double>(object->GetType()->GetBuildCost()) <= cash;
  C3DModel* preview = object->GetType()->GetThumbnailObject();
  if (!preview) return valid;
  const uint16_t parts = preview->GetPartCount();
  for (uint16_t i = 0; i < parts; ++i) {
    auto* material = dynamic_cast<C3DMaterialShader*>(preview->GetShader(i));
    if (!material) continue;
    material->SetLayerBlend(0, false, true);
    if (valid) {
      material->DisableLayer(1);
    } else {
      material->EnableLayer(1);
    }
  }
  return valid;
}
