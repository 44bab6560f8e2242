#include "construction/BOInstance.h"

#include <cmath>
#include <cstdio>

#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "construction/PathFinder.h"
#include "construction/TaxiwayAccessNodes.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "scene/AudioManager.h"
#include "scene/ParticleFactoryManager.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"
#include "simulation/SlowDown.h"

namespace {

cPathFinder* PathFinderOf(cEntity_BuildingManager* manager) {
  cKV9_GlobalWrapper* table = manager ? manager->Table() : nullptr;
  return table ? table->pathFinder : nullptr;
}

// One cell out of the building from a road access point, by its direction.
void StepOut(const RoadAccessCell& cell, uint16_t* x, uint16_t* y) {
  static constexpr int kStepX[4] = {0, 1, 0, -1};
  static constexpr int kStepY[4] = {-1, 0, 1, 0};
  *x = static_cast<uint16_t>(cell.x + kStepX[cell.direction & 3]);
  *y = static_cast<uint16_t>(cell.y + kStepY[cell.direction & 3]);
}

}  // namespace

bool BOInstance::AddTaxiwayAccessNodes(cEntity_BuildingManager* manager) {
  std::vector<TaxiwayAccessCell> cells;
  GetTaxiwayAccessCells(cells);
  cPathFinder* finder = PathFinderOf(manager);
  if (!finder) return !cells.empty();
  return ::AddTaxiwayAccessNodes(*finder, cells);
}

void BOInstance::RemoveTaxiwayAccessNodes(cEntity_BuildingManager* manager) {
  std::vector<TaxiwayAccessCell> cells;
  GetTaxiwayAccessCells(cells);
  if (cPathFinder* finder = PathFinderOf(manager)) ::RemoveTaxiwayAccessNodes(*finder, cells);
}

cEntity_BuildingManager* BOInstance::Manager() const { return type_ ? type_->GetOwner() : nullptr; }

void BOInstance::Init() {
  if (!type_) return;
  word = type_->GetTypeWord();
  condition = OidLevel(word) * 10;
  functional = 0;
}

void BOInstance::CallTypeFootprintCells(FootprintRecord* out) {
  if (type_) type_->GetFootprintCells(this, out);
}

void BOInstance::CallTypeFootprintArray(uint8_t* count, FootprintRect** rects) {
  if (type_) type_->GetFootprintCellArray(this, count, rects);
}

bool BOInstance::IsFunctional() {
  if (constructionTimeLeft != 0) return false;
  if (!type_) return true;
  if (type_->requiresTaxiway && taxiwayConnections == 0) return false;
  return !type_->HasRoadAccess() || roadConnections != 0;
}

bool BOInstance::OnOpen(cKV9_GlobalWrapper*) { return true; }

void BOInstance::RefreshFunctional() {
  const uint8_t now = IsFunctional() ? 1 : 0;
  if (now == functional) return;
  functional = now;
  if (!type_) return;
  if (now) {
    type_->AddOperatingInstance(this);
  } else {
    type_->RemoveOperatingInstance(this);
  }
}

void BOInstance::UpdateStatus(cKV9_GlobalWrapper* table) {
  RefreshFunctional();
  if (cSimulation_Clock* clock = GameClockOf(table)) {
    char text[48];
    std::snprintf(text, sizeof text, "%02d/%02d/%d", clock->month, clock->day, clock->year);
    date = text;
  }
}

void BOInstance::EffectPoint(cKV9_GlobalWrapper* table, float* px, float* pz) {
  const int32_t cx = type_ ? type_->GetCentreX() : 0;
  const int32_t cy = type_ ? type_->GetCentreY() : 0;
  int32_t tx = cx, ty = cy;
  switch (rotation) {
    case 1: tx = cy; ty = -cx; break;
    case 2: tx = -cx; ty = -cy; break;
    case 3: tx = -cy; ty = cx; break;
    default: break;
  }
  const float cell = table && table->gamePlot ? table->gamePlot->GetCellSize() : 0.4f;
  *px = world.m[3][0] + static_cast<float>(tx) * cell;
  *pz = world.m[3][2] + static_cast<float>(ty) * cell;
}

int32_t BOInstance::StartEffect(cKV9_GlobalWrapper* table, int32_t kind) {
  if (!table || !table->particleFactoryManager) return -1;
  float px = 0, pz = 0;
  EffectPoint(table, &px, &pz);
  return table->particleFactoryManager->StartEffect(kind, JVector(px, world.m[3][1], pz), JVector(0.0f, 1.0f, 0.0f));
}

void BOInstance::Demolish(cKV9_GlobalWrapper* table) {
  if (!table) return;
  StartEffect(table, kParticleEffect_Demolition);
  if (table->audioManager) table->audioManager->PlaySound("Home\\Sounds\\INT_demolish.wav", false, 0);
}

void BOInstance::UpdateAmbientTraffic(uint8_t hour, uint32_t, cKV9_GlobalWrapper* table) {
  cEntity_BuildingManager* manager = Manager();
  if (!manager || !type_) return;
  auto* building = dynamic_cast<cBuilding*>(type_);
  const int32_t n = building ? building->ambient.count : 0;
  auto send = [&](bool leaving) {
    std::vector<RoadAccessCell> cells;
    for (int32_t i = 0; i < n; ++i) {
      cells.clear();
      manager->GetRoadAccessCells(this, cells);
      if (cells.empty()) break;
      const RoadAccessCell& cell =
          cells[static_cast<size_t>(Noise_RandomIntInRange(0, static_cast<int32_t>(cells.size()) - 1))];
      uint16_t sx = 0, sy = 0;
      StepOut(cell, &sx, &sy);
      const auto& hook = leaving ? manager->hooks.spawnLeavingVehicle : manager->hooks.spawnVehicle;
      if (hook) hook(sx, sy, this);
    }
  };
  if (trafficOut && hour >= 17) {
    trafficOut = 0;
    send(true);
  } else if (!trafficOut && hour >= 9 && hour <= 11) {
    trafficOut = 1;
    send(false);
    if (Noise_RandomFloatInRange(0.0f, 1.0f) < 0.2f) {
      BOInstance* other = nullptr;
      std::vector<BOInstance*> destinations;
      for (BOInstance* candidate : manager->placed) {
        auto* t = dynamic_cast<cBuilding*>(candidate->GetType());
        if (t && (t->ambient.flags & 0x800)) destinations.push_back(candidate);
      }
      if (!destinations.empty())
        other = destinations[static_cast<size_t>(
            Noise_RandomIntInRange(0, static_cast<int32_t>(destinations.size()) - 1))];
      if (other && manager->hooks.sendVehicleBetween) manager->hooks.sendVehicleBetween(other, this, 0x800);
    }
  }
  (void)table;
}

void BOInstance::SetOnFire(bool on, cKV9_GlobalWrapper* table) {
  if ((onFire != 0) == on) return;
  fireFought = 0;
  if (!on) {
    onFire = 0;
    if (fireEffect >= 0 && table && table->particleFactoryManager)
      table->particleFactoryManager->ReleaseEffect(fireEffect);
    fireEffect = -1;
    return;
  }
  onFire = 1;
  burnLeft = 45.0f;
  burnTotal = 45.0f;
  if (!table) return;
  SlowDownFor(table, Happening::Emergency);
  fireEffect = StartEffect(table, kParticleEffect_Fire);
  cEntity_BuildingManager* manager = Manager();
  if (!manager) return;
  // Responders are drawn among the other buildings: a burning responder
  // cannot send its own vehicle.
  std::vector<BOInstance*> responders, targets;
  for (BOInstance* candidate : manager->placed) {
    auto* t = dynamic_cast<cBuilding*>(candidate->GetType());
    if (candidate != this && t && (t->ambient.flags & 0x200)) responders.push_back(candidate);
  }
  if (responders.empty()) return;
  BOInstance* responder =
      responders[static_cast<size_t>(Noise_RandomIntInRange(0, static_cast<int32_t>(responders.size()) - 1))];
  if (manager->hooks.sendVehicleBetween) manager->hooks.sendVehicleBetween(responder, this, 0x200);
}

void BOInstance::UpdateEffects(uint32_t, cKV9_GlobalWrapper* table) {
  if (!onFire || !fireFought) return;
  burnLeft -= 1.0f;
  if (burnLeft <= 0.0f) {
    // A fought-out fire is over: flag and effect go with the icon.
    if (cEntity_BuildingManager* manager = Manager()) manager->UpdateInstanceParticles(this, false);
    SetOnFire(false, table);
    return;
  }
  const float r = burnTotal > 0.0f ? burnLeft / burnTotal : 0.0f;
  if (fireEffect >= 0 && table && table->particleFactoryManager) {
    table->particleFactoryManager->SetEmitterParam1(fireEffect, r);
    table->particleFactoryManager->SetEmitterParam2(fireEffect, r * 0.75f + 0.25f);
  }
}

// The counters hold at 255 rather than wrap to 0, which would read as no
// connection at all.
void BOInstance::AddRoadConnection() {
  if (roadConnections == 0xFF) return;
  ++roadConnections;
  if (roadConnections == 1) RefreshFunctional();
}

void BOInstance::AddTaxiwayConnection() {
  if (taxiwayConnections == 0xFF) return;
  ++taxiwayConnections;
  if (taxiwayConnections == 1) RefreshFunctional();
}

void BOInstance::RemoveTaxiwayConnection() {
  if (taxiwayConnections == 0) return;
  --taxiwayConnections;
  if (taxiwayConnections == 0) RefreshFunctional();
}

void BOInstance::GetTaxiwayAccessCells(std::vector<TaxiwayAccessCell>& out) {
  out.clear();
  const std::vector<TAStruct>* points = type_ ? type_->GetTaxiwayAccessPoints() : nullptr;
  if (!points) return;
  for (const TAStruct& point : *points) {
    const FootprintRect turned = RotateRect(FootprintRect{point.x, point.y, point.w, point.l}, rotation);
    TaxiwayAccessCell cell;
    cell.x = static_cast<uint16_t>(turned.x + x);
    cell.y = static_cast<uint16_t>(turned.y + y);
    cell.width = turned.w;
    cell.length = turned.l;
    out.push_back(cell);
  }
}

void BOInstance::SetCondition(int32_t value) {
  if (value > 0) {
    if (cEntity_BuildingManager* manager = Manager()) manager->SetMadEmployeeIcon(this, false);
    lowConditionDays = 0;
    discontent = 0;
  }
  condition = value;
}

float BOInstance::GetConditionScaledExpense() {
  const float expense = type_ ? type_->GetMonthlyExpense() : 0.0f;
  const uint8_t full = static_cast<uint8_t>(OidLevel(word) * 10);
  // Level 0 has no condition scale: it always costs its full expense.
  if (full == 0 || condition == full) return expense;
  return expense * 0.3f + expense * (static_cast<float>(condition) / static_cast<float>(full)) * 0.7f;
}

void BOInstance::ReduceHealth(float amount) {
  if (health == 0.0f) return;
  health -= amount;
  if (health < 0.0f) health = 0.0f;
}

bool BOInstance::CheckDecay() {
  if (health <= 0.0f) return true;
  const bool working = IsFunctional();
  if (health <= 0.5f || !working) {
    iconFlags[1] = 1;
  } else {
    iconFlags[1] = 0;
  }
  // Shown or hidden on every check: a building that was under construction
  // at its first check gets its icon once it is finished.
  if (cEntity_BuildingManager* manager = Manager()) manager->UpdateInstanceBreakdownIcon(this, iconFlags[1] != 0);
  return false;
}
