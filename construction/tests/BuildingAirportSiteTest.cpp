// The airport site over the real building manager: every answer comes from
// the manager's lists and the instances' own state, and every change lands
// on the instance.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "construction/tests/AirportSiteWorld.h"
#include "simulation/FlightContract.h"

namespace sitetest {
namespace {

// Flights without airline or airplane: only their place fields are read.
std::vector<std::unique_ptr<cFlightContract>> MakeFlights(uint32_t n) {
  std::vector<std::unique_ptr<cFlightContract>> flights;
  for (uint32_t i = 0; i < n; ++i) flights.push_back(std::make_unique<cFlightContract>(nullptr, nullptr, i + 1));
  return flights;
}

class BuildingAirportSiteTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(w.ok); }
  AirportSiteWorld w;
};

TEST_F(BuildingAirportSiteTest, ListsAreTheManagersFinishedBuildings) {
  EXPECT_EQ(w.site.Runways(), std::vector<BOInstance*>{w.runway});
  EXPECT_EQ(w.site.AdminBuildings(), std::vector<BOInstance*>{w.admin});
  EXPECT_EQ(w.site.ParkingFacilities(), std::vector<BOInstance*>{w.parking});

  // A lot still under construction is not one of the facilities yet.
  w.parkingType->SetBuildTime(2);
  BOInstance* building = w.buildings.Build(w.parkingType, 48, 50);
  ASSERT_NE(building, nullptr);
  EXPECT_EQ(w.site.ParkingFacilities(), std::vector<BOInstance*>{w.parking});
  w.buildings.FinishConstruction();
  EXPECT_EQ(w.site.ParkingFacilities(), (std::vector<BOInstance*>{w.parking, building}));

  // A list the caller walks is not rewritten by a question that finds it
  // unchanged; a changed manager list is followed.
  const std::vector<BOInstance*>& runways = w.site.Runways();
  const BOInstance* const* first = runways.data();
  w.site.Runways();
  EXPECT_EQ(w.site.Runways().data(), first);
  w.m().runways.clear();
  EXPECT_TRUE(w.site.Runways().empty());
}

TEST_F(BuildingAirportSiteTest, AnyBuildingAnswersItsWordPlaceRotationAndTrafficData) {
  EXPECT_EQ(w.site.IdentityWord(w.terminal), w.terminal->word);
  EXPECT_EQ(OidSerial(w.site.IdentityWord(w.storage)), OidSerial(w.storage->word));
  uint16_t x = 0, y = 0;
  w.site.AnchorCell(w.parking, &x, &y);
  EXPECT_EQ(x, 44);
  EXPECT_EQ(y, 50);
  w.parking->rotation = 3;
  EXPECT_EQ(w.site.BuildingRotation(w.parking), 3);

  struct Case {
    const char* name;
    uint32_t index;
    float value;
  } cases[] = {
      {"vehicles a day", 0, 3.0f}, {"drop-off places", 1, 10.0f}, {"parking spaces", 2, 20.0f},
      {"flag", 3, 1.0f},           {"float value", 4, 1.5f},      {"kind flags", 5, 136.0f},
      {"past the data", 6, 0.0f},
  };
  for (const Case& c : cases) EXPECT_EQ(w.site.AmbientNumber(w.parking, c.index), c.value) << c.name;
  EXPECT_EQ(w.site.ServiceKinds(w.parking), 0x88u);
  EXPECT_EQ(w.site.ServiceKinds(w.depot), 0xD8u);
  EXPECT_EQ(w.site.ServiceKinds(w.storage), 0x20u);
}

TEST_F(BuildingAirportSiteTest, RunwayAnswersFromItsInstanceAndItsLinks) {
  EXPECT_EQ(w.site.RunwayLength(w.runway), 3000.0f);
  ASSERT_NE(w.site.RunwayNode(w.runway), nullptr);
  EXPECT_EQ(w.site.RunwayNode(w.runway), w.Finder().GetNodeAt(5, 22)) << "the centre of the first access area";
  EXPECT_EQ(w.site.LinkedTerminals(w.runway), std::vector<BOInstance*>{w.terminal});

  Route* route = w.site.GateRoute(w.runway, w.terminal, 0);
  ASSERT_NE(route, nullptr);
  EXPECT_TRUE(route->status && route->secondStatus) << "the apron joins the runway to the gate";
  EXPECT_EQ(route->route.back(), w.site.GateNode(w.terminal, 0));
  EXPECT_EQ(w.site.GateRoute(w.runway, w.terminal, 1), nullptr) << "the terminal has one gate";
  EXPECT_EQ(w.site.GateRoute(w.runway, w.storage, 0), nullptr) << "no link to a storage";

  // Enabled byte and landing lock are the instance's own.
  EXPECT_TRUE(w.site.RunwayEnabled(w.runway));
  w.runway->enabled = 0;
  EXPECT_FALSE(w.site.RunwayEnabled(w.runway));
  ASSERT_EQ(w.site.RunwayLandingLock(w.runway), &w.runway->landingLock);
  *w.site.RunwayLandingLock(w.runway) = 1;
  EXPECT_EQ(w.runway->landingLock, 1);

  // The start is the anchor; the offset reaches the centre line of the
  // three cells wide strip.
  int16_t sx = 0, sy = 0, ox = 0, oy = 0;
  w.site.RunwayStart(w.runway, &sx, &sy);
  w.site.RunwayTypeOffset(w.runway, &ox, &oy);
  EXPECT_EQ(sx, 4);
  EXPECT_EQ(sy, 2);
  EXPECT_EQ(ox, 1);
  EXPECT_EQ(oy, 0);
  EXPECT_EQ(w.Finder().GetNodeAt(sx + ox, sy + oy), w.Finder().GetNodeAt(5, 2));
  EXPECT_NE(w.Finder().GetNodeAt(sx + ox, sy + oy), nullptr);
}

TEST_F(BuildingAirportSiteTest, GateSlotsFillAtRandomAndRecordTheirPlace) {
  ASSERT_EQ(w.site.GateCount(w.terminal), 1u);
  EXPECT_EQ(w.site.GateNode(w.terminal, 0), w.Finder().GetNodeAt(AirportSiteWorld::kGateX, AirportSiteWorld::kGateY));
  EXPECT_EQ(w.site.GateNode(w.terminal, 1), nullptr);
  w.terminal->gateBytes[0] = 17;
  EXPECT_EQ(w.site.GateHour(w.terminal, 0), 17);
  EXPECT_EQ(w.site.GateHour(w.terminal, 5), 0);

  const auto flights = MakeFlights(9);
  std::set<uint8_t> slots;
  for (uint32_t i = 0; i < 8; ++i) {
    ASSERT_TRUE(w.site.AssignFlightToFreeSlot(w.terminal, 0, flights[i].get())) << "flight " << i;
    EXPECT_EQ(flights[i]->buildingWord, w.terminal->word);
    EXPECT_EQ(flights[i]->slotKeys[0], 0);
    slots.insert(flights[i]->slotKeys[1]);
    EXPECT_EQ(w.terminal->banks[0]->slots[flights[i]->slotKeys[1]], flights[i].get());
  }
  EXPECT_EQ(slots.size(), 8u) << "each flight its own slot";
  EXPECT_FALSE(w.site.AssignFlightToFreeSlot(w.terminal, 0, flights[8].get())) << "all eight taken";
  EXPECT_FALSE(w.site.AssignFlightToFreeSlot(w.terminal, 1, flights[8].get())) << "no such gate";
  EXPECT_FALSE(w.site.AssignFlightToFreeSlot(w.terminal, 256, flights[8].get())) << "a gate number past a byte";

  std::vector<cFlightContract*> out{flights[8].get()};
  w.site.CollectGateFlights(w.terminal, out);
  EXPECT_EQ(out.size(), 8u) << "the list is replaced, not appended to";
  EXPECT_EQ(std::set<cFlightContract*>(out.begin(), out.end()).count(flights[8].get()), 0u);
  w.terminal->RemoveFlight(flights[3].get());
  w.site.CollectGateFlights(w.terminal, out);
  EXPECT_EQ(out.size(), 7u);
}

TEST_F(BuildingAirportSiteTest, DropoffPlacesAreTakenAndGivenBack) {
  EXPECT_EQ(w.site.DropoffNode(w.storage), w.Finder().GetNodeAt(10, 21));
  EXPECT_NE(w.site.DropoffNode(w.storage), nullptr);
  EXPECT_EQ(w.site.DropoffNode(w.cold), nullptr) << "a storage without drop-off places";

  const auto flights = MakeFlights(3);
  cFlightContract &a = *flights[0], &b = *flights[1], &c = *flights[2];
  ASSERT_TRUE(w.site.AssignDropoff(w.storage, &a));
  ASSERT_TRUE(w.site.AssignDropoff(w.storage, &b));
  EXPECT_FALSE(w.site.AssignDropoff(w.storage, &c));
  EXPECT_FALSE(w.site.AssignDropoff(w.cold, &c));
  EXPECT_EQ(a.buildingWord, w.storage->word);
  // The place is the second key: it numbers the cargo bank the flight joins.
  EXPECT_EQ(std::set<uint8_t>({a.slotKeys[1], b.slotKeys[1]}), (std::set<uint8_t>{0, 1}));
  EXPECT_EQ(a.slotKeys[0], 0);
  EXPECT_EQ(w.storage->dropoffFlags, (std::vector<uint8_t>{1, 1}));

  w.site.ReleaseDropoff(w.storage, a.slotKeys[1]);
  w.site.ReleaseDropoff(w.storage, 7);  // past the places: nothing
  EXPECT_EQ(w.storage->dropoffFlags[a.slotKeys[1]], 0);
  ASSERT_TRUE(w.site.AssignDropoff(w.storage, &c));
  EXPECT_EQ(c.slotKeys[1], a.slotKeys[1]);
}

TEST_F(BuildingAirportSiteTest, CargoIsKeptByOwnerUntilItsPickUpTime) {
  // Capacity 100: "North" stores 60 due at 1000, "South" the 40 left of 70
  // due at 500.
  ASSERT_EQ(w.site.StoreCargo(w.storage, "North", 60, 1000), 60u);
  ASSERT_EQ(w.site.StoreCargo(w.storage, "South", 70, 500), 40u);
  EXPECT_EQ(w.site.StorageFreeSpace(w.storage), 0);
  EXPECT_EQ(w.site.StoreCargo(w.storage, "North", 5, 0), 0u) << "full";

  struct Case {
    const char* name;
    std::string owner;
    uint32_t now;
    uint32_t due;
  } due[] = {
      {"before its time", "North", 999, 0},
      {"at its time", "North", 1000, 60},
      {"another owner's", "South", 600, 40},
      {"the name compared exactly", "north", 5000, 0},
      {"nobody's", "", 5000, 0},
  };
  for (const Case& c : due) EXPECT_EQ(w.site.StoredCargo(w.storage, c.now, c.owner), c.due) << c.name;

  EXPECT_EQ(w.site.TakeCargo(w.storage, "North", 100, 999), 0u) << "not due yet";
  EXPECT_EQ(w.site.TakeCargo(w.storage, "North", 25, 1000), 25u);
  EXPECT_EQ(w.site.StoredCargo(w.storage, 1000, "North"), 35u);
  EXPECT_EQ(w.site.StorageFreeSpace(w.storage), 25);
  EXPECT_EQ(w.storage->GetFreeSpace(), 25) << "kept by the storage itself";

  w.storage->owner = reinterpret_cast<cContract*>(&w);  // any contract: only its identity is read
  EXPECT_EQ(w.site.OwnerContract(w.storage), w.storage->owner);
  EXPECT_EQ(w.site.OwnerContract(w.cold), nullptr);
  EXPECT_FALSE(w.site.ProvidesColdStorage(w.storage));
  EXPECT_TRUE(w.site.ProvidesColdStorage(w.cold));
}

TEST_F(BuildingAirportSiteTest, AdministrationPlacesAreTheBuildingsOwn) {
  EXPECT_EQ(w.site.FreeAdminPlaces(w.admin), 3) << "the type's capacity";
  const OID first = w.storage->word, second = w.runway->word;
  w.site.AddAdministered(w.admin, first);
  w.site.AddAdministered(w.admin, second);
  EXPECT_EQ(w.site.FreeAdminPlaces(w.admin), 1);
  EXPECT_EQ(w.admin->administered, (std::vector<OID>{first, second}));
  // The same building in another build-menu category still counts; another
  // serial does not.
  EXPECT_FALSE(w.site.TakeQueuedType(w.admin, OidWithSerial(first, OidSerial(first) + 1)));
  EXPECT_TRUE(w.site.TakeQueuedType(w.admin, OidWithCategory(first, 5)));
  EXPECT_EQ(w.site.FreeAdminPlaces(w.admin), 2);
  EXPECT_EQ(w.admin->administered, std::vector<OID>{second});
}

TEST_F(BuildingAirportSiteTest, ABuildingOfAnotherKindGetsTheEmptyAnswerAndIsNotChanged) {
  const auto flights = MakeFlights(1);
  cFlightContract& flight = *flights[0];
  struct Case {
    const char* name;
    std::function<bool()> empty;
  } cases[] = {
      {"runway length of a terminal", [&] { return w.site.RunwayLength(w.terminal) == 0.0f; }},
      {"runway node of a storage", [&] { return w.site.RunwayNode(w.storage) == nullptr; }},
      {"links of a terminal", [&] { return w.site.LinkedTerminals(w.terminal).empty(); }},
      {"lock of a terminal", [&] { return w.site.RunwayLandingLock(w.terminal) == nullptr; }},
      {"enabled of a storage", [&] { return !w.site.RunwayEnabled(w.storage); }},
      {"gates of a runway", [&] { return w.site.GateCount(w.runway) == 0; }},
      {"gate node of a storage", [&] { return w.site.GateNode(w.storage, 0) == nullptr; }},
      {"slot at a runway", [&] { return !w.site.AssignFlightToFreeSlot(w.runway, 0, &flight); }},
      {"drop-off at a terminal", [&] { return !w.site.AssignDropoff(w.terminal, &flight); }},
      {"cargo into a runway", [&] { return w.site.StoreCargo(w.runway, "North", 5, 0) == 0; }},
      {"free space of an admin", [&] { return w.site.StorageFreeSpace(w.admin) == 0; }},
      {"places of a storage", [&] { return w.site.FreeAdminPlaces(w.storage) == 0; }},
      {"queued at a terminal", [&] { return !w.site.TakeQueuedType(w.terminal, w.storage->word); }},
      {"traffic data of a road", [&] {
         BOInstance* road = w.m().Place(w.m().GetBuildingType(kClass_Road, 0, 1), 60, 60);
         return w.site.AmbientNumber(road, 0) == 0.0f && w.site.ServiceKinds(road) == 0;
       }},
      {"nothing at all", [&] { return w.site.IdentityWord(nullptr) == 0 && w.site.GateCount(nullptr) == 0; }},
  };
  for (const Case& c : cases) EXPECT_TRUE(c.empty()) << c.name;
  w.site.AddAdministered(w.terminal, 5);
  w.site.ReleaseDropoff(w.terminal, 0);
  EXPECT_EQ(flight.buildingWord, 0u);
  EXPECT_EQ(w.terminal->CountOccupiedGateSlots(), 0u);
}

}  // namespace
}  // namespace sitetest
