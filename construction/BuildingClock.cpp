// The building manager on the game clock: status icons and animations every
// tick, integrity checks and traffic every minute, construction every hour,
// and technology, discontent, decay and repairs every day.
#include <algorithm>
#include <cmath>

#include "base/StringUtil.h"
#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingInstances.h"
#include "construction/BuildingManager.h"
#include "construction/Facilities.h"
#include "construction/GamePlot.h"
#include "engine/math/Noise.h"
#include "engine/services/C3DModel.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/Calendar.h"
#include "simulation/ContractManager.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"
#include "simulation/StatManager.h"

namespace {

bool NamedAirportMaintain(BOInstance* instance) {
  return instance->GetType() && str::EqualsNoCase(instance->GetType()->GetName(), "Airport Maintain");
}

std::string TypeName(BOInstance* instance) {
  return instance->GetType() ? instance->GetType()->GetName() : std::string();
}

}  // namespace

int32_t cEntity_BuildingManager::OnTime(uint32_t, uint32_t, uint32_t eventFlag, float gameDelta) {
  cKV9_GlobalWrapper* table = table_;
  cSimulation_Clock* clock = GameClockOf(table);
  switch (eventFlag) {
    case kTimeEvent_Tick: {
      if (gameDelta == 0.0f) return 0;
      const float scale = clock && clock->speed > 0.0f ? clock->speed : 1.0f;
      const float dt = gameDelta / scale;
      if (modelUseFlag) {
        for (const ModelUse& use : modelUses) {
          if (C3DModel* model = use.type ? use.type->GetModelObject() : nullptr) model->AdvanceAnimation(use.animation, dt);
        }
      }
      timeAccumulator += dt;
      for (uint32_t kind = 0; kind < kStatusGroupCount; ++kind)
        for (BOInstance* instance : statusGroups[kind]) BuildIconMatrix(instance, timeAccumulator);
      RecheckRunways();
      if (GetPlacementObject()) UpdatePlacementTint(-1, -1);
      return 0;
    }
    case kTimeEvent_Minute: {
      const uint8_t hour = clock ? calendar::HourOfDay(clock->hour) : 12;
      const uint8_t minute = clock ? clock->minute : 0;
      for (std::vector<BOInstance*>* list : {&statusGroups[kIcon_Construction], &placed}) {
        for (size_t i = 0; i < list->size();) {
          BOInstance* instance = (*list)[i];
          instance->UpdateEffects(minute, table);
          if (!instance->CheckDecay()) {
            ++i;
            continue;
          }
          UpdateInstanceParticles(instance, false);
          PostNotice(table, FormatText("Your %s has been destroyed by decay.", TypeName(instance).c_str()),
                     "Building destroyed");
          if (clock) clock->SetSpeed(1);
          RemoveInstance(instance);
          if (table && table->gamePlot) table->gamePlot->UpdateMiniMap();
        }
      }
      if (hour >= 5 && hour <= 21) {
        for (size_t i = 0; i < placed.size(); ++i) placed[i]->UpdateAmbientTraffic(hour, minute, table);
      }
      return 0;
    }
    case kTimeEvent_Hour:
      AdvanceConstruction();
      return 0;
    case kTimeEvent_Day: {
      bool announced = false;
      for (uint8_t level = 0; level < kTechnologyFlagCount; ++level) {
        TypeWordGroup& group = typeWordGroups[level];
        if (technologyFlags[level] || !group.state) continue;
        if (group.number > 0) --group.number;
        if (group.number == 0) {
          AnnounceTechLevel(level);
          announced = true;
        }
      }
      if (announced) RefreshBuildMenu();
      for (BOInstance* instance : placed) {
        if (instance->condition >= static_cast<int32_t>(OidLevel(instance->word)) * 5) continue;
        if (instance->lowConditionDays < 30) ++instance->lowConditionDays;
        if (instance->lowConditionDays == 30) {
          instance->lowConditionDays = 31;
          instance->discontent = 1;
          SetMadEmployeeIcon(instance, true);
        }
      }
      ApplyDailyDecay();
      ApplyDailyRepairs();
      return 0;
    }
    default:
      return 0;
  }
}

void cEntity_BuildingManager::AdvanceConstruction() {
  std::vector<BOInstance*>& building = statusGroups[kIcon_Construction];
  for (size_t i = 0; i < building.size();) {
    BOInstance* instance = building[i];
    if (instance->constructionTimeLeft > 0) --instance->constructionTimeLeft;
    if (instance->constructionTimeLeft != 0) {
      ++i;
      continue;
    }
    if (statusModels[kIcon_Construction]) statusModels[kIcon_Construction]->RemoveInstance(&instance->iconMatrix);
    building.erase(building.begin() + static_cast<std::ptrdiff_t>(i));
    instance->UpdateStatus(table_);
    placed.push_back(instance);
  }
}

void cEntity_BuildingManager::ApplyDailyDecay() {
  cKV9_GlobalWrapper* table = table_;
  const float rate = decayFactor * baseRateOfDecay;
  decayCounter = 0;
  for (size_t i = 0; i < placed.size();) {
    BOInstance* instance = placed[i];
    const uint8_t classCode = OidClass(instance->word);
    if (classCode == kClass_Amenity || classCode == kClass_Terminal || classCode == kClass_Runway ||
        NamedAirportMaintain(instance)) {
      ++i;
      continue;
    }
    instance->ReduceHealth(rate);
    ++decayCounter;
    if (instance->health < 0.5f) {
      const float threshold = (1.0f - instance->health) * 25.0f;
      if (Noise_RandomFloatInRange(0.0f, 500.0f) < threshold) UpdateInstanceParticles(instance, true);
    }
    if (instance->health > 0.0f) {
      ++i;
      continue;
    }
    PostNotice(table, FormatText("Your %s has decayed into ruin and been destroyed.", TypeName(instance).c_str()),
               "Building destroyed");
    if (cSimulation_Clock* clock = GameClockOf(table)) clock->SetSpeed(1);
    RemoveInstance(instance);
  }
}

void cEntity_BuildingManager::ApplyDailyRepairs() {
  // With nothing decayed there is nothing to share the capacity among; the
  // division would give an infinite or undefined share.
  if (decayCounter == 0) return;
  float capacity = 0.0f;
  for (ServiceInstance* service : maintenanceServices) {
    auto* type = dynamic_cast<cServiceFacility*>(service->GetType());
    if (type && service->IsFunctional()) capacity += type->repairCapability;
  }
  const float share = capacity / static_cast<float>(decayCounter);
  if (!std::isfinite(share)) return;
  cEntity_StatManager* stats = table_ ? table_->statManager : nullptr;
  for (size_t i = 0; i < placed.size(); ++i) {
    BOInstance* instance = placed[i];
    if (!instance->IsFunctional() || instance->health >= 1.0f) continue;
    const float cost = instance->GetType() ? instance->GetType()->GetBuildCost() : 0.0f;
    // A type that costs nothing is repaired in full by any positive share.
    const float gain = cost != 0.0f ? share / cost : (share > 0.0f ? 1.0f : 0.0f);
    if (std::isfinite(gain)) instance->health = std::min(1.0f, instance->health + gain);
    if (stats) {
      stats->block.upkeepPaid += share;
      stats->block.cash -= share;
      if (-share > 0.0f) {
        stats->block.income += -share;
      } else {
        stats->block.expenses += share;
      }
    }
    if (instance->health > 0.5f) UpdateInstanceParticles(instance, false);
  }
}

void cEntity_BuildingManager::RecheckRunways() {
  for (RunwayInstance* runway : runways) runway->RefreshFunctional();
}

void cEntity_BuildingManager::NotifyTypeAvailable(OID word, bool available) {
  // Every one of the sixteen levels: the definitions may require types for
  // any of them, and the day step counts all sixteen down.
  for (TypeWordGroup& group : typeWordGroups) {
    std::vector<OID>& source = available ? group.listA : group.listB;
    std::vector<OID>& destination = available ? group.listB : group.listA;
    if (source.empty() && destination.empty()) continue;
    bool moved = false;
    for (size_t i = 0; i < source.size();) {
      if (SameType(source[i], word)) {
        destination.push_back(source[i]);
        source.erase(source.begin() + static_cast<std::ptrdiff_t>(i));
        moved = true;
      } else {
        ++i;
      }
    }
    if (!moved) continue;
    if (available && group.listA.empty()) group.state = 1;
    if (!available && !group.listA.empty()) group.state = 0;
  }
}
