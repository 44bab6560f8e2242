// Earthquake and tornado damage to placed buildings. Terminals and runways
// are exempt: a disaster leaves them intact.
#include <cmath>

#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "engine/math/JVector.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"

namespace {

bool Exempt(BOInstance* instance) {
  const uint8_t classCode = OidClass(instance->word);
  return classCode == kClass_Terminal || classCode == kClass_Runway;
}

std::string TypeName(BOInstance* instance) {
  return instance->GetType() ? instance->GetType()->GetName() : std::string();
}

}  // namespace

void cEntity_BuildingManager::ApplyEarthquakeDamage(int32_t magnitude) {
  cKV9_GlobalWrapper* table = table_;
  uint32_t total = 0;
  for (uint8_t c = 0; c < kBuildingClassCount; ++c)
    for (uint16_t id = 0; id < GetTypeIdCount(c); ++id)
      for (uint8_t level = 0; level < kBuildingLevelCount; ++level)
        if (cBuildableObject* type = GetBuildingType(c, id, level)) total += type->GetInstanceCount();
  if (total == 0) return;
  const float damage = static_cast<float>(magnitude) * 0.01f;
  for (uint8_t c = 0; c < kBuildingClassCount; ++c) {
    for (uint16_t id = 0; id < GetTypeIdCount(c); ++id) {
      for (uint8_t level = 0; level < kBuildingLevelCount; ++level) {
        cBuildableObject* type = GetBuildingType(c, id, level);
        if (!type) continue;
        for (size_t i = 0; i < type->PlacedInstances().size();) {
          BOInstance* instance = type->PlacedInstances()[i];
          if (Exempt(instance)) {
            instance->health = 1.0f;
          } else {
            instance->health -= damage;
          }
          if (instance->health < 0.5f) {
            const float threshold = (1.0f - instance->health) * 25.0f;
            if (Noise_RandomFloatInRange(0.0f, 50.0f) < threshold) UpdateInstanceParticles(instance, true);
          }
          if (instance->health > 0.0f) {
            ++i;
            continue;
          }
          UpdateInstanceParticles(instance, false);
          PostNotice(table, FormatText("An eartquake destroyed your %s.", TypeName(instance).c_str()),
                     "Building destroyed");
          if (cSimulation_Clock* clock = GameClockOf(table)) clock->SetSpeed(1);
          // Removal takes it out of the type's list: the next building moves
          // into place i.
          RemoveInstance(instance);
          if (table && table->gamePlot) table->gamePlot->UpdateMiniMap();
        }
      }
    }
  }
}

void cEntity_BuildingManager::ApplyTornadoDamage(const JVector& position) {
  cKV9_GlobalWrapper* table = table_;
  cEntity_GamePlot* plot = table ? table->gamePlot : nullptr;
  if (!plot) return;
  const float cell = plot->GetCellSize();
  if (!(cell > 0.0f)) return;
  // Floor, not truncation: a funnel just off the low edges would otherwise
  // land on cell 0 and hit the building standing there.
  const float fx = std::floor((plot->GetWorldSizeX() * 0.5f + position.x) / cell);
  const float fy = std::floor((plot->GetWorldSizeZ() * 0.5f + position.z) / cell);
  if (!(fx >= 0.0f && fy >= 0.0f && fx < 65536.0f && fy < 65536.0f)) return;
  BOInstance* instance = GetInstanceAt(static_cast<int32_t>(fx), static_cast<int32_t>(fy));
  if (!instance) return;
  const float damage = Noise_RandomFloatInRange(2.0f, 8.0f);
  const float left = instance->health - damage;
  if (Exempt(instance) || left > 0.0f) {
    instance->health = Exempt(instance) ? 1.0f : left;
    PostNotice(table, FormatText("Your %s has been damaged by the tornado!", TypeName(instance).c_str()),
               "Tornado damage!");
    return;
  }
  instance->health = 0.0f;
  UpdateInstanceParticles(instance, false);
  PostNotice(table, FormatText("A tornado destroyed your %s.", TypeName(instance).c_str()), "Building destroyed");
  if (cSimulation_Clock* clock = GameClockOf(table)) clock->SetSpeed(1);
  RemoveInstance(instance);
  plot->UpdateMiniMap();
}
