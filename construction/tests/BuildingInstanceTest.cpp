#include <algorithm>
#include <gtest/gtest.h>

#include <string>

#include "base/ByteReader.h"
#include "construction/BOInstance.h"
#include "construction/BuildingInstances.h"
#include "construction/Facilities.h"
#include "construction/TerminalItem.h"
#include "construction/tests/TestBuildingManager.h"
#include "engine/files/SerializeRecord.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/tests/kit/KitFakes.h"
#include "simulation/tests/kit/KitRecorders.h"

namespace {

using buildtest::TestBuildingManager;

// Particles that keep the emitter values last set.
class EmitterParticles : public simkit::RecordingParticles {
 public:
  using simkit::RecordingParticles::RecordingParticles;
  void SetEmitterParam1(int32_t, float value) override { first = value; }
  void SetEmitterParam2(int32_t, float value) override { second = value; }
  float first = -1.0f;
  float second = -1.0f;
};

TEST(BuildingInstanceTest, ConditionScalesTheExpense) {
  struct Case {
    const char* name;
    uint8_t level;
    int32_t condition;
    float expected;
  };
  const Case cases[] = {
      {"full condition", 3, 30, 100.0f},
      {"half condition", 3, 15, 65.0f},
      {"no condition", 3, 0, 30.0f},
      {"level 0 costs its full expense", 0, 0, 100.0f},
  };
  TestBuildingManager manager(nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cBuilding* type = manager.Define(kClass_Building, std::string("Office ") + c.name, c.level);
    type->SetMonthlyExpense(100.0f);
    std::unique_ptr<BOInstance> instance(type->CreateInstance());
    EXPECT_EQ(instance->condition, c.level * 10);
    instance->SetCondition(c.condition);
    EXPECT_FLOAT_EQ(instance->GetConditionScaledExpense(), c.expected);
  }
}

TEST(BuildingInstanceTest, RoadAccessDecidesWhenABuildingWorks) {
  TestBuildingManager manager(nullptr);
  cBuilding* plain = manager.Define(kClass_Building, "Kiosk", 1);
  cBuilding* roadside = manager.Define(kClass_Building, "Garage", 1);
  roadside->AddAccessPoint(RAStruct{0, 2, 2, 0});
  BOInstance* kiosk = manager.Place(plain, 0, 0);
  BOInstance* garage = manager.Place(roadside, 4, 0);
  EXPECT_TRUE(kiosk->IsFunctional());
  EXPECT_FALSE(garage->IsFunctional());
  garage->AddRoadConnection();
  EXPECT_TRUE(garage->IsFunctional());
  EXPECT_EQ(roadside->GetOperatingInstanceCount(), 1u);
  garage->AddRoadConnection();
  EXPECT_EQ(roadside->GetOperatingInstanceCount(), 1u);
  garage->constructionTimeLeft = 5;
  EXPECT_FALSE(garage->IsFunctional());
}

TEST(BuildingInstanceTest, DecayLowersHealthAndReportsTheLoss) {
  TestBuildingManager manager(nullptr);
  BOInstance* shed = manager.Place(manager.Define(kClass_Building, "Shed", 1), 0, 0);
  shed->ReduceHealth(0.6f);
  EXPECT_FALSE(shed->CheckDecay());
  const auto& broken = manager.statusGroups[cEntity_BuildingManager::kIcon_Breakdown];
  EXPECT_NE(std::find(broken.begin(), broken.end(), shed), broken.end());
  shed->ReduceHealth(0.6f);
  EXPECT_FLOAT_EQ(shed->GetHealth(), 0.0f);
  EXPECT_TRUE(shed->CheckDecay());
  shed->ReduceHealth(0.1f);
  EXPECT_FLOAT_EQ(shed->GetHealth(), 0.0f);
}

TEST(BuildingInstanceTest, AFoughtFireBurnsOutAndGoesOut) {
  EmitterParticles particles(nullptr, kEntityType_Base);
  cKV9_GlobalWrapper table;
  table.particleFactoryManager = &particles;
  TestBuildingManager manager(nullptr);
  manager.SetTable(&table);
  BOInstance* shed = manager.Place(manager.Define(kClass_Building, "Shed", 1), 0, 0);
  shed->SetOnFire(true, &table);
  EXPECT_EQ(shed->onFire, 1);
  EXPECT_FLOAT_EQ(shed->burnLeft, 45.0f);
  shed->UpdateEffects(0, &table);  // not fought: burns on
  EXPECT_FLOAT_EQ(shed->burnLeft, 45.0f);
  shed->SetFireResponse(1);
  for (int i = 0; i < 27; ++i) shed->UpdateEffects(0, &table);
  EXPECT_FLOAT_EQ(shed->burnLeft, 18.0f);
  EXPECT_FLOAT_EQ(particles.first, 0.4f);
  EXPECT_FLOAT_EQ(particles.second, 0.55f);
  ASSERT_EQ(particles.effects.size(), 1u);
  EXPECT_EQ(particles.effects[0].kind, kParticleEffect_Fire);
  for (int i = 0; i < 17; ++i) shed->UpdateEffects(0, &table);
  EXPECT_EQ(shed->onFire, 1);
  shed->UpdateEffects(0, &table);  // the 45th call
  EXPECT_EQ(shed->onFire, 0);
  EXPECT_EQ(shed->fireEffect, -1);
  EXPECT_TRUE(manager.statusGroups[cEntity_BuildingManager::kIcon_Fire].empty());
  table.particleFactoryManager = nullptr;
}

TEST(BuildingInstanceTest, TerminalInteriorFollowsItsSpace) {
  TestBuildingManager manager(nullptr);
  auto* type = manager.Define<cTerminal>(kClass_Terminal, "Terminal", 1);
  type->interiorSpace = 16;
  std::unique_ptr<BOInstance> made(type->CreateInstance());
  auto* terminal = dynamic_cast<TerminalInstance*>(made.get());
  ASSERT_NE(terminal, nullptr);
  int usable = 0;
  for (uint32_t y = 0; y < kInteriorSide; ++y)
    for (uint32_t x = 0; x < kInteriorSide; ++x) usable += terminal->usable[y][x];
  EXPECT_EQ(usable, 16);
  for (uint32_t x = 0; x < 8; ++x) {
    EXPECT_EQ(terminal->usable[0][x], 1) << x;
    EXPECT_EQ(terminal->usable[1][x], 1) << x;
  }
  EXPECT_EQ(terminal->usable[0][8], 0);
  EXPECT_EQ(terminal->usable[2][0], 0);
}

TEST(BuildingInstanceTest, TerminalWorksWithCheckInBaggageAndSecurity) {
  TestBuildingManager manager(nullptr);
  auto* type = manager.Define<cTerminal>(kClass_Terminal, "Terminal", 1);
  type->interiorSpace = 144;
  for (uint8_t kind : {0, 1, 3}) {
    auto* item = new TerminalItem();
    item->name = "item" + std::to_string(kind);
    item->kind = kind;
    item->width = 2;
    item->length = 2;
    manager.terminalObjects[kind].push_back(item);
    type->itemNames.push_back(item->name);
  }
  auto* terminal = dynamic_cast<TerminalInstance*>(manager.Place(type, 0, 0));
  EXPECT_FALSE(terminal->IsFunctional());
  terminal->PlaceDefaultItems(&manager, "01/02/1990");
  ASSERT_EQ(terminal->items.size(), 3u);
  EXPECT_EQ(terminal->items[1].x, 2u);  // the first spot left free
  EXPECT_TRUE(terminal->IsFunctional());
  terminal->RemoveTerminalItemWith(2, 0, nullptr);
  EXPECT_FALSE(terminal->IsFunctional());
  EXPECT_EQ(terminal->occupied[0][2], 0);
}

TEST(BuildingInstanceTest, GatesHoldFlightsAndAReplacedFlightJoinsAgain) {
  TestBuildingManager manager(nullptr);
  auto* type = manager.Define<cTerminal>(kClass_Terminal, "Terminal", 1);
  auto* terminal = dynamic_cast<TerminalInstance*>(manager.Place(type, 0, 0));
  terminal->AddGate(nullptr, 3);
  terminal->AddGate(nullptr, 4);
  cFlightContract* flight = reinterpret_cast<cFlightContract*>(0x1000);
  terminal->AssignFlightToGate(flight, 1, 5);
  EXPECT_EQ(terminal->CountOccupiedGateSlots(), 1u);
  ASSERT_EQ(terminal->flights.size(), 1u);
  terminal->AssignFlightToGate(flight, 9, 0);  // no such gate: nothing
  EXPECT_EQ(terminal->CountOccupiedGateSlots(), 1u);
  terminal->RemoveFlight(flight);
  EXPECT_EQ(terminal->CountOccupiedGateSlots(), 0u);
  EXPECT_TRUE(terminal->flights.empty());
}

TEST(BuildingInstanceTest, CargoStoresWithinSpaceAndTakesByOwnerAndTime) {
  StorageInstance storage;
  storage.ResetCargo(100);
  EXPECT_EQ(storage.StoreCargo("North", 50, 10), 50u);
  EXPECT_EQ(storage.StoreCargo("South", 80, 20), 50u);
  EXPECT_EQ(storage.StoreCargo("South", 5, 30), 0u);
  EXPECT_EQ(storage.StoreCargo("", 5, 30), 0u);
  EXPECT_EQ(storage.GetFreeSpace(), 0);
  EXPECT_EQ(storage.GetStoredCargo("South", 15), 0u);
  EXPECT_EQ(storage.TakeCargo("North", 20, 10), 20u);
  EXPECT_EQ(storage.TakeCargo("North", 100, 10), 30u);
  EXPECT_EQ(storage.TakeCargo("Nobody", 100, 99), 0u);
  EXPECT_EQ(storage.cargo.size(), 1u);
}

TEST(BuildingInstanceTest, CargoRecordCutsLongOwnersAndReadsBack) {
  StorageInstance storage;
  storage.ResetCargo(500);
  const std::string owner(60, 'q');
  storage.StoreCargo(owner, 40, 7);
  storage.StoreCargo("Short", 2, 8);
  SaveRecordWriter out;
  storage.SaveCargo(out);
  // 1, count, (50 + name + amount + time), (5 + ...), capacity
  ASSERT_EQ(out.Size(), 4u + 4 + (4 + 50 + 8) + (4 + 5 + 8) + 4);
  ByteReader in(out.Data(), out.Size());
  size_t bytes = 0;
  ASSERT_TRUE(StorageInstance::CheckCargo(in, &bytes));
  EXPECT_EQ(bytes, out.Size());
  StorageInstance back;
  back.LoadCargo(in);
  ASSERT_EQ(back.cargo.size(), 2u);
  EXPECT_EQ(back.cargo[0].owner, owner.substr(0, 50));
  EXPECT_EQ(back.cargo[1].time, 8u);
  EXPECT_EQ(back.capacity, 500);
}

TEST(BuildingInstanceTest, RunwayOpensOnlyWithARoomyTower) {
  simkit::RecordingWidgets widgets;
  TestBuildingManager manager(nullptr);
  auto* towerType = manager.Define<cOrganizationalFacility>(kClass_Organizational, "control tower", 2);
  towerType->SetCapacity(1);
  auto* runwayType = manager.Define<cRunway>(kClass_Runway, "Strip", 1);
  runwayType->requiredTowerLevel = 2;
  auto* tower = dynamic_cast<OrgInstance*>(manager.Place(towerType, 0, 0));
  tower->UpdateStatus(nullptr);  // joins the control towers: the name matches in any case
  ASSERT_EQ(manager.controlTowers.size(), 1u);
  auto* first = dynamic_cast<RunwayInstance*>(manager.Place(runwayType, 10, 0));
  auto* second = dynamic_cast<RunwayInstance*>(manager.Place(runwayType, 20, 0));
  EXPECT_TRUE(first->OnOpen(nullptr));
  EXPECT_EQ(first->tower, tower);
  EXPECT_FALSE(second->OnOpen(nullptr));
  EXPECT_TRUE(widgets.visibleScenes["scnControlTowerDialog"]);
  tower->Demolish(nullptr);
  EXPECT_EQ(first->tower, nullptr);
  EXPECT_TRUE(manager.controlTowers.empty());
}

TEST(BuildingInstanceTest, AdministrationGivesBackQueuedTypes) {
  AdminInstance admin;
  admin.freePlaces = 0;
  admin.administered = {MakeOid(1, 2, 1, 0, 4), MakeOid(1, 2, 1, 0, 5)};
  EXPECT_TRUE(admin.TakeQueuedType(MakeOid(1, 2, 1, 3, 5)));
  EXPECT_FALSE(admin.TakeQueuedType(MakeOid(1, 2, 1, 0, 5)));
  EXPECT_EQ(admin.freePlaces, 1);
  ASSERT_EQ(admin.administered.size(), 1u);
}

}  // namespace
